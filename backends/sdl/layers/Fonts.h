#pragma once

#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "backends/sdl/SdlHandles.h"
#include "platform/Controls.h"

namespace ombrevale {

// The font file that stands for a wanted face.
struct FontMatch {
  std::string family;  // the family fontconfig gave, as it names it first
  std::string file;
  int index = 0;               // the face within the file
  bool syntheticBold = false;  // bold was wanted, the face has none: embolden it when drawing
};

using FontConfigPtr = std::unique_ptr<FcConfig, SdlDeleter<FcConfigDestroy>>;

// The system's fontconfig setup, loaded into a configuration of our own: fontconfig's shared
// default one is never freed, ours goes with its owner.
FontConfigPtr LoadFontConfig();

// Whether fontconfig knows any font at all in `config` (none when `config` is null).
bool KnowsAnyFont(FcConfig* config);

// Finds the face for a family name through fontconfig, walking the fallbacks ourselves:
// fontconfig answers every unknown name with its default sans, so the family it returns is
// checked. First the face itself, then its metric-compatible stand-in where we know one (the
// Japanese gothic faces of Windows have IPA counterparts), then any sans. Nothing when fontconfig
// knows no font at all.
std::optional<FontMatch> MatchFont(std::string_view family, bool bold, FcConfig* config);

// Opens and keeps the fonts the window draws with. Where no font can be opened the window still
// runs, without that text; this is said once on stderr, in one sentence: that the system has no
// font at all, or which face cannot be used.
class Fonts {
 public:
  // With the system's fonts.
  Fonts();
  // With the fonts that `config` knows; it must outlive this object.
  explicit Fonts(FcConfig* config);
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  // The font of a label's face, or nullptr when none can be opened.
  TTF_Font* Open(const Font& face);
  // The font of a family at a pixel size, or nullptr when none can be opened.
  TTF_Font* OpenPixels(std::string_view family, int pixels, bool bold);

 private:
  // SDL_ttf stays started while fonts are open; declared first, so it stops last.
  struct TtfLibrary {
    TtfLibrary();
    ~TtfLibrary();
    TtfLibrary(const TtfLibrary&) = delete;
    TtfLibrary& operator=(const TtfLibrary&) = delete;
    bool started = false;
  };
  TtfLibrary ttf_;
  FontConfigPtr ownConfig_;
  FcConfig* config_;
  std::map<std::tuple<std::string, int, bool>, FontPtr> open_;
  bool complained_ = false;

  void Complain(std::string_view family, std::string_view why);
  void ComplainOnce(const std::string& sentence);
};

}  // namespace ombrevale

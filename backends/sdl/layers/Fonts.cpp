#include "backends/sdl/layers/Fonts.h"

#include <cmath>
#include <memory>
#include <vector>

#include "platform/Complaint.h"
#include "platform/unicode/CaseFold.h"

namespace ombrevale {
namespace {

using PatternPtr = std::unique_ptr<FcPattern, SdlDeleter<FcPatternDestroy>>;

// Stand-ins that draw like the wanted face: same widths, same look.
struct StandIn {
  std::string_view wanted;
  std::string_view family;
};
constexpr StandIn kStandIns[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"MS PGothic", "IPAPGothic"},
    {"ＭＳ ゴシック", "IPAGothic"},    {"MS Gothic", "IPAGothic"},
    {"ＭＳ Ｐ明朝", "IPAPMincho"},     {"MS PMincho", "IPAPMincho"},
    {"ＭＳ 明朝", "IPAMincho"},        {"MS Mincho", "IPAMincho"},
};

// Family names compare as fontconfig compares them: blanks and ASCII case do not count.
bool SameFamily(std::string_view a, std::string_view b) {
  auto fold = [](std::string_view s) {
    std::string out;
    for (char c : s) {
      if (c == ' ') continue;
      out += AsciiLower(c);
    }
    return out;
  };
  return fold(a) == fold(b);
}

// What fontconfig offers for `family`; with `exact`, only a face of that very family.
std::optional<FontMatch> Ask(FcConfig* config, std::string_view family, bool bold, bool exact) {
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return std::nullopt;
  const std::string name(family);
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternPtr found(FcFontMatch(config, pattern.get(), &result));
  if (!found) return std::nullopt;

  FcChar8* file = nullptr;
  if (FcPatternGetString(found.get(), FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
  FontMatch match;
  match.file = reinterpret_cast<const char*>(file);
  bool familyFits = !exact;
  FcChar8* value = nullptr;
  for (int i = 0; FcPatternGetString(found.get(), FC_FAMILY, i, &value) == FcResultMatch; ++i) {
    const std::string_view got = reinterpret_cast<const char*>(value);
    if (i == 0) match.family = got;
    if (SameFamily(got, family)) familyFits = true;
  }
  if (!familyFits) return std::nullopt;

  FcPatternGetInteger(found.get(), FC_INDEX, 0, &match.index);
  int weight = FC_WEIGHT_REGULAR;
  FcPatternGetInteger(found.get(), FC_WEIGHT, 0, &weight);
  // fontconfig's own rules may already have raised the weight and asked for emboldening.
  FcBool embolden = FcFalse;
  FcPatternGetBool(found.get(), FC_EMBOLDEN, 0, &embolden);
  match.syntheticBold = bold && (embolden == FcTrue || weight < FC_WEIGHT_BOLD);
  return match;
}

}  // namespace

bool KnowsAnyFont(FcConfig* config) {
  if (config == nullptr) return false;
  const FcFontSet* fonts = FcConfigGetFonts(config, FcSetSystem);
  return fonts != nullptr && fonts->nfont > 0;
}

FontConfigPtr LoadFontConfig() {
  return FontConfigPtr(FcInitLoadConfigAndFonts());
}

std::optional<FontMatch> MatchFont(std::string_view family, bool bold, FcConfig* config) {
  if (auto match = Ask(config, family, bold, true)) return match;
  for (const StandIn& standIn : kStandIns) {
    if (!SameFamily(standIn.wanted, family)) continue;
    if (auto match = Ask(config, standIn.family, bold, true)) return match;
  }
  return Ask(config, "sans-serif", bold, false);
}

Fonts::TtfLibrary::TtfLibrary() : started(TTF_Init() == 0) {}

Fonts::TtfLibrary::~TtfLibrary() {
  if (started) TTF_Quit();
}

Fonts::Fonts() : ownConfig_(LoadFontConfig()), config_(ownConfig_.get()) {}

Fonts::Fonts(FcConfig* config) : config_(config) {}

TTF_Font* Fonts::Open(const Font& face) {
  return OpenPixels(face.Name, PointsToPixels(face.Points), face.Bold);
}

TTF_Font* Fonts::OpenPixels(std::string_view family, int pixels, bool bold) {
  auto key = std::make_tuple(std::string(family), pixels, bold);
  if (auto it = open_.find(key); it != open_.end()) return it->second.get();
  FontPtr& font = open_[key];  // stays null when nothing can be opened: asked only once
  if (!ttf_.started) {
    ComplainOnce(std::string("cannot draw text (SDL_ttf did not start: ") + SDL_GetError() +
                 "); the window runs without it.");
    return nullptr;
  }
  if (pixels <= 0) {
    Complain(family, "its size is not positive");
    return nullptr;
  }
  if (!KnowsAnyFont(config_)) {
    ComplainOnce(
        "found no font on this system (fontconfig knows none); the window runs "
        "without its text.");
    return nullptr;
  }
  const std::optional<FontMatch> match = MatchFont(family, bold, config_);
  if (!match) {
    Complain(family, "fontconfig offers no face for it");
    return nullptr;
  }
  font.reset(TTF_OpenFontIndex(match->file.c_str(), pixels, match->index));
  if (!font) {
    Complain(family, match->file + ": " + SDL_GetError());
    return nullptr;
  }
  if (match->syntheticBold) TTF_SetFontStyle(font.get(), TTF_STYLE_BOLD);
  return font.get();
}

void Fonts::Complain(std::string_view family, std::string_view why) {
  ComplainOnce("no usable font for \"" + std::string(family) + "\" (" + std::string(why) +
               "); text in that face is left out.");
}

void Fonts::ComplainOnce(const std::string& sentence) {
  if (complained_) return;
  complained_ = true;
  ombrevale::Complain(sentence);
}

}  // namespace ombrevale

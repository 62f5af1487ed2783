// Writes what the web page knows of the program, read from the program's own C++, so that no
// colour, size, status or name is written twice: facts.css, the window's colours and sizes as CSS
// custom properties, and facts.js, for the scripts of the page and of the program: the same sizes,
// the sound's statuses and the product's version (OMBREVALE_FACTS), and the names the page and the
// program say to each other (OMBREVALE_NAMES, backends/web/PageNames.h). The web build compiles it
// with the machine's own compiler and runs it before it assembles the site.
//
//   ombrevale-page-facts SITE_DIR

#include <cstdio>
#include <string>
#include <string_view>

#include "app/Form1.h"
#include "app/Version.h"
#include "backends/web/PageNames.h"
#include "platform/PageLayout.h"
#include "platform/Palette.h"
#include "platform/mci/Mci.h"

namespace ombrevale {
namespace {

struct Colour {
  const char* name;
  Pixel pixel;
};

// The window's colours as the page's style names them.
constexpr Colour kColours[] = {
    {"button-face", kButtonFace},     {"button-highlight", kButtonHighlight},
    {"button-shadow", kButtonShadow}, {"dark-shadow", kDarkShadow},
    {"window-text", kWindowText},     {"active-caption", kActiveCaption},
    {"caption-text", kCaptionText},   {"window-back", Form1::kBackColor},
};

struct Size {
  const char* css;  // the style's name
  const char* js;   // the scripts' name
  int pixels;
};

constexpr Size kSizes[] = {
    {"client-width", "clientWidth", kClientWidth}, {"client-height", "clientHeight", kClientHeight},
    {"menu-height", "menuHeight", kMenuHeight},    {"page-width", "pageWidth", kPageWidth},
    {"page-height", "pageHeight", kPageHeight},    {"page-frame", "pageFrame", kPageFrame},
    {"canvas-width", "canvasWidth", kCanvasWidth}, {"canvas-height", "canvasHeight", kCanvasHeight},
};

constexpr const char* kGenerated =
    "Generated from the program's C++ by tools/ombrevale-page-facts.cpp: edit the C++, not this.";

bool Write(const std::string& path, const std::string& text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && written;
}

std::string Style() {
  std::string text = "/* ";
  text += kGenerated;
  text += " */\n:root {\n";
  char line[96];
  for (const Colour& c : kColours) {
    std::snprintf(line, sizeof line, "  --%s: #%06x;\n", c.name, c.pixel & 0xFFFFFFu);
    text += line;
  }
  for (const Size& s : kSizes) {
    std::snprintf(line, sizeof line, "  --%s: %dpx;\n", s.css, s.pixels);
    text += line;
  }
  return text + "}\n";
}

// The names, one frozen object of frozen groups.
std::string Names() {
  std::string text = "var OMBREVALE_NAMES = Object.freeze({\n";
  for (const page::NameGroup& group : page::kNameGroups) {
    text += "  " + std::string(group.key) + ": Object.freeze({\n";
    for (const page::Name& name : group.names)
      text += "    " + std::string(name.key) + ": '" + std::string(name.value) + "',\n";
    text += "  }),\n";
  }
  return text + "});\n";
}

std::string Script() {
  std::string text = "// ";
  text += kGenerated;
  // Vars, as the page's scripts and the program's both hold them, on one thread where the browser
  // cannot run the program in a worker.
  text += "\nvar OMBREVALE_FACTS = Object.freeze({\n";
  char line[128];
  for (const Size& s : kSizes) {
    std::snprintf(line, sizeof line, "  %s: %d,\n", s.js, s.pixels);
    text += line;
  }
  // The statuses the sound's players answer with.
  std::snprintf(
      line, sizeof line,
      "  mci: Object.freeze({ fileMissing: %d, fileNotPlayable: %d, noAudioDevice: %d }),\n",
      kMciErrFileMissing, kMciErrFileNotPlayable, kMciErrNoAudioDevice);
  text += line;
  text += "  version: '" + std::string(kVersion) + "',\n";
  return text + "});\n" + Names();
}

}  // namespace
}  // namespace ombrevale

int main(int argc, char** argv) {
  using namespace ombrevale;
  if (argc != 2) {
    std::fprintf(stderr, "usage: ombrevale-page-facts SITE_DIR\n");
    return 2;
  }
  const std::string folder = argv[1];
  if (!Write(folder + "/facts.css", Style()) || !Write(folder + "/facts.js", Script())) {
    std::fprintf(stderr, "ombrevale: the page's facts could not be written into %s\n", argv[1]);
    return 1;
  }
  return 0;
}

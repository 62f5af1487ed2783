#pragma once

// The names the page and the program say to each other, said once: the kinds of the page's
// messages to the program, what the program shows on the page, the program's functions the page
// calls, the page's objects the program's calls are relayed to, and the site's files. The facts
// tool (tools/ombrevale-page-facts.cpp) writes them into facts.js as one frozen object,
// OMBREVALE_NAMES, which every script of the site reads; the program's C++ passes these same
// constants. Only the C++ library is used here, as the facts tool is built with the machine's own
// compiler.

#include <span>
#include <string_view>

namespace ombrevale::page {

// A name as the scripts know it (`key`) and what it is (`value`).
struct Name {
  std::string_view key;
  std::string_view value;
};

// What the program shows on the page, each by the name of the page's function that shows it
// (page.js).
inline constexpr char kShowTitle[] = "setTitle";
inline constexpr char kShowMenuEntry[] = "addMenuEntry";
inline constexpr char kShowScale[] = "setScale";
inline constexpr char kShowWindow[] = "show";
inline constexpr char kShowLabel[] = "setLabel";
inline constexpr char kShowPrompt[] = "setPrompt";
inline constexpr char kShowBox[] = "showBox";
inline constexpr char kShowKeyArrived[] = "keyArrived";
inline constexpr char kShowFatalError[] = "fatalError";
// The canvas's name, for screen readers: what it shows, not its changing pixels.
inline constexpr char kShowCanvasName[] = "setCanvasName";
// The session as a replay, to download; the last minute of one that ended on a fatal error, to
// offer; how a replay played, for the console and the page's note.
inline constexpr char kShowSavedReplay[] = "saveReplay";
inline constexpr char kShowLastMinute[] = "offerLastMinute";
inline constexpr char kShowReplayOutcome[] = "replayOutcome";

inline constexpr Name kShows[] = {
    {kShowTitle, kShowTitle},
    {kShowMenuEntry, kShowMenuEntry},
    {kShowScale, kShowScale},
    {kShowWindow, kShowWindow},
    {kShowLabel, kShowLabel},
    {kShowPrompt, kShowPrompt},
    {kShowBox, kShowBox},
    {kShowCanvasName, kShowCanvasName},
    {kShowKeyArrived, kShowKeyArrived},
    {kShowFatalError, kShowFatalError},
    {kShowSavedReplay, kShowSavedReplay},
    {kShowLastMinute, kShowLastMinute},
    {kShowReplayOutcome, kShowReplayOutcome},
};

// The kinds of the page's messages to the program (program.js reads them): the start with the
// page's settings and canvas, the visitor's keys, menu clicks and presses of the prompt's button,
// the page back in view, the version box closed, an answer to a relayed call, the waves starting
// or stopping, a call into the program, a file the page fetched for it, the size a canvas pixel
// is seen at, and the window's shape.
inline constexpr Name kKinds[] = {
    {"start", "start"},     {"key", "key"},         {"menu", "menu"},
    {"prompt", "prompt"},   {"visible", "visible"}, {"boxClosed", "boxClosed"},
    {"relayed", "relayed"}, {"waves", "waves"},     {"call", "call"},
    {"handed", "handed"},   {"shownScale", "shownScale"}, {"shape", "shape"},
};

// The program's functions the page calls (each EMSCRIPTEN_KEEPALIVE, under this name).
inline constexpr Name kCalls[] = {
    {"step", "OmbrevaleStep"},
    {"admitPicture", "OmbrevaleAdmitPicture"},
    {"pictureDecoded", "OmbrevalePictureDecoded"},
    {"pictureUndecodable", "OmbrevalePictureUndecodable"},
    {"mci", "OmbrevaleMci"},
    {"mciReply", "OmbrevaleMciReply"},
    {"playMusic", "OmbrevalePlayMusic"},
    {"musicEnded", "OmbrevaleMusicEnded"},
    {"saveReplay", "OmbrevaleSaveReplay"},
};

// The page's objects that sound, which the program's calls reach from its worker by relay.
inline constexpr Name kObjects[] = {
    {"audio", "OmbrevaleAudio"},
    {"music", "OmbrevaleMusic"},
};

// The site's files the scripts fetch or start.
inline constexpr Name kFiles[] = {
    {"program", "program.js"},
    {"wasm", "ombrevale.wasm"},
    {"pictures", "pictures.tar.gz"},
    {"picturesUncompressed", "pictures.tar"},
    {"serviceWorker", "sw.js"},
    {"soundfont", "sound/TimGM6mb.sf2.gz"},
    {"synth", "music/libfluidsynth-2.4.6.wasm"},
    {"synthScript", "music/libfluidsynth-2.4.6.js"},
    {"synthLoader", "music-synth-loader.js"},
    {"musicProcessor", "music-worklet.js"},
};

// How the program's side is told apart: the name of a worker whose page hands it the files it
// fetched, and the event that says the program's script has run on the page itself.
inline constexpr Name kSignals[] = {
    {"handedWorker", "ombrevale:handed"},
    {"programRan", "ombrevale-program"},
};

struct NameGroup {
  std::string_view key;
  std::span<const Name> names;
};

// Every group, as OMBREVALE_NAMES holds them.
inline constexpr NameGroup kNameGroups[] = {
    {"kind", kKinds},     {"show", kShows}, {"call", kCalls},
    {"object", kObjects}, {"file", kFiles}, {"signal", kSignals},
};

}  // namespace ombrevale::page

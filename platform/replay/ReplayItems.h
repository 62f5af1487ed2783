#pragma once

// What a replay holds: a session told as what the program was told, in the order it was told it.
// The loop's passes, each with the window's events it delivered, the clock's readings, the
// date-time texts and the shown scale the program read, the frames it showed (each with its hash),
// and before the first pass, the window's load: the random generator's seed and the first
// readings. docs/replay.md gives the bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace ombrevale {

// The version of the replay format this program writes and reads.
inline constexpr uint32_t kReplayFormat = 1;

// What was true of the whole session, written before its items.
struct ReplayHeader {
  std::string product;      // "Ombrevale 0.13": a replay plays only on the version that made it
  std::string platform;     // where it was recorded: "linux", "web", "windows", "headless"
  std::string start;        // the local date and time at the start, in the clock's form
  int32_t zoneMinutes = 0;  // the local time's offset from UTC at the start, in minutes
  bool calm = false;        // the vision started calm (the player asked for less motion)
  bool flashLimitOff = false;  // the vision was shown as designed, its flashes not limited
  // Every picture the window loaded, in order, with the hash of its pixels: a replay plays only on
  // the same pictures. A picture the window found missing has no hash.
  struct Picture {
    std::string path;  // as the program names it: "dat/nilu.bmp"
    std::optional<uint64_t> hash;
    bool operator==(const Picture&) const = default;
  };
  std::vector<Picture> pictures;
  bool operator==(const ReplayHeader&) const = default;
};

// The services whose unchanged readings a replay leaves out.
enum class ReplayHeld : uint8_t { Text = 0, Scale = 1 };

// One thing the program was told, or showed.
struct ReplayItem {
  enum class Kind : uint8_t {
    Pass,     // a pass of the loop begins: the window's events are delivered
    Reading,  // the millisecond clock read `value`
    Frame,    // a frame was shown, with its hash (none: shown, not checked)
    Text,     // the date-time text now reads `text`
    Scale,    // the vision is now shown at `scale` reference pixels to a pixel
    Seed,     // the random generator was seeded with `value`
    Key,      // a key went down: `keyCode`, `shift`
    Menu,     // the menu's entry `value` was clicked
    Prompt,   // the prompt's button was pressed
    Close,    // the window was closed
    Box,      // the box the menu opened was closed after `value` milliseconds
    Shape,    // the window now lies `width` x `height` pixels, `fullscreen` or not
    Keep,     // the next `value` readings of `held` read what they read before
  };
  Kind kind = Kind::Pass;
  uint32_t value = 0;
  std::optional<uint64_t> hash;
  std::string text;
  double scale = 1;
  int16_t keyCode = 0, shift = 0;
  uint16_t width = 0, height = 0;
  bool fullscreen = false;
  ReplayHeld held = ReplayHeld::Text;

  bool operator==(const ReplayItem&) const = default;
};

// The items, made with the fields their kind has.
inline ReplayItem Item(ReplayItem::Kind kind, uint32_t value = 0) {
  ReplayItem item;
  item.kind = kind;
  item.value = value;
  return item;
}
inline ReplayItem FrameItem(std::optional<uint64_t> hash) {
  ReplayItem item = Item(ReplayItem::Kind::Frame);
  item.hash = hash;
  return item;
}
inline ReplayItem TextItem(std::string text) {
  ReplayItem item = Item(ReplayItem::Kind::Text);
  item.text = std::move(text);
  return item;
}
inline ReplayItem ScaleItem(double scale) {
  ReplayItem item = Item(ReplayItem::Kind::Scale);
  item.scale = scale;
  return item;
}
inline ReplayItem KeyItem(int16_t keyCode, int16_t shift) {
  ReplayItem item = Item(ReplayItem::Kind::Key);
  item.keyCode = keyCode;
  item.shift = shift;
  return item;
}
inline ReplayItem ShapeItem(uint16_t width, uint16_t height, bool fullscreen) {
  ReplayItem item = Item(ReplayItem::Kind::Shape);
  item.width = width;
  item.height = height;
  item.fullscreen = fullscreen;
  return item;
}
inline ReplayItem KeepItem(ReplayHeld held, uint32_t count) {
  ReplayItem item = Item(ReplayItem::Kind::Keep, count);
  item.held = held;
  return item;
}

// Whether an item is one of the window's events (the player's inputs).
inline bool IsReplayInput(ReplayItem::Kind kind) {
  using K = ReplayItem::Kind;
  return kind == K::Key || kind == K::Menu || kind == K::Prompt || kind == K::Close ||
         kind == K::Box || kind == K::Shape;
}

}  // namespace ombrevale

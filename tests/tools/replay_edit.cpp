// Makes the positive controls of the replay tests from a replay that plays: the same session with
// one input moved one pass later, with one frame's hash changed by a bit, or said to come from
// another version of the program.
//
//   replay_edit IN OUT move-input N     (the Nth input, from 0, into the pass after its own)
//   replay_edit IN OUT change-hash N    (the hash of frame N, from 0)
//   replay_edit IN OUT product TEXT     (the product and version it says it was recorded by)

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/replay/ReplayReader.h"
#include "platform/replay/ReplayWriter.h"

using namespace ombrevale;
using K = ReplayItem::Kind;

namespace {

bool Edit(std::vector<ReplayItem>& items, const std::string& how, size_t n) {
  size_t seen = 0;
  for (size_t i = 0; i < items.size(); ++i) {
    const bool counted = how == "change-hash"
                             ? items[i].kind == K::Frame
                             : IsReplayInput(items[i].kind) && items[i].kind != K::Shape;
    if (!counted || seen++ != n) continue;
    if (how == "change-hash") {
      if (!items[i].hash) return false;
      *items[i].hash ^= 1;
      return true;
    }
    const ReplayItem moved = items[i];
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
    for (size_t j = i; j < items.size(); ++j) {
      if (items[j].kind != K::Pass) continue;
      items.insert(items.begin() + static_cast<std::ptrdiff_t>(j + 1), moved);
      return true;
    }
    return false;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: replay_edit IN OUT move-input|change-hash N | product TEXT\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
  Replay replay = ReadReplay(bytes);
  std::vector<ReplayItem> items;
  ReplayCursor cursor(replay.stream);
  for (ReplayItem item; cursor.Next(item);) items.push_back(item);
  const std::string how = argv[3];
  if (how == "product") {
    replay.header.product = argv[4];
  } else if (!Edit(items, how, std::stoul(argv[4]))) {
    std::fprintf(stderr, "replay_edit: no such %s in %s\n", argv[3], argv[1]);
    return 1;
  }
  ReplayStreamWriter stream;
  for (const ReplayItem& item : items) stream.Add(item);
  const std::vector<uint8_t> out = WriteReplayFile(replay.header, stream);
  std::ofstream(argv[2], std::ios::binary)
      .write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return 0;
}

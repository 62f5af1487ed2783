// Pictures read on a thread of their own while the window is made: each read once, on that
// thread, with a budget of its own; taken in any order; a failure left for the load to read again.

#include "platform/bitmap/PictureReadAhead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/FatalError.h"

namespace ombrevale {
namespace {

// A reader of made-up pictures: each 1 x 1, of a colour of its own path's length, charged to the
// budget as a picture of `width` x `height`; "bad" paths throw. It notes what it read, and where.
struct FakeReader {
  int width = 1, height = 1;
  std::mutex mutex;
  std::map<std::string, int> reads;
  std::vector<std::thread::id> threads;

  PictureReadAhead::Read Read() {
    return [this](const std::string& path, PictureBudget& budget) {
      {
        std::lock_guard lock(mutex);
        ++reads[path];
        threads.push_back(std::this_thread::get_id());
      }
      if (path.starts_with("bad")) throw FatalError(path + ": cannot be read (broken)");
      if (auto refusal = budget.Refusal(path, width, height)) throw FatalError(refusal->why);
      budget.Charge(path, width, height);
      return Surface(1, 1, static_cast<Pixel>(path.size()));
    };
  }
};

TEST(PictureReadAhead, ReadsEachPictureOnceOnItsOwnThreadAndLeavesFailuresToTheLoad) {
  FakeReader reader;
  std::atomic<int> finished = 0;
  std::thread::id finishedOn;
  {
    PictureReadAhead ahead({"a", "bad1", "bbb", "a", "cc", "bad2"}, reader.Read(), [&] {
      finishedOn = std::this_thread::get_id();
      ++finished;
    });
    // Taken in another order than read: each the picture of its path, once.
    EXPECT_EQ(ahead.Take("cc")->At(0, 0), 2u);
    EXPECT_EQ(ahead.Take("a")->At(0, 0), 1u);
    EXPECT_FALSE(ahead.Take("a")) << "taken twice";
    EXPECT_FALSE(ahead.Take("bad1")) << "a failure is for the load to read again";
    EXPECT_FALSE(ahead.Take("other")) << "never read ahead";
    EXPECT_EQ(ahead.Take("bbb")->At(0, 0), 3u);
    EXPECT_FALSE(ahead.Take("bad2"));
  }
  EXPECT_EQ(reader.reads, (std::map<std::string, int>{
                              {"a", 1}, {"bad1", 1}, {"bbb", 1}, {"cc", 1}, {"bad2", 1}}));
  // Every read, and the finish after them, on the one thread that is not the load's.
  EXPECT_EQ(finished, 1);
  EXPECT_NE(finishedOn, std::this_thread::get_id());
  for (const std::thread::id& thread : reader.threads) EXPECT_EQ(thread, finishedOn);
}

TEST(PictureReadAhead, SpendsABudgetOfItsOwnAsLargeAsTheReaders) {
  // Half the budget a picture: two fit, the third is refused and left for the load.
  FakeReader reader;
  reader.width = 4096;
  reader.height = 2048;
  PictureReadAhead ahead({"first", "second", "third"}, reader.Read());
  EXPECT_TRUE(ahead.Take("first"));
  EXPECT_TRUE(ahead.Take("second"));
  EXPECT_FALSE(ahead.Take("third"));
  // Another read-ahead starts with its budget whole.
  PictureReadAhead again({"third"}, reader.Read());
  EXPECT_TRUE(again.Take("third"));
}

TEST(PictureReadAhead, ATakeWaitsForThePictureStillBeingRead) {
  std::atomic<bool> taking = false;
  PictureReadAhead ahead({"slow"}, [&taking](const std::string&, PictureBudget&) {
    // Holds the read until the load has asked for the picture.
    while (!taking) std::this_thread::yield();
    return Surface(2, 2, 7);
  });
  taking = true;
  const std::optional<Surface> slow = ahead.Take("slow");
  ASSERT_TRUE(slow);
  EXPECT_EQ(slow->At(1, 1), 7u);
}

}  // namespace
}  // namespace ombrevale

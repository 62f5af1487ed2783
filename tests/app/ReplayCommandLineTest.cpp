// The replay's options on the command line: a file to record to or to play, never both, and the
// tests' fixed wall clock, which --help does not name.

#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace ombrevale {
namespace {

CommandLine Read(std::vector<std::string_view> args) {
  return ReadCommandLine(args);
}

TEST(ReplayCommandLine, TakesAFileToRecordToOrToPlayAndTheTestsClock) {
  const CommandLine record = Read({"--record", "s.replay", "--calm"});
  EXPECT_EQ(record.ask, CommandLine::Ask::Run);
  EXPECT_EQ(record.record, "s.replay");
  EXPECT_FALSE(record.replay);
  EXPECT_EQ(Read({"--replay=s.replay"}).replay, "s.replay");
  const CommandLine clock = Read({"--clock-start", "2026/12/31 23:59:50"});
  ASSERT_TRUE(clock.clockStart);
  EXPECT_EQ(FormatDateTime(*clock.clockStart), "2026/12/31 23:59:50");

  for (const auto& [args, complaint] :
       std::vector<std::pair<std::vector<std::string_view>, std::string>>{
           {{"--record", "a", "--replay", "b"}, "--record and --replay cannot go together"},
           {{"--replay="}, "option '--replay' requires a file"},
           {{"--record"}, "option '--record' requires an argument"},
           {{"--clock-start=noon"},
            "invalid clock start 'noon': a date and time like '2026/12/31 23:59:30'"}}) {
    const CommandLine line = Read(args);
    EXPECT_EQ(line.ask, CommandLine::Ask::Misuse) << complaint;
    EXPECT_EQ(line.complaint, complaint);
  }
  EXPECT_NE(Usage().find("--replay=FILE"), std::string::npos);
  EXPECT_EQ(Usage().find("--clock-start"), std::string::npos);
}

}  // namespace
}  // namespace ombrevale

#include "app/CommandLine.h"
#include "app/Version.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace ombrevale {
namespace {

CommandLine Read(std::vector<std::string_view> args) {
  return ReadCommandLine(args);
}

struct Answered {
  std::optional<int> status;
  std::string out, err;
};
Answered AnswerTo(std::vector<std::string_view> args) {
  std::ostringstream out, err;
  const auto status = Answer(Read(args), out, err);
  return {status, out.str(), err.str()};
}

TEST(CommandLine, RunsWithTheDataFolderAndFullscreenInEitherSpellingAndOrder) {
  const CommandLine none = Read({});
  EXPECT_EQ(none.ask, CommandLine::Ask::Run);
  EXPECT_FALSE(none.data);
  EXPECT_FALSE(none.fullscreen);

  const CommandLine apart = Read({"--fullscreen", "--data", "/srv/ombrevale"});
  EXPECT_EQ(apart.ask, CommandLine::Ask::Run);
  EXPECT_EQ(apart.data, "/srv/ombrevale");
  EXPECT_TRUE(apart.fullscreen);

  // Joined with "=", the value may hold another "="; the last --data counts; "--" ends options.
  const CommandLine joined = Read({"--data=old", "--data=a=b", "--"});
  EXPECT_EQ(joined.ask, CommandLine::Ask::Run);
  EXPECT_EQ(joined.data, "a=b");
  EXPECT_FALSE(joined.fullscreen);
  // The argument after --data is its value, even when it looks like an option.
  EXPECT_EQ(Read({"--data", "--help"}).data, "--help");
  EXPECT_EQ(Read({"--data="}).data, "");

  const auto ran = AnswerTo({"--fullscreen"});
  EXPECT_FALSE(ran.status);
  EXPECT_EQ(ran.out + ran.err, "");
}

TEST(CommandLine, TheScaleTheCalmStartAndTheFlashLimitAreThePlayersOwnChoice) {
  const CommandLine none = Read({});
  EXPECT_FALSE(none.scale);
  EXPECT_FALSE(none.calm);
  EXPECT_FALSE(none.noFlashLimit);
  const CommandLine all = Read({"--scale", "3", "--no-flash-limit", "--calm"});
  EXPECT_EQ(all.ask, CommandLine::Ask::Run);
  EXPECT_EQ(all.scale, 3);
  EXPECT_TRUE(all.calm);
  EXPECT_TRUE(all.noFlashLimit);
  EXPECT_FALSE(all.fullscreen);
  // The last --scale counts, as for --data.
  EXPECT_EQ(Read({"--scale=1", "--scale=8"}).scale, 8);
}

TEST(CommandLine, HelpAndVersionAnswerOnStdoutWithStatusZeroAndTheFirstOneWins) {
  const auto version = AnswerTo({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "Ombrevale " + std::string(kVersion) + "\n");
  EXPECT_EQ(version.err, "");

  const auto help = AnswerTo({"--fullscreen", "--help", "--bogus"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, Usage());
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("Usage: ombrevale [OPTION]...\n", 0), 0u);
  for (const char* option : {"--calm", "--data=DIR", "--fullscreen", "--no-flash-limit",
                             "--scale=N", "--help", "--version", "flashes", "Alt+F4"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;

  EXPECT_EQ(AnswerTo({"--version", "--help"}).out, "Ombrevale " + std::string(kVersion) + "\n");
  // Mistakes before them are reported instead.
  EXPECT_EQ(AnswerTo({"stray", "--help"}).status, 2);

  // An answer that could not be written (stdout closed or full) is a failure.
  std::ostringstream broken, err;
  broken.setstate(std::ios::badbit);
  EXPECT_EQ(Answer(Read({"--version"}), broken, err), 1);
}

TEST(CommandLine, EveryMistakeIsOneSentenceThenWhereToReadOnStderrWithStatusTwo) {
  const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
      {{"--bogus"}, "unrecognized option '--bogus'"},
      {{"--bogus=1"}, "unrecognized option '--bogus=1'"},
      {{"--data"}, "option '--data' requires an argument"},
      {{"--fullscreen", "--data"}, "option '--data' requires an argument"},
      {{"--fullscreen=yes"}, "option '--fullscreen' doesn't allow an argument"},
      {{"--version=2"}, "option '--version' doesn't allow an argument"},
      {{"-x"}, "invalid option -- 'x'"},
      {{"-h"}, "invalid option -- 'h'"},
      {{"dat"}, "extra operand 'dat'"},
      {{"-"}, "extra operand '-'"},
      {{"--", "--help"}, "extra operand '--help'"},
      {{"--data", "here", "there"}, "extra operand 'there'"},
      {{"--scale"}, "option '--scale' requires an argument"},
      {{"--scale=0"}, "invalid scale '0': a whole number from 1 to 8"},
      {{"--scale", "9"}, "invalid scale '9': a whole number from 1 to 8"},
      {{"--scale=1.5"}, "invalid scale '1.5': a whole number from 1 to 8"},
      {{"--scale="}, "invalid scale '': a whole number from 1 to 8"},
      {{"--calm=no"}, "option '--calm' doesn't allow an argument"},
      // What a mistake quotes reaches the terminal escaped: no byte of it can steer the terminal.
      {{"--\x1b]0;owned\x07"}, "unrecognized option '--\\x1b]0;owned\\x07'"},
      {{"--scale=\r9\n"}, "invalid scale '\\x0d9\\x0a': a whole number from 1 to 8"},
      {{"caf\xc3\xa9\xc2\x9b"}, "extra operand 'caf\xc3\xa9\\xc2\\x9b'"},
      {{"--no-flash-limit=1"}, "option '--no-flash-limit' doesn't allow an argument"},
      {{"--flash-limit"}, "unrecognized option '--flash-limit'"},
  };
  for (const auto& [args, sentence] : cases) {
    const auto answer = AnswerTo(args);
    EXPECT_EQ(answer.status, 2) << sentence;
    EXPECT_EQ(answer.out, "") << sentence;
    EXPECT_EQ(answer.err, "ombrevale: " + sentence + "\nTry 'ombrevale --help'.\n");
  }
}

TEST(CommandLine, TheHelpItPointsToIsTheProgramAsItWasStarted) {
  const char* const started[] = {"build/ombrevale", "--bogus"};
  std::ostringstream out, err;
  EXPECT_EQ(Answer(ReadCommandLine(2, started), out, err), 2);
  EXPECT_EQ(err.str(), "ombrevale: unrecognized option '--bogus'\nTry 'build/ombrevale --help'.\n");
  // A name that could steer the terminal is escaped as well; no name at all is the command's.
  const char* const odd[] = {"\x1b[2Jombrevale", "x"};
  EXPECT_EQ(CommandAsStarted(ReadCommandLine(2, odd)), "\\x1b[2Jombrevale");
  EXPECT_EQ(CommandAsStarted(ReadCommandLine(0, nullptr)), "ombrevale");
}

}  // namespace
}  // namespace ombrevale

#include <gtest/gtest.h>

#include "platform/FatalError.h"
#include "text/MessageP.h"

namespace ombrevale {
namespace {

struct Typewriter {
  TimeAPI time;
  MessageP message{time};
  Label label;
  void Start(const std::string& text) {
    label.Caption = "old";
    message.StartMessage(label, text);
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) message.TypeTick();
  }
};

TEST(Typewriter, OneCharacterOrOneLineBreakPerTickThenTheSlotSwitchesOff) {
  Typewriter t;
  t.Start("ab");
  EXPECT_EQ(t.label.Caption, "");
  EXPECT_EQ(t.time.TimerInterval[1], 200);
  t.Ticks(1);
  EXPECT_EQ(t.label.Caption, "a");
  t.Ticks(1);
  EXPECT_EQ(t.label.Caption, "ab");
  EXPECT_EQ(t.time.TimerInterval[1], 200);
  t.Ticks(1);
  EXPECT_EQ(t.time.TimerInterval[1], 0);
  EXPECT_EQ(t.label.Caption, "ab");

  t.Start("\r\nx");
  t.Ticks(1);
  EXPECT_EQ(t.label.Caption, "\r\n");
  EXPECT_EQ(t.time.MessageLines, 1);
}

TEST(Typewriter, LoneCarriageReturnsAndLineFeedsAreOrdinaryCharacters) {
  Typewriter t;
  t.Start("\n\r|\r");
  t.Ticks(1);
  EXPECT_EQ(t.label.Caption, "\n");
  t.Ticks(1);
  EXPECT_EQ(t.label.Caption, "\n\r");
  t.Ticks(2);
  EXPECT_EQ(t.label.Caption, "\n\r|\r");
  EXPECT_EQ(t.time.MessageLines, 0);
}

TEST(Typewriter, StepsOverWholeUtf8CharactersAndSingleBrokenBytes) {
  Typewriter t;
  t.Start("é時\xF0\x9F\x91\x81\xFFz");
  t.Ticks(1);
  EXPECT_EQ(t.label.Caption, "é");
  t.Ticks(1);
  EXPECT_EQ(t.label.Caption, "é時");
  t.Ticks(1);
  EXPECT_EQ(t.label.Caption, "é時\xF0\x9F\x91\x81");
  t.Ticks(1);
  EXPECT_EQ(t.label.Caption, "é時\xF0\x9F\x91\x81\xFF");
  EXPECT_EQ(FirstCharLength("\xE6\x99"), 1u);  // cut short: one byte at a time
  EXPECT_EQ(FirstCharLength("\xC3z"), 1u);
  EXPECT_EQ(FirstCharLength(""), 0u);
}

TEST(Typewriter, SixLinesArePagedByX) {
  Typewriter t;
  t.Start("1\r\n2\r\n3\r\n4\r\n5\r\n6");
  t.Ticks(8);
  EXPECT_EQ(t.label.Caption, "1\r\n2\r\n3\r\n4\r\n");
  EXPECT_EQ(t.time.MessageLines, 4);
  t.Ticks(5);  // a full page waits, with the slot still on
  EXPECT_EQ(t.label.Caption, "1\r\n2\r\n3\r\n4\r\n");
  EXPECT_EQ(t.time.TimerInterval[1], 200);
  t.message.XPressed();  // clears the page
  EXPECT_EQ(t.label.Caption, "");
  EXPECT_EQ(t.time.MessageLines, 0);
  EXPECT_EQ(t.time.MessageText, "5\r\n6");
  t.Ticks(1);
  EXPECT_EQ(t.label.Caption, "5");
  t.Ticks(2);
  EXPECT_EQ(t.label.Caption, "5\r\n6");
  t.Ticks(1);
  EXPECT_EQ(t.time.TimerInterval[1], 0);
}

TEST(Typewriter, XInMidPageShowsTheRestOfThePageInOneUpdate) {
  Typewriter t;
  t.Start("ab\r\ncd");
  t.Ticks(1);
  t.message.XPressed();  // fewer line breaks left than the page has room for: all of it
  EXPECT_EQ(t.label.Caption, "ab\r\ncd");
  EXPECT_TRUE(t.time.MessageText.empty());
  t.Ticks(1);
  EXPECT_EQ(t.time.TimerInterval[1], 0);

  t.Start("a\r\nb\r\nc\r\nd\r\ne\r\nf");
  t.Ticks(3);            // a, line break, b
  t.message.XPressed();  // up to and including the line break that fills the page
  EXPECT_EQ(t.label.Caption, "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(t.time.MessageLines, 4);
  EXPECT_EQ(t.time.MessageText, "e\r\nf");
}

TEST(Typewriter, TheLastPageStaysStanding) {
  Typewriter t;
  t.Start("a\r\nb\r\nc\r\nd\r\n");
  t.Ticks(8);
  EXPECT_EQ(t.time.MessageLines, 4);
  EXPECT_TRUE(t.time.MessageText.empty());
  t.Ticks(3);
  EXPECT_EQ(t.label.Caption, "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(t.time.TimerInterval[1], 200);  // goes on firing, without effect
}

TEST(Typewriter, TextWithoutALabelIsAFaultNotACrash) {
  TimeAPI time;
  MessageP message(time);
  time.MessageText = "x";
  EXPECT_THROW(message.TypeTick(), FatalError);
  EXPECT_THROW(message.XPressed(), FatalError);
}

}  // namespace
}  // namespace ombrevale

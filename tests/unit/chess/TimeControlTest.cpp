// Time controls as PGN writes them: what is read, what is refused, the text
// written back, the words shown to the player and the period of a side.
#include "chess/TimeControl.h"

#include <gtest/gtest.h>

#include <vector>

using namespace chess;

namespace {

const int REST = 0; // a period without a move count

struct ReadCase {
  const char *text;
  std::vector<TimePeriod> periods;
  const char *written; // ToString of what was read
  const char *words;   // Describe
};

const ReadCase READ[] = {
    {"-", {}, "-", "none"},
    {"", {}, "-", "none"},
    {"300", {{REST, 300000, 0}}, "300", "5 min"},
    {"300+3", {{REST, 300000, 3000}}, "300+3", "5 min + 3 s"},
    {"90", {{REST, 90000, 0}}, "90", "90 s"},
    {"3690+90", {{REST, 3690000, 90000}}, "3690+90", "3690 s + 90 s"},
    {"5400", {{REST, 5400000, 0}}, "5400", "90 min"},
    {"7200+60", {{REST, 7200000, 60000}}, "7200+60", "2 h + 1 min"},
    {"40/5400:1800+30",
     {{40, 5400000, 0}, {REST, 1800000, 30000}},
     "40/5400:1800+30",
     "40 moves in 90 min, then 30 min + 30 s"},
    {"40/7200:20/3600:900+30",
     {{40, 7200000, 0}, {20, 3600000, 0}, {REST, 900000, 30000}},
     "40/7200:20/3600:900+30",
     "40 moves in 2 h, then 20 moves in 1 h, then 15 min + 30 s"},
    {"40/7200", {{40, 7200000, 0}}, "40/7200", "40 moves in 2 h, repeating"},
    {"1/60+5", {{1, 60000, 5000}}, "1/60+5", "1 move in 1 min + 5 s, repeating"},
    // The limits themselves.
    {"1", {{REST, 1000, 0}}, "1", "1 s"},
    {"86400", {{REST, 86400000, 0}}, "86400", "24 h"},
    {"200/60+3600", {{200, 60000, 3600000}}, "200/60+3600", "200 moves in 1 min + 1 h, repeating"},
    // Written plainly: no "+0", no leading zeros.
    {"300+0", {{REST, 300000, 0}}, "300", "5 min"},
    {"040/0300", {{40, 300000, 0}}, "40/300", "40 moves in 5 min, repeating"},
};

TEST(TimeControlTest, ReadsWritesBackAndDescribes) {
  for (const ReadCase &c : READ) {
    TimeControl control;
    std::string reason;
    ASSERT_TRUE(TimeControl::Parse(c.text, control, reason)) << '"' << c.text << "\": " << reason;
    EXPECT_EQ(control.periods, c.periods) << c.text;
    EXPECT_EQ(control.ToString(), c.written) << c.text;
    EXPECT_EQ(control.Describe(), c.words) << c.text;
    TimeControl again;
    ASSERT_TRUE(TimeControl::Parse(control.ToString(), again, reason)) << c.text << ": " << reason;
    EXPECT_EQ(again, control) << c.text;
  }
}

TEST(TimeControlTest, RefusesAndLeavesTheControlAsItWas) {
  const char *const refused[] = {"?",
                                 "*60",
                                 "*",
                                 "0",
                                 "-300",
                                 "86401",
                                 "0/60",
                                 "201/60",
                                 "40/0",
                                 "60+3601",
                                 "60+-1",
                                 "abc",
                                 "300+",
                                 "300+3x",
                                 "300 ",
                                 " 300",
                                 "300.5",
                                 "1e3",
                                 "40//60",
                                 "40/",
                                 "/60",
                                 "+3",
                                 "300:40/60",
                                 "300:600",
                                 "40/5400:",
                                 ":300",
                                 "40/5400::1800",
                                 "40/60:?",
                                 "1800+30:-",
                                 "--",
                                 "99999999999999999999"};
  for (const char *text : refused) {
    TimeControl control;
    control.periods = {{40, 5400000, 30000}};
    const TimeControl before = control;
    std::string reason;
    EXPECT_FALSE(TimeControl::Parse(text, control, reason)) << '"' << text << '"';
    EXPECT_FALSE(reason.empty()) << text;
    EXPECT_EQ(control, before) << text;
  }
}

TEST(TimeControlTest, PeriodAfterMovesMade) {
  const struct {
    const char *control;
    int movesMade;
    size_t period;
  } cases[] = {
      {"300+3", 0, 0},
      {"300+3", 500, 0},
      {"40/5400:20/3600:900", 0, 0},
      {"40/5400:20/3600:900", 39, 0},
      {"40/5400:20/3600:900", 40, 1},
      {"40/5400:20/3600:900", 59, 1},
      {"40/5400:20/3600:900", 60, 2},
      {"40/5400:20/3600:900", 900, 2},
      {"40/5400:20/3600", 60, 1},
      {"40/5400:20/3600", 500, 1},
      {"40/7200", 41, 0},
  };
  for (const auto &c : cases) {
    TimeControl control;
    std::string reason;
    ASSERT_TRUE(TimeControl::Parse(c.control, control, reason)) << reason;
    EXPECT_EQ(control.PeriodAfter(c.movesMade), c.period) << c.control << " after " << c.movesMade;
  }
}

TEST(TimeControlTest, IncrementKindWords) {
  for (IncrementKind kind : {IncrementKind::Fischer, IncrementKind::Bronstein}) {
    IncrementKind read = kind == IncrementKind::Fischer ? IncrementKind::Bronstein : IncrementKind::Fischer;
    ASSERT_TRUE(ParseIncrementKind(IncrementKindName(kind), read)) << IncrementKindName(kind);
    EXPECT_EQ(read, kind);
  }
  IncrementKind kind = IncrementKind::Bronstein;
  for (const char *word : {"", "Fischer", "delay", "bronstein "})
    EXPECT_FALSE(ParseIncrementKind(word, kind)) << word;
  EXPECT_EQ(kind, IncrementKind::Bronstein);
  EXPECT_STREQ(IncrementKindName(IncrementKind::Fischer), "fischer");
  EXPECT_STREQ(IncrementKindName(IncrementKind::Bronstein), "bronstein");
}

} // namespace

// The chess clock on an injected time: increments and delays, periods with a
// move count, the flag, take back, resuming a game from its recorded times,
// and the texts of the faces and of PGN clock comments.
#include "chess/ChessClock.h"
#include "chess/Types.h"

#include <gtest/gtest.h>

#include <vector>

using namespace chess;

namespace {

const int64_t T0 = 1000000; // the time the clocks start at
const IncrementKind FISCHER = IncrementKind::Fischer;
const IncrementKind BRONSTEIN = IncrementKind::Bronstein;

TimeControl Control(const char *text) {
  TimeControl control;
  std::string reason;
  EXPECT_TRUE(TimeControl::Parse(text, control, reason)) << text << ": " << reason;
  return control;
}

struct MovesCase {
  const char *rule, *control;
  IncrementKind kind;
  int64_t atStart;           // both faces after Start
  std::vector<int64_t> used; // time spent on each ply, White first
  std::vector<int64_t> left; // the mover's time after each ply
  int period, movesToGo;     // White's, after the last ply
};

const MovesCase MOVES[] = {
    {"fischer: an increment before move 1 and after each",
     "60+2",
     FISCHER,
     62000,
     {5000, 1000, 0},
     {59000, 63000, 61000},
     0,
     0},
    {"bronstein: back the time used, at most the delay",
     "60+2",
     BRONSTEIN,
     60000,
     {5000, 1000, 2000, 0},
     {57000, 60000, 57000, 60000},
     0,
     0},
    {"next period's time after its last move",
     "2/60:30",
     FISCHER,
     60000,
     {1000, 1000, 1000, 2000, 1000},
     {59000, 59000, 88000, 87000, 87000},
     1,
     0},
    {"a last period with a move count repeats",
     "2/60+1",
     FISCHER,
     61000,
     {1000, 0, 1000, 0, 1000, 0, 1000, 0, 1000},
     {61000, 62000, 121000, 123000, 121000, 124000, 181000, 185000, 181000},
     0,
     1},
    {"the increment of the period the move was made in",
     "1/60+10:30+1",
     FISCHER,
     70000,
     {5000, 0, 5000},
     {105000, 110000, 101000},
     1,
     0},
    {"bronstein across a period",
     "1/60+10:30+1",
     BRONSTEIN,
     60000,
     {15000, 0, 500, 0, 5000},
     {85000, 90000, 85000, 90000, 81000},
     1,
     0},
    {"the third period after two",
     "1/10:1/20:30+5",
     FISCHER,
     10000,
     {1000, 1000, 1000, 1000, 1000},
     {29000, 29000, 58000, 58000, 62000},
     2,
     0},
};

TEST(ChessClockTest, TimeLeftAfterEachMove) {
  for (const MovesCase &c : MOVES) {
    SCOPED_TRACE(c.rule);
    ChessClock clock;
    clock.Start(Control(c.control), c.kind, White, T0);
    EXPECT_EQ(clock.Remaining(White, T0), c.atStart);
    EXPECT_EQ(clock.Remaining(Black, T0), c.atStart);
    int64_t now = T0;
    for (size_t i = 0; i < c.used.size(); ++i) {
      const int mover = i % 2 == 0 ? White : Black;
      ASSERT_EQ(clock.Running(), mover) << "ply " << i;
      now += c.used[i];
      EXPECT_EQ(clock.Remaining(mover, now), clock.FaceOf(mover).remainingMs - c.used[i]) << "ply " << i;
      EXPECT_EQ(clock.Moved(now), c.left[i]) << "ply " << i;
      EXPECT_EQ(clock.LeftAfterPly(i), c.left[i]) << "ply " << i;
      // The mover's clock stands still while the other side's runs.
      EXPECT_EQ(clock.Remaining(mover, now + 700), c.left[i]) << "ply " << i;
    }
    EXPECT_EQ(clock.Plies(), c.used.size());
    EXPECT_EQ(clock.PeriodOf(White), size_t(c.period));
    EXPECT_EQ(clock.MovesToGo(White), c.movesToGo);
  }
}

TEST(ChessClockTest, EngineFiguresFollowThePeriod) {
  ChessClock clock;
  clock.Start(Control("2/600+10:300+5"), FISCHER, White, T0);
  const struct {
    int movesToGo;
    int64_t increment, lowTime;
    size_t period;
  } afterWhiteMoves[] = {{2, 10000, 60000, 0}, {1, 10000, 60000, 0}, {0, 5000, 30000, 1}, {0, 5000, 30000, 1}};
  for (const auto &want : afterWhiteMoves) {
    EXPECT_EQ(clock.MovesToGo(White), want.movesToGo);
    EXPECT_EQ(clock.IncrementOf(White), want.increment);
    EXPECT_EQ(clock.LowTimeMs(White), want.lowTime);
    EXPECT_EQ(clock.PeriodOf(White), want.period);
    clock.Moved(T0);
    clock.Moved(T0);
  }
  // The clock off tells nothing and runs nothing.
  clock.Clear();
  EXPECT_FALSE(clock.IsOn());
  EXPECT_EQ(clock.Running(), ChessClock::NO_SIDE);
  EXPECT_EQ(clock.MovesToGo(White) + clock.IncrementOf(White) + clock.LowTimeMs(White), 0);
  EXPECT_EQ(clock.Moved(T0 + 5), -1);
  EXPECT_EQ(clock.Plies(), 0u);
  clock.Start(TimeControl(), FISCHER, White, T0);
  EXPECT_EQ(clock.Running(), ChessClock::NO_SIDE);
  EXPECT_EQ(clock.Flagged(T0 + 100000000), ChessClock::NO_SIDE);
}

TEST(ChessClockTest, FlagFallsExactlyAtZero) {
  for (IncrementKind kind : {FISCHER, BRONSTEIN}) {
    SCOPED_TRACE(IncrementKindName(kind));
    ChessClock clock;
    clock.Start(Control("60+5"), kind, Black, T0);
    const int64_t zero = T0 + (kind == FISCHER ? 65000 : 60000);
    EXPECT_EQ(clock.Flagged(zero - 1), ChessClock::NO_SIDE);
    EXPECT_EQ(clock.Remaining(Black, zero - 1), 1);
    EXPECT_EQ(clock.Flagged(zero), Black);
    EXPECT_EQ(clock.Remaining(Black, zero), 0);
    EXPECT_EQ(clock.Remaining(Black, zero + 9000), 0);
    EXPECT_EQ(clock.Flagged(zero + 9000), Black);
    // The side not running keeps its time.
    EXPECT_EQ(clock.Remaining(White, zero + 9000), zero - T0);
    // A stopped clock is charged up to the stop and never falls afterwards.
    clock.Stop(T0 + 30000);
    EXPECT_EQ(clock.Running(), ChessClock::NO_SIDE);
    EXPECT_EQ(clock.Remaining(Black, zero + 9000), zero - T0 - 30000);
    EXPECT_EQ(clock.Flagged(zero + 9000), ChessClock::NO_SIDE);
    EXPECT_EQ(clock.Moved(zero), -1);
    EXPECT_EQ(clock.Plies(), 0u);
  }
}

TEST(ChessClockTest, TakeBackAcrossAPeriodRestoresBothFaces) {
  // Each side's second move ends the first period.
  const std::vector<int64_t> used = {3000, 4000, 5000, 6000, 7000};
  for (size_t plies = 1; plies <= used.size() + 1; ++plies) {
    SCOPED_TRACE(plies);
    ChessClock clock;
    clock.Start(Control("2/60+1:30+2"), FISCHER, White, T0);
    std::vector<ChessClock::Face> white, black;
    int64_t now = T0;
    for (int64_t u : used) {
      white.push_back(clock.FaceOf(White));
      black.push_back(clock.FaceOf(Black));
      clock.Moved(now += u);
    }
    const size_t kept = used.size() - std::min(plies, used.size());
    clock.TakeBack(plies, now + 100000);
    EXPECT_EQ(clock.FaceOf(White), white[kept]);
    EXPECT_EQ(clock.FaceOf(Black), black[kept]);
    EXPECT_EQ(clock.Plies(), kept);
    const int mover = kept % 2 == 0 ? White : Black;
    EXPECT_EQ(clock.Running(), mover);
    EXPECT_EQ(clock.PeriodOf(White), kept >= 3 ? 1u : 0u);
    EXPECT_EQ(clock.MovesToGo(Black), kept >= 4 ? 0 : kept >= 2 ? 1 : 2);
    // The side to move runs again from the take back.
    EXPECT_EQ(clock.Remaining(mover, now + 101000), clock.FaceOf(mover).remainingMs - 1000);
  }
  // The faces the take back returns to are the ones the moves started from.
  ChessClock clock;
  clock.Start(Control("2/60+1:30+2"), FISCHER, White, T0);
  clock.Moved(T0 + 3000);
  clock.Moved(T0 + 7000);
  clock.Moved(T0 + 12000);
  clock.TakeBack(1, T0 + 50000);
  EXPECT_EQ(clock.FaceOf(White), (ChessClock::Face{59000, 1}));
  EXPECT_EQ(clock.FaceOf(Black), (ChessClock::Face{58000, 1}));
  EXPECT_EQ(clock.MovesToGo(White), 1);
}

struct ResumeCase {
  const char *rule, *control;
  IncrementKind kind;
  int startSide;
  std::vector<int64_t> left;
  ChessClock::Face white, black;
};

const ResumeCase RESUMES[] = {
    {"every time known", "2/60:30", FISCHER, White, {55000, 58000, 50000, 40000}, {50000, 2}, {40000, 2}},
    {"unknown: the starting time", "60+2", FISCHER, White, {-1, 30000}, {62000, 1}, {30000, 1}},
    {"unknown: the previous value", "2/60:30", FISCHER, White, {55000, -1, 50000, 40000, -1}, {50000, 3}, {40000, 2}},
    {"unknown through a period: its time added",
     "2/60:30",
     FISCHER,
     White,
     {-1, -1, -1, 20000},
     {90000, 2},
     {20000, 2}},
    {"black moved first", "300", BRONSTEIN, Black, {250000, 280000, -1}, {280000, 1}, {250000, 2}},
    {"no ply", "300+5", FISCHER, Black, {}, {305000, 0}, {305000, 0}},
};

TEST(ChessClockTest, ResumeFromRecordedTimes) {
  for (const ResumeCase &c : RESUMES) {
    SCOPED_TRACE(c.rule);
    ChessClock clock;
    clock.Resume(Control(c.control), c.kind, c.startSide, c.left, T0);
    EXPECT_EQ(clock.FaceOf(White), c.white);
    EXPECT_EQ(clock.FaceOf(Black), c.black);
    const int toMove = c.left.size() % 2 == 0 ? c.startSide : OtherColor(c.startSide);
    EXPECT_EQ(clock.Running(), toMove);
    EXPECT_EQ(clock.Remaining(toMove, T0 + 1000), clock.FaceOf(toMove).remainingMs - 1000);
    ASSERT_EQ(clock.Plies(), c.left.size());
    for (size_t i = 0; i < c.left.size(); ++i)
      EXPECT_EQ(clock.LeftAfterPly(i), c.left[i]);
  }
}

TEST(ChessClockTest, TakeBackIntoResumedPlies) {
  ChessClock clock;
  clock.Resume(Control("2/60:30"), FISCHER, White, {55000, -1, 50000, 40000, -1}, T0);
  clock.Moved(T0 + 4000); // Black: 40000 - 4000, in its last period
  clock.TakeBack(4, T0 + 10000);
  // Back to before ply 2: White has made one move, Black one.
  EXPECT_EQ(clock.FaceOf(White), (ChessClock::Face{55000, 1}));
  EXPECT_EQ(clock.FaceOf(Black), (ChessClock::Face{60000, 1}));
  EXPECT_EQ(clock.Running(), White);
  EXPECT_EQ(clock.Plies(), 2u);
  // White's next move completes its first period again.
  EXPECT_EQ(clock.Moved(T0 + 11000), 55000 - 1000 + 30000);
  clock.TakeBack(10, T0 + 20000);
  EXPECT_EQ(clock.FaceOf(White), (ChessClock::Face{60000, 0}));
  EXPECT_EQ(clock.Plies(), 0u);
  EXPECT_EQ(clock.Running(), White);
}

TEST(ChessClockTest, FaceAndCommentTexts) {
  const struct {
    int64_t ms;
    const char *face, *comment;
    int64_t read; // what the comment reads back as
  } cases[] = {
      {100 * 3600000LL, "100:00:00", "[%clk 100:00:00]", 100 * 3600000LL},
      {5400000, "1:30:00", "[%clk 1:30:00]", 5400000},
      {3600000, "1:00:00", "[%clk 1:00:00]", 3600000},
      {3599999, "59:59", "[%clk 0:59:59]", 3599000},
      {297999, "4:57", "[%clk 0:04:57]", 297000},
      {10000, "0:10", "[%clk 0:00:10]", 10000},
      {9999, "0:09.9", "[%clk 0:00:09.9]", 9900},
      {9300, "0:09.3", "[%clk 0:00:09.3]", 9300},
      {1050, "0:01.0", "[%clk 0:00:01.0]", 1000},
      {99, "0:00.0", "[%clk 0:00:00.0]", 0},
      {0, "0:00.0", "[%clk 0:00:00.0]", 0},
  };
  for (const auto &c : cases) {
    EXPECT_EQ(ClockFaceText(c.ms), c.face) << c.ms;
    EXPECT_EQ(ClockComment(c.ms), c.comment) << c.ms;
    int64_t read = -1;
    ASSERT_TRUE(ReadClockComment(ClockComment(c.ms), read)) << c.ms;
    EXPECT_EQ(read, c.read) << c.ms;
  }
  // An unknown time has no comment, and a face never goes below zero.
  EXPECT_EQ(ClockComment(-1), "");
  EXPECT_EQ(ClockFaceText(-5000), "0:00.0");
}

TEST(ChessClockTest, ReadsClockCommentsAmongOthers) {
  const struct {
    const char *comment;
    bool found;
    int64_t ms;
  } cases[] = {
      {"[%clk 0:04:57]", true, 297000},
      {"good move [%eval 0.31] [%clk 1:30:00] then more", true, 5400000},
      {"[%clk 0:00:09.34]", true, 9340},
      {"[%clk 0:00:09.34567]", true, 9345},
      {"[%clk  0:01:00 ]", true, 60000},
      {"[%clkx 0:04:57] [%clk 0:00:05]", true, 5000},
      {"", false, 0},
      {"[%eval 0.3]", false, 0},
      {"%clk 0:04:57", false, 0},
      {"[%clk 0:60:00]", false, 0},
      {"[%clk 0:00:60]", false, 0},
      {"[%clk 0:4:57]", false, 0},
      {"[%clk 0:004:57]", false, 0},
      {"[%clk 4:57]", false, 0},
      {"[%clk 0:04:57", false, 0},
      {"[%clk 0:04:57.]", false, 0},
      {"[%clk -0:04:57]", false, 0},
      {"[%clk 0:04:57x]", false, 0},
      {"[%clk]", false, 0},
  };
  for (const auto &c : cases) {
    int64_t ms = -7;
    EXPECT_EQ(ReadClockComment(c.comment, ms), c.found) << c.comment;
    EXPECT_EQ(ms, c.found ? c.ms : -7) << c.comment;
  }
}

} // namespace

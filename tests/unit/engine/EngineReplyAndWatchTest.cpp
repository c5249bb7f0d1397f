// The engine link's rules without a process: how a line of the engine
// program is read, and when the watch counts the engine as hung or to be
// given up.
#include "engine/CEngineReply.h"
#include "engine/CEngineWatch.h"

#include <gtest/gtest.h>

using Kind = CEngineReply::Kind;

TEST(EngineReply, EachLineIsReadAsWhatItSays) {
  struct Case {
    const char *line;
    Kind kind;
    const char *move;
    const char *fault;
  };
  const Case cases[] = {
      {"bestmove e2e4", Kind::BestMove, "e2e4", ""},
      {"bestmove e7e8n ponder d2d1q", Kind::BestMove, "e7e8n", ""},
      {"bestmove 0000", Kind::NoMove, "0000", ""},
      {"bestmove (none)", Kind::NoMove, "(none)", ""},
      {"bestmove e2e9", Kind::Malformed, "e2e9", "malformed bestmove e2e9"},
      {"bestmove e7e8k", Kind::Malformed, "e7e8k", "malformed bestmove e7e8k"},
      {"bestmove (none", Kind::Malformed, "(none", "malformed bestmove (none"},
      {"bestmove", Kind::Malformed, "", "missing bestmove"},
      {"bestmove ", Kind::Malformed, "", "missing bestmove"},
      {"bestmovee2e4", Kind::Other, "", ""},
      {"info string bestmove e2e4", Kind::Other, "", ""},
      {"info string error illegal move e2e5", Kind::MoveFault, "", "illegal move e2e5"},
      {"info string error malformed bestmove xyz", Kind::MoveFault, "", "malformed bestmove xyz"},
      {"info string error missing bestmove", Kind::MoveFault, "", "missing bestmove"},
      {"info string error Stockfish not found (PATH)", Kind::Unavailable, "", "Stockfish not found (PATH)"},
      {"info string error Stockfish ended 4 times within a minute", Kind::Unavailable, "",
       "Stockfish ended 4 times within a minute"},
      {"readyok", Kind::ReadyOk, "", ""},
      {"info depth 3 currmove e2e4 currmovenumber 1", Kind::Other, "", ""},
      {"info currmove e2e4 currmovenumber 1", Kind::CurrMove, "", ""},
  };
  for (const Case &c : cases) {
    const CEngineReply reply = CEngineReply::Parse(c.line);
    EXPECT_EQ(reply.kind, c.kind) << c.line;
    EXPECT_EQ(reply.move, c.move) << c.line;
    EXPECT_EQ(reply.fault, c.fault) << c.line;
  }
}

TEST(EngineReply, MoveTextsAndSquaresGoBothWays) {
  struct Case {
    BoardSquare from, to;
    bool promoted;
    irr::s32 promotion;
    const char *text;
  };
  const Case cases[] = {
      {{4, 1}, {4, 3}, false, Queen, "e2e4"},  {{0, 6}, {0, 7}, true, Queen, "a7a8q"},
      {{7, 1}, {7, 0}, true, Knight, "h2h1n"}, {{2, 6}, {1, 7}, true, Rook, "c7b8r"},
      {{2, 6}, {2, 7}, true, Bishop, "c7c8b"}, {{2, 6}, {2, 7}, true, Pawn, "c7c8q"},
  };
  for (const Case &c : cases) {
    std::string text;
    ASSERT_TRUE(CEngineReply::MoveText(c.from, c.to, c.promoted, c.promotion, text)) << c.text;
    EXPECT_EQ(text, c.text);
    BoardSquare from, to;
    irr::s32 promotion = -1;
    ASSERT_TRUE(CEngineReply::Squares(text, from, to, promotion)) << c.text;
    EXPECT_EQ(from, c.from) << c.text;
    EXPECT_EQ(to, c.to) << c.text;
    EXPECT_EQ(promotion, c.promoted && c.promotion != Pawn ? c.promotion : Queen) << c.text;
  }
  std::string text;
  EXPECT_FALSE(CEngineReply::MoveText(BoardSquare(8, 1), BoardSquare(4, 3), false, Queen, text));
  BoardSquare from(3, 3), to(5, 5);
  irr::s32 promotion = -1;
  for (const char *bad : {"", "0000", "(none)", "e2e9", "e7e8k", "e2e4qq"}) {
    EXPECT_FALSE(CEngineReply::Squares(bad, from, to, promotion)) << bad;
    EXPECT_EQ(from, BoardSquare(3, 3)) << bad;
  }
}

TEST(EngineReply, TheStatusLineNamesTheFault) {
  EXPECT_EQ(CEngineReply::RestartNotice("illegal move e2e5"),
            L"The engine played an illegal move (e2e5): it was restarted");
  EXPECT_EQ(CEngineReply::RestartNotice("malformed bestmove e9"),
            L"The engine sent a malformed move (e9): it was restarted");
  EXPECT_EQ(CEngineReply::RestartNotice("missing bestmove"), L"The engine sent no move: it was restarted");
}

// The search limit is the think time plus the grace: an answer late in a
// long think is no hang, one past the grace is.
TEST(EngineWatch, TheHangLimitHonoursTheThinkTime) {
  struct Case {
    uint32_t thinkMs, graceMs, answerAfterMs;
    bool hung;
    uint32_t clockMs = 0; // under a clock: the engine's time left, in place of the think time
  };
  const Case cases[] = {
      {2000, 500, 1500, false},                                          // within the think time
      {2000, 500, 2499, false},                                          // within the grace
      {2000, 500, 2500, true},                                           // the limit itself
      {2000, 500, 2600, true},                                           // past the grace
      {500, 500, 1500, true},                                            // the same answer after a short think
      {10000, 6000, 15000, false},     {1000, 500, 20000, false, 30000}, // a long think on the clock
      {1000, 500, 30500, true, 30000},                                   // past its time and the grace
  };
  const uint32_t start = 0xFFFFF000u; // the tick counter wraps meanwhile
  for (const Case &c : cases) {
    CEngineWatch watch;
    watch.Timings().thinkMs = c.thinkMs;
    watch.Timings().searchGraceMs = c.graceMs;
    watch.SearchBegan(start, c.clockMs);
    const std::string overdue = watch.Overdue(start + c.answerAfterMs, false, true);
    EXPECT_EQ(!overdue.empty(), c.hung) << c.thinkMs << " + " << c.graceMs << " at " << c.answerAfterMs;
    if (c.hung) {
      EXPECT_EQ(overdue,
                "no bestmove within " + std::to_string((c.clockMs ? c.clockMs : c.thinkMs) + c.graceMs) + " ms");
    }
    EXPECT_EQ(watch.Overdue(start + c.answerAfterMs, false, false), "") << "no search owed, nothing overdue";
  }
}

TEST(EngineWatch, HandshakeAndFencesHaveLimitsOfTheirOwn) {
  CEngineWatch watch;
  watch.Timings().handshakeMs = 3000;
  watch.Timings().readyMs = 1000;
  watch.HandshakeBegan(100);
  EXPECT_EQ(watch.Overdue(3099, true, false), "");
  EXPECT_EQ(watch.Overdue(3100, true, false), "no uciok within 3000 ms");

  watch.FenceSent(5000);
  watch.FenceSent(5500);
  EXPECT_EQ(watch.Overdue(5999, false, false), "");
  EXPECT_EQ(watch.Overdue(6000, false, false), "no readyok within 1000 ms");
  ASSERT_TRUE(watch.FenceAnswered()); // the older fence closes first
  EXPECT_EQ(watch.Overdue(6000, false, false), "");
  EXPECT_EQ(watch.Overdue(6500, false, false), "no readyok within 1000 ms");
  ASSERT_TRUE(watch.FenceAnswered());
  EXPECT_FALSE(watch.FenceAnswered());
  EXPECT_FALSE(watch.HasOpenFence());
}

TEST(EngineWatch, RestartsAndBrokenAnswersHaveABudgetPerMinute) {
  CEngineWatch watch; // three restarts a minute; the third broken answer gives up
  EXPECT_TRUE(watch.MayRestart(0));
  EXPECT_TRUE(watch.MayRestart(10000));
  EXPECT_TRUE(watch.MayRestart(20000));
  EXPECT_FALSE(watch.MayRestart(59999));
  EXPECT_EQ(watch.RestartsInWindow(59999), 3);
  EXPECT_TRUE(watch.MayRestart(60000)) << "the first restart has left the window";
  EXPECT_FALSE(watch.MayRestart(60001));

  EXPECT_FALSE(watch.MoveFaultGivesUp(0));
  EXPECT_FALSE(watch.MoveFaultGivesUp(30000));
  EXPECT_FALSE(watch.MoveFaultGivesUp(61000)) << "the first fault has left the window";
  EXPECT_TRUE(watch.MoveFaultGivesUp(62000));
}

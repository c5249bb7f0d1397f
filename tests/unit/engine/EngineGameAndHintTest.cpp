// The engine link's parts that keep account without a process: the game the
// engine is told, the player's advice, the handshake, the failure's words and
// the think time read from the environment.
#include "engine/CEngineClock.h"
#include "engine/CEngineFailure.h"
#include "engine/CEngineGame.h"
#include "engine/CEngineHandshake.h"
#include "engine/CEngineHint.h"
#include "engine/CEngineWatch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {
const char *const FEN = "8/4P3/8/8/8/8/k7/7K w - - 0 1";
}

TEST(EngineGame, ThePositionCommandAndHistoryFollowTheStartAndTheMoves) {
  struct Case {
    const char *fen;
    std::vector<std::string> moves;
    const char *command;
    const wchar_t *history;
  };
  const Case cases[] = {
      {"", {}, "position startpos\n", L""},
      {"", {"e2e4", "e7e5"}, "position startpos moves e2e4 e7e5\n", L"e2e4\ne7e5\n"},
      {FEN, {}, "position fen 8/4P3/8/8/8/8/k7/7K w - - 0 1\n", L""},
      {FEN, {"e7e8n"}, "position fen 8/4P3/8/8/8/8/k7/7K w - - 0 1 moves e7e8n\n", L"e7e8n\n"},
  };
  for (const Case &c : cases) {
    CEngineGame game;
    game.Set("", {"d2d4"}); // whatever came before is replaced
    game.Set(c.fen, c.moves);
    EXPECT_EQ(game.PositionCommand(), c.command);
    EXPECT_EQ(game.History(), irr::core::stringw(c.history)) << c.command;
    EXPECT_EQ(game.StartFen(), c.fen);
  }
  CEngineGame game;
  game.Set(FEN, {"e7e8q"});
  game.Add("a2b2");
  EXPECT_EQ(game.PositionCommand(), std::string("position fen ") + FEN + " moves e7e8q a2b2\n");
  EXPECT_EQ(game.History(), irr::core::stringw(L"e7e8q\na2b2\n"));
  game.Clear();
  EXPECT_EQ(game.PositionCommand(), "position startpos\n") << "a new game leaves the start it had";
  EXPECT_TRUE(game.History().empty());
}

// The go line of a search: the plain one without a clock; under one both
// times, the increments and the moves to go when they mean something, the
// side to move's time less what passed since the game set it.
TEST(EngineClock, TheGoLineCarriesTheClock) {
  struct Case {
    int64_t white, black, whiteIncrement, blackIncrement;
    int movesToGo, side;
    uint32_t passedMs;
    const char *go;
  };
  const Case cases[] = {
      {300000, 300000, 0, 0, 0, 0, 0, "go wtime 300000 btime 300000\n"},
      {180000, 175000, 2000, 2000, 0, 1, 1500, "go wtime 180000 btime 173500 winc 2000 binc 2000\n"},
      {5400000, 5300000, 0, 0, 12, 0, 250, "go wtime 5399750 btime 5300000 movestogo 12\n"},
      {900, 60000, 0, 30000, 0, 0, 5000, "go wtime 1 btime 60000 winc 0 binc 30000\n"}, // never below 1 ms
  };
  const uint32_t set = 0xFFFFFF00u; // the tick counter wraps meanwhile
  for (const Case &c : cases) {
    CEngineClock clock;
    EXPECT_EQ(clock.GoCommand(set), "go\n");
    clock.Set(c.white, c.black, c.whiteIncrement, c.blackIncrement, c.movesToGo, c.side, set);
    EXPECT_EQ(clock.GoCommand(set + c.passedMs), c.go);
    clock.Clear();
    EXPECT_EQ(clock.GoCommand(set + c.passedMs), "go\n");
    EXPECT_EQ(clock.TimeLeft(set), 0);
  }
}

// A restarted engine is told the options the game set, each once with its
// latest value; Hash and Ponder are the link's own.
TEST(EngineGame, OptionsKeepTheirOrderAndTheirLatestValue) {
  CEngineGame game;
  game.KeepOption("Skill Level", "5");
  game.KeepOption("Hash", "64");
  game.KeepOption("Move Overhead", "10");
  game.KeepOption("Skill Level", "12");
  game.KeepOption("Ponder", "true");
  game.Clear(); // options outlive the game
  const std::vector<std::pair<std::string, std::string>> expected = {{"Skill Level", "12"}, {"Move Overhead", "10"}};
  EXPECT_EQ(game.Options(), expected);
}

// The first answer after advice was asked for is the advice's, whatever
// became of the advice meanwhile; it is shown only if still wanted and usable.
TEST(EngineHint, TheAdvicesAnswerIsNeverTheEnginesMoveAndShownOnlyWhenWanted) {
  struct Case {
    const char *name;
    bool asked;
    bool cancelled;
    bool forgotten; // a new game or engine came between
    const char *move;
    bool showable;
    bool taken; // the answer is the advice's
    bool shown;
  };
  const Case cases[] = {
      {"advice", true, false, false, "g1f3", true, true, true},
      {"no advice asked for", false, false, false, "g1f3", true, false, false},
      {"cancelled", true, true, false, "g1f3", true, true, false},
      {"forgotten", true, false, true, "g1f3", true, false, false},
      {"behind a fence", true, false, false, "g1f3", false, true, false},
      {"no move", true, false, false, "(none)", true, true, false},
      {"the null move", true, false, false, "0000", true, true, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    CEngineHint hint;
    if (c.asked) {
      EXPECT_EQ(hint.Ask(700), "go movetime 700\n");
      hint.Asked();
      EXPECT_TRUE(hint.IsPending());
    }
    if (c.cancelled) {
      EXPECT_TRUE(hint.Cancel()) << "its search is still running";
    }
    if (c.forgotten)
      hint.Forget();
    EXPECT_EQ(hint.TakeAnswer(c.move, c.showable), c.taken);
    EXPECT_FALSE(hint.IsPending());
    EXPECT_FALSE(hint.TakeAnswer(c.move, c.showable)) << "only the first answer is the advice's";
    BoardSquare from(0, 0), to(0, 0);
    EXPECT_EQ(hint.Fetch(from, to), c.shown);
    if (c.shown) {
      EXPECT_EQ(from.X, 6);
      EXPECT_EQ(from.Y, 0);
      EXPECT_EQ(to.X, 5);
      EXPECT_EQ(to.Y, 2);
    }
    EXPECT_FALSE(hint.Fetch(from, to)) << "advice is given once";
  }
  CEngineHint hint;
  EXPECT_FALSE(hint.Cancel()) << "nothing to stop";
}

TEST(EngineHandshake, TheIdentificationIsBoundedAndARestartCountsOnce) {
  CEngineHandshake handshake;
  handshake.Restarting("no readyok within 8000 ms");
  handshake.NoticeShown(true);
  handshake.Begin();
  EXPECT_FALSE(handshake.Line("id name Abrok"));
  EXPECT_FALSE(handshake.Line(std::string(3000, 'x')));
  EXPECT_TRUE(handshake.Line("uciok"));
  EXPECT_TRUE(handshake.Info().empty()) << "known once the handshake is done";
  handshake.Done();
  EXPECT_EQ(handshake.Info().size(), CEngineHandshake::INFO_LIMIT);
  EXPECT_EQ(handshake.Info().subString(0, 14), irr::core::stringw(L"id name Abrok\n"));
  bool shown = false;
  EXPECT_EQ(handshake.TakeRestart(shown), "no readyok within 8000 ms");
  EXPECT_TRUE(shown);
  EXPECT_EQ(handshake.TakeRestart(shown), "");
  EXPECT_EQ(handshake.RestartCount(), 1);

  handshake.Begin(); // the next handshake starts its text afresh
  handshake.Line("id name Other");
  handshake.Done();
  EXPECT_EQ(handshake.Info(), irr::core::stringw(L"id name Other\n"));
}

// The message box names the engine chosen; only a missing Stockfish asks for
// the package, and only an engine that had played is given up.
TEST(EngineFailure, TheMessageNamesTheEngineAndWhatThePlayerCanDo) {
  struct Case {
    const char *engine;    // ABROK_ENGINE, or null
    const char *stockfish; // ABROK_STOCKFISH, or null
    CEngineFailure::Kind kind;
    bool played;
    const char *message;
  };
  using Kind = CEngineFailure::Kind;
  const Case cases[] = {
      {nullptr, nullptr, Kind::Engine, false,
       "The chess engine Stockfish could not be started: why. Install the Debian package stockfish."},
      {nullptr, "/opt/sf", Kind::Link, true,
       "The chess engine Stockfish (/opt/sf) was given up: why. You can play on as two players, moving both sides."},
      {"", nullptr, Kind::Program, false, "The chess engine Stockfish could not be started: why."},
      {"/opt/mine", "/opt/sf", Kind::Engine, true,
       "The chess engine /opt/mine was given up: why. You can play on as two players, moving both sides."},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.message);
    c.engine ? setenv("ABROK_ENGINE", c.engine, 1) : unsetenv("ABROK_ENGINE");
    c.stockfish ? setenv("ABROK_STOCKFISH", c.stockfish, 1) : unsetenv("ABROK_STOCKFISH");
    CEngineFailure failure;
    failure.Begin();
    unsetenv("ABROK_ENGINE");
    unsetenv("ABROK_STOCKFISH");
    if (c.played)
      failure.EngineReady();
    failure.Set(c.kind, "why");
    EXPECT_EQ(failure.TakeGiveUp(), c.played);
    EXPECT_FALSE(failure.TakeGiveUp()) << "told once";
    std::string text;
    ASSERT_TRUE(failure.TakeMessage(text));
    EXPECT_EQ(text, c.message);
    EXPECT_FALSE(failure.TakeMessage(text)) << "the box is shown once";
    failure.Begin();
    EXPECT_TRUE(failure.TakeMessage(text)) << "a new start may fail again";
  }
}

TEST(EngineWatch, TheThinkTimeComesFromTheEnvironmentWhenItIsSensible) {
  const uint32_t standard = EngineTimings().thinkMs;
  struct Case {
    const char *text; // null: unset
    uint32_t thinkMs;
  };
  const Case cases[] = {{nullptr, standard}, {"1500", 1500},       {"1", 1},
                        {"600000", 600000},  {"600001", standard}, {"0", standard},
                        {"-5", standard},    {"12ms", standard},   {"", standard}};
  for (const Case &c : cases) {
    c.text ? setenv("ABROK_THINK_MS", c.text, 1) : unsetenv("ABROK_THINK_MS");
    EXPECT_EQ(ThinkMsFromEnvironment(), c.thinkMs) << (c.text ? c.text : "unset");
  }
  unsetenv("ABROK_THINK_MS");
}

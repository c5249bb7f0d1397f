// The engine link against the scripted test engine: start-up, handshake,
// commands byte for byte, the per-frame poll and the process faults.
#include "EngineTestSupport.h"

#include <csignal>
#include <sys/wait.h>

using namespace engine_test;

namespace {

const char *const NEW_GAME_SEQUENCE = "\nstop\nsetoption name Hash value 32\nsetoption name Ponder value false\n"
                                      "\nucinewgame\nposition startpos\nisready\n";

// True once nothing is left of the process: it has ended and been reaped.
bool ProcessIsGone(int pid) {
  const bool noProcess = kill(pid, 0) != 0 && errno == ESRCH;
  const bool notOurChild = waitpid(pid, nullptr, WNOHANG) < 0 && errno == ECHILD;
  return noProcess && notOurChild;
}

} // namespace

// --- Start-up and handshake --------------------------------------------------

TEST_F(EngineLinkTest, InitFailsWhenTheEngineCannotBeStarted) {
  // No engine file at all.
  EXPECT_FALSE(app.engine.Init());
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager::Init cannot start ./Abrok_5_0.exe: No such file or directory"));

  // A file that is there but cannot be executed.
  std::ofstream(folder / "Abrok_5_0.exe") << "#!/bin/sh\n";
  fs::permissions(folder / "Abrok_5_0.exe", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(app.engine.Init());
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager::Init cannot start ./Abrok_5_0.exe: Permission denied"));
}

TEST_F(EngineLinkTest, HandshakeKeepsIdentificationWithoutCarriageReturnsAndAsksOnce) {
  // Output written before "uci" is drained and not part of the text.
  ASSERT_TRUE(StartEngine("greeting early noise\\r\\n\n"
                          "reply uci id name Test\\r\\nid author Someone\\r\\nuciok\\r\\n\n"));
  EXPECT_EQ(app.engine.GetEngineInfo(), irr::core::stringw(L"id name Test\nid author Someone\nuciok\n"));
  EXPECT_EQ(SentSoFar(), "uci\n"); // the second call sent nothing
}

TEST_F(EngineLinkTest, HandshakeIsRepeatedOnlyWhileNothingArrived) {
  ASSERT_TRUE(StartEngine("reply uci\nreply uci id name Late\\nuciok\\n\n"));
  // The wait ends with "uciok"; its line feed may still be on the way.
  irr::core::stringw info = app.engine.GetEngineInfo();
  EXPECT_EQ(info.trim(L"\n"), irr::core::stringw(L"id name Late\nuciok"));
  EXPECT_EQ(SentSoFar(), "uci\nuci\n");
}

// --- Commands -------------------------------------------------------------------

TEST_F(EngineLinkTest, ResetSendsTheNewGameSequenceAndClearsTheHistory) {
  ASSERT_TRUE(StartEngine(""));
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
  app.engine.Reset();
  EXPECT_EQ(SentSoFar(), std::string("uci\nisready\ne2e4\n") + NEW_GAME_SEQUENCE);
  EXPECT_TRUE(app.engine.GetMovesHistory().empty());
  EXPECT_FALSE(log->Contains("Kelvar: CCEManager::Reset Error4"));
}

TEST_F(EngineLinkTest, ResetWithoutReadyokLogsError4AndKeepsTheHistory) {
  ASSERT_TRUE(StartEngine("reply isready readyok\\n\nreply isready\n"));
  app.engine.SubmitMove(BoardSquare(6, 0), BoardSquare(5, 2), false);
  app.engine.Reset();
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager::Reset Error4"));
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L"g1f3\n"));
}

TEST_F(EngineLinkTest, SubmitMoveWritesMoveTextsAfterReadyok) {
  ASSERT_TRUE(StartEngine(""));
  struct Case {
    BoardSquare from, to;
    bool promoted;
    const char *text;
  };
  const Case cases[] = {
      {{4, 1}, {4, 3}, false, "e2e4\n"},
      {{0, 6}, {0, 7}, true, "a7a8q\n"},
      {{7, 7}, {0, 0}, false, "h8a1\n"},
  };
  std::string expected = "uci\n";
  std::wstring history;
  for (const Case &c : cases) {
    app.engine.SubmitMove(c.from, c.to, c.promoted);
    expected += std::string("isready\n") + c.text;
    history += std::wstring(c.text, c.text + strlen(c.text));
    EXPECT_TRUE(log->Contains(std::string("Kelvar: ") + c.text)) << c.text;
  }
  EXPECT_TRUE(log->Contains("Kelvar: SubmitMove"));
  EXPECT_EQ(SentSoFar(), expected);
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(history.c_str()));
}

TEST_F(EngineLinkTest, MoveIsNotSentButRecordedWhenTheEngineIsNotReady) {
  ASSERT_TRUE(StartEngine("reply isready\nreply isready\n"));
  app.engine.SubmitMove(BoardSquare(3, 1), BoardSquare(3, 3), false);
  EXPECT_FALSE(app.engine.RequestInitialMove());
  EXPECT_EQ(SentSoFar(), "uci\nisready\nisready\n");
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L"d2d4\n"));
}

TEST_F(EngineLinkTest, RequestInitialMoveWritesGo) {
  ASSERT_TRUE(StartEngine("bestmove d2d4\n"));
  EXPECT_TRUE(app.engine.RequestInitialMove());
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager::RequestInitialMove"));
  BoardSquare from, to;
  ASSERT_TRUE(PollResult(from, to));
  EXPECT_EQ(from, BoardSquare(3, 1));
  EXPECT_EQ(to, BoardSquare(3, 3));
  EXPECT_EQ(SentSoFar(), "uci\nisready\ngo\n");
}

TEST_F(EngineLinkTest, SubmitMoveRefusesSquaresOffTheBoard) {
  ASSERT_TRUE(StartEngine(""));
  app.engine.SubmitMove(BoardSquare(8, 1), BoardSquare(4, 3), false);
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, -1), false);
  EXPECT_EQ(SentSoFar(), "uci\n");
  EXPECT_TRUE(app.engine.GetMovesHistory().empty());
}

// --- Reading --------------------------------------------------------------------

TEST_F(EngineLinkTest, TwentyWaitingBytesAreReadAsNineNineAndTwo) {
  ASSERT_TRUE(StartEngine("reply go abcdefghijklmnopqrst\n"));
  ASSERT_TRUE(app.engine.WriteToEngine("go\n"));
  platform::Sleep(200);
  irr::core::stringc chunk;
  const char *const expected[] = {"abcdefghi", "jklmnopqr", "st"};
  for (const char *piece : expected) {
    ASSERT_TRUE(app.engine.ReadFromEngine(chunk));
    EXPECT_EQ(chunk, irr::core::stringc(piece));
  }
  EXPECT_FALSE(app.engine.ReadFromEngine(chunk));
  EXPECT_EQ(chunk, irr::core::stringc("st"));
}

TEST_F(EngineLinkTest, WritingNothingReportsFailure) {
  ASSERT_TRUE(StartEngine(""));
  EXPECT_FALSE(app.engine.WriteToEngine(""));
  EXPECT_TRUE(app.engine.WriteToEngine("x\n"));
}

TEST_F(EngineLinkTest, FifthCurrmoveLineStopsTheSearchOnce) {
  const std::string line = "info currmove e2e4 currmovenumber 1\\n";
  auto lines = [&](int n) {
    std::string text;
    for (int i = 0; i < n; ++i)
      text += line;
    return text;
  };
  struct Case {
    std::string reply;
    int stops;
  };
  const Case cases[] = {
      {lines(4) + "bestmove a2a3\\n", 0},
      {lines(5) + "bestmove a2a3\\n", 1},
      {lines(6) + "bestmove a2a3\\n", 1}, // the sixth starts a new count
      {lines(10) + "bestmove a2a3\\n", 2},
      {lines(4) + "bestmove a2a3\\n" + lines(4) + "bestmove a2a3\\n", 0}, // a result resets the count
  };
  std::string script;
  for (const Case &c : cases)
    script += "reply go " + c.reply + "\n";
  ASSERT_TRUE(StartEngine(script));

  for (const Case &c : cases) {
    const int before = CountOf(SentSoFar(), "\nstop\n");
    ASSERT_TRUE(app.engine.WriteToEngine("go\n"));
    for (int result = 0; result < CountOf(c.reply, "bestmove"); ++result) {
      BoardSquare from, to;
      ASSERT_TRUE(PollResult(from, to)) << c.reply;
    }
    EXPECT_EQ(CountOf(SentSoFar(), "\nstop\n") - before, c.stops) << c.reply;
  }
}

TEST_F(EngineLinkTest, EngineOutputWithZeroBytesKeepsItsLineFeeds) {
  // A zero byte must not cut the rest of its chunk, line feed included.
  ASSERT_TRUE(StartEngine("reply go \\x00\\nbestmove e2e4\\n\n"));
  ASSERT_TRUE(app.engine.WriteToEngine("go\n"));
  BoardSquare from, to;
  ASSERT_TRUE(PollResult(from, to));
  EXPECT_EQ(from, BoardSquare(4, 1));
  EXPECT_EQ(to, BoardSquare(4, 3));
}

// A wait that consumes the rest of a line the poll had begun must not leave
// its beginning behind: "bestmove " glued to the next line would be misread.
TEST_F(EngineLinkTest, WaitDropsTheHalfLineThePollHadRead) {
  ASSERT_TRUE(StartEngine("reply go bestmove \nbestmove e7e5\n"));
  ASSERT_TRUE(app.engine.RequestInitialMove());
  platform::Sleep(100);
  app.engine.Update(); // reads "bestmove " (nine bytes), no line feed yet
  app.engine.Reset();  // its wait consumes what follows
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
  BoardSquare from, to;
  ASSERT_TRUE(PollResult(from, to));
  EXPECT_EQ(from, BoardSquare(4, 6));
  EXPECT_EQ(to, BoardSquare(4, 4));
}

// --- Process faults -----------------------------------------------------------

TEST_F(EngineLinkTest, EngineDyingMidGameMakesWritesFailAndExitStillCompletes) {
  ASSERT_TRUE(StartEngine("reply move {exit 3}\n"));
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false); // the engine dies on it
  platform::Sleep(100);
  EXPECT_FALSE(app.engine.WriteToEngine("isready\n")); // no SIGPIPE ends this process
  app.engine.SubmitMove(BoardSquare(4, 6), BoardSquare(4, 4), false);
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L"e2e4\ne7e5\n"));
  app.engine.Exit();
  started = false;
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager::Exit WriteToEngine Error"));
}

TEST_F(EngineLinkTest, ExitLeavesNoProcessBehind) {
  struct Case {
    const char *script;
    int minimumMs; // an engine that ignores "quit" gets its full pause
  };
  const Case cases[] = {{"", 0}, {"ignore-quit\n", 500}};
  for (const Case &c : cases) {
    fs::remove(folder / "Abrok_5_0.exe");
    ASSERT_TRUE(StartEngine(c.script));
    const int pid = CCEManagerProbe::EnginePid(app.engine);
    const auto start = std::chrono::steady_clock::now();
    app.engine.Exit();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(ProcessIsGone(pid)) << c.script;
    EXPECT_GE(elapsed, std::chrono::milliseconds(c.minimumMs)) << c.script;
    EXPECT_LT(elapsed, std::chrono::milliseconds(1500)) << c.script;
  }
  started = false;
}

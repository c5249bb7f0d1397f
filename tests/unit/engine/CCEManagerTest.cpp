// The engine link against the scripted test engine: start-up, handshake,
// commands byte for byte, and the faults the link survives by restarting
// its engine: deaths and hangs at every point of the conversation.
#include "EngineTestSupport.h"

#include <csignal>
#include <regex>
#include <sys/wait.h>

using namespace engine_test;
using LinkState = CCEManager::LinkState;

namespace {

const char *const HANDSHAKE_SEQUENCE = "uci\nsetoption name Hash value 32\nsetoption name Ponder value false\n"
                                       "position startpos\nisready\n";
const char *const NEW_GAME_SEQUENCE = "\nstop\n\nucinewgame\nposition startpos\nisready\n";

// True once nothing is left of the process: it has ended and been reaped.
bool ProcessIsGone(int pid) {
  const bool noProcess = kill(pid, 0) != 0 && errno == ESRCH;
  const bool notOurChild = waitpid(pid, nullptr, WNOHANG) < 0 && errno == ECHILD;
  return noProcess && notOurChild;
}

} // namespace

// --- Start-up and handshake --------------------------------------------------

TEST_F(EngineLinkTest, WithoutAnEngineTheProgramGoesOnAndSaysWhatIsMissing) {
  struct Case {
    const char *name;
    std::function<void()> prepare;
    const char *log;
  };
  const Case cases[] = {
      {"no engine file", [] {}, "cannot start ./Abrok_5_0.exe: No such file or directory"},
      {"not executable",
       [this] {
         std::ofstream(folder / "Abrok_5_0.exe") << "#!/bin/sh\n";
         fs::permissions(folder / "Abrok_5_0.exe", fs::perms::owner_read | fs::perms::owner_write);
       },
       "cannot start ./Abrok_5_0.exe: Permission denied"},
  };
  for (const Case &c : cases) {
    app.engine.~CCEManager();
    new (&app.engine) CCEManager();
    c.prepare();
    EXPECT_TRUE(app.engine.Init()) << c.name;
    EXPECT_EQ(app.engine.GetState(), LinkState::Failed) << c.name;
    EXPECT_TRUE(log->Contains(std::string("Kelvar: CCEManager::Init ") + c.log)) << c.name;
    EXPECT_TRUE(
        log->Contains("Kelvar: CCEManager engine unavailable (the engine program ./Abrok_5_0.exe cannot be run"))
        << c.name;
    const std::wstring info = app.engine.GetEngineInfo().c_str();
    EXPECT_EQ(info.rfind(L"The chess engine could not be started: the engine program", 0), 0u) << c.name;

    // The game record still works: moves are kept, nothing is owed.
    app.engine.Reset();
    EXPECT_FALSE(app.engine.RequestInitialMove()) << c.name;
    app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
    EXPECT_FALSE(app.engine.IsSearchPending()) << c.name;
    EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L"e2e4\n")) << c.name;
    app.engine.Update();
  }
}

TEST_F(EngineLinkTest, AnEngineErrorLineInTheHandshakeGivesUpWithItsReason) {
  InstallTestEngine("reply uci id name Abrok\\ninfo string error Stockfish not found (PATH)\\nuciok\\n\n");
  started = true;
  app.engine.Init();
  ASSERT_TRUE(PollUntil([] { return app.engine.GetState() == LinkState::Failed; }));
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager engine unavailable (Stockfish not found (PATH))"));
}

TEST_F(EngineLinkTest, ASlowHandshakeRunsAcrossFramesAndKeepsTheIdentification) {
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(StartEngine("reply uci id name Slow\\r\\n{sleep 700}id author Someone\\r\\nuciok\\r\\n\n"));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(700));
  EXPECT_LT(longestFrame, std::chrono::milliseconds(250)) << "a frame waited for the engine";
  EXPECT_EQ(app.engine.GetEngineInfo(), irr::core::stringw(L"id name Slow\nid author Someone\nuciok\n"));
  EXPECT_EQ(SentSoFar(), HANDSHAKE_SEQUENCE);
}

// --- Commands -------------------------------------------------------------------

TEST_F(EngineLinkTest, ResetSendsTheNewGameSequenceAndClearsTheHistory) {
  ASSERT_TRUE(StartEngine(""));
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
  app.engine.Reset();
  EXPECT_EQ(SentSoFar(), std::string(HANDSHAKE_SEQUENCE) + "e2e4\n" + NEW_GAME_SEQUENCE);
  EXPECT_TRUE(app.engine.GetMovesHistory().empty());
  EXPECT_FALSE(app.engine.IsSearchPending());
}

TEST_F(EngineLinkTest, SubmitMoveWritesMoveTextsAndOwesASearch) {
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
  std::string expected = HANDSHAKE_SEQUENCE;
  std::wstring history;
  for (const Case &c : cases) {
    app.engine.SubmitMove(c.from, c.to, c.promoted);
    expected += c.text;
    history += std::wstring(c.text, c.text + strlen(c.text));
    EXPECT_TRUE(log->Contains(std::string("Kelvar: ") + c.text)) << c.text;
    EXPECT_TRUE(app.engine.IsSearchPending()) << c.text;
  }
  EXPECT_TRUE(log->Contains("Kelvar: SubmitMove"));
  EXPECT_EQ(SentSoFar(), expected);
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(history.c_str()));

  // Squares off the board are refused and change nothing.
  app.engine.SubmitMove(BoardSquare(8, 1), BoardSquare(4, 3), false);
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, -1), false);
  EXPECT_EQ(SentSoFar(), expected); // nothing more was sent
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(history.c_str()));
}

TEST_F(EngineLinkTest, RequestInitialMoveWritesGoAndTheResultArrives) {
  ASSERT_TRUE(StartEngine("bestmove d2d4\n"));
  EXPECT_TRUE(app.engine.RequestInitialMove());
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager::RequestInitialMove"));
  BoardSquare from, to;
  ASSERT_TRUE(PollResult(from, to));
  EXPECT_EQ(from, BoardSquare(3, 1));
  EXPECT_EQ(to, BoardSquare(3, 3));
  EXPECT_FALSE(app.engine.IsSearchPending());
  EXPECT_EQ(SentSoFar(), std::string(HANDSHAKE_SEQUENCE) + "go\n");
}

// Under a clock the engine's reply is asked for in standard UCI, with the
// position and both times; its own move still goes back as a bare line, and
// an engine that dies while it thinks is asked again with the clock.
TEST_F(EngineLinkTest, UnderAClockTheEngineIsToldThePositionAndBothTimes) {
  ASSERT_TRUE(StartEngine("bestmove e7e5\nreply go {exit 3}\n"));
  CEngineClock clock;
  clock.Set(60000, 61000, 1000, 1000, 0, 1, platform::GetTickCount());
  app.engine.SetClock(clock);
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
  BoardSquare from, to;
  ASSERT_TRUE(PollResult(from, to));
  app.engine.HandBackMove(from, to, false);
  const std::string sent = SentSoFar();
  EXPECT_TRUE(std::regex_search(sent, std::regex("^" + std::string(HANDSHAKE_SEQUENCE) +
                                                 "position startpos moves e2e4\ngo wtime 60000 btime 6[01][0-9]{3} "
                                                 "winc 1000 binc 1000\ne7e5\n$")))
      << sent;
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager go wtime 60000 btime 6"));

  // The engine opens a game on the clock, dies, and the new one is asked with it.
  clock.Set(30000, 30000, 0, 0, 40, 0, platform::GetTickCount());
  app.engine.SetClock(clock);
  EXPECT_TRUE(app.engine.SendPosition({}));
  SetScript("reply go bestmove d2d4\\n\n");
  ASSERT_TRUE(app.engine.RequestInitialMove());
  ASSERT_TRUE(PollResult(from, to, 10000));
  EXPECT_EQ(from, BoardSquare(3, 1));
  EXPECT_TRUE(std::regex_search(Transcript(), std::regex("position startpos\nisready\ngo wtime [0-9]+ btime 30000 "
                                                         "movestogo 40\n$")))
      << Transcript();
}

// A think time set in the settings (up to 10 s) is what the watch allows a
// search, unless the environment fixes the engine program's time.
TEST_F(EngineLinkTest, TheWatchAllowsTheThinkTimeTheGameSets) {
  ASSERT_TRUE(StartEngine(""));
  unsetenv("ABROK_THINK_MS");
  app.engine.SendOption("Think Time", "10000");
  EXPECT_EQ(CCEManagerProbe::Timings(app.engine).thinkMs, 10000u);
  setenv("ABROK_THINK_MS", "2000", 1);
  app.engine.SendOption("Think Time", "500");
  EXPECT_EQ(CCEManagerProbe::Timings(app.engine).thinkMs, 10000u) << "the environment's time holds";
  unsetenv("ABROK_THINK_MS");
}

TEST_F(EngineLinkTest, SendPositionReplacesTheMovesAndDropsTheSearchUnderWay) {
  // The search's late answer comes before the fence's readyok and is dropped.
  ASSERT_TRUE(StartEngine("reply move {sleep 200}bestmove e7e5\\n\n"));
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
  EXPECT_TRUE(app.engine.SendPosition({"d2d4", "d7d5"}));
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L"d2d4\nd7d5\n"));
  EXPECT_FALSE(app.engine.IsSearchPending());
  BoardSquare from, to;
  EXPECT_FALSE(PollResult(from, to, 800));
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager dropped a result nothing asked for"));
  EXPECT_EQ(SentSoFar(),
            std::string(HANDSHAKE_SEQUENCE) + "e2e4\n\nstop\nposition startpos moves d2d4 d7d5\nisready\n");
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
  };
  std::string script;
  for (const Case &c : cases)
    script += "reply go " + c.reply + "\n";
  ASSERT_TRUE(StartEngine(script));

  for (const Case &c : cases) {
    const int before = CountOf(SentSoFar(), "\nstop\n");
    ASSERT_TRUE(app.engine.RequestInitialMove());
    BoardSquare from, to;
    ASSERT_TRUE(PollResult(from, to)) << c.reply;
    EXPECT_EQ(CountOf(SentSoFar(), "\nstop\n") - before, c.stops) << c.reply;
  }
}

// --- Faults -------------------------------------------------------------------

// Each case makes the first engine process fail at one point of a game; the
// processes after it are healthy. The link must restart the engine, tell it
// the game and, if it owed a move, get that move, with the history intact.
TEST_F(EngineLinkTest, DeathsAndHangsAtEveryPointEndWithTheGameGoingOn) {
  struct Case {
    const char *name;
    const char *faultyScript;
    bool handBack;      // the fault comes after the engine's reply, at its hand-back
    const char *replay; // what the new process must be told
  };
  const Case cases[] = {
      {"death before the handshake", "reply uci {exit 1}\n", false, "position startpos moves e2e4\nisready\ngo\n"},
      {"hang before the handshake", "reply uci\n", false, "position startpos moves e2e4\nisready\ngo\n"},
      {"death after readyok", "reply isready readyok\\n{exit 4}\n", false,
       "position startpos moves e2e4\nisready\ngo\n"},
      {"hang on readyok", "reply isready\n", false, "position startpos moves e2e4\nisready\ngo\n"},
      {"death during a search", "reply move {exit 3}\n", false, "position startpos moves e2e4\nisready\ngo\n"},
      {"hang during a search", "reply move info depth 1\\n\n", false, "position startpos moves e2e4\nisready\ngo\n"},
      {"death during the hand-back", "bestmove e7e5\nreply echo {exit 3}\n", true,
       "position startpos moves e2e4 e7e5\nisready\ngo\n"},
      {"hang during the hand-back", "bestmove e7e5\nreply echo\n", true,
       "position startpos moves e2e4 e7e5\nisready\ngo\n"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(folder / "Abrok_5_0.exe");
    fs::remove(folder / "transcript");
    app.engine.~CCEManager();
    new (&app.engine) CCEManager();
    InstallTestEngine(c.faultyScript);
    EngineTimings &timings = CCEManagerProbe::Timings(app.engine);
    timings.handshakeMs = 1500;
    timings.readyMs = 1500;
    timings.thinkMs = 0;
    timings.searchGraceMs = 1500;
    started = true;
    longestFrame = std::chrono::microseconds(0);
    app.engine.Init();
    // The first process has read its script once it notes its first line.
    ASSERT_TRUE(PollUntil([&] { return Transcript().find("uci\n") != std::string::npos; }));
    SetScript("reply go bestmove g8f6\\n\nreply go bestmove g8f6\\n\n");

    app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
    BoardSquare from, to;
    if (c.handBack) {
      ASSERT_TRUE(PollResult(from, to));
      ASSERT_EQ(from, BoardSquare(4, 6));
      app.engine.SubmitMove(from, to, false);
    }
    ASSERT_TRUE(PollResult(from, to, 10000));
    EXPECT_EQ(from, BoardSquare(6, 7));
    EXPECT_EQ(to, BoardSquare(5, 5));
    EXPECT_EQ(app.engine.GetRestartCount(), 1);
    EXPECT_TRUE(log->Contains("Kelvar: CCEManager engine restarted ("));
    ASSERT_NE(app.gui.GetStatusText(), nullptr);
    EXPECT_STREQ(app.gui.GetStatusText()->getText(), L"Engine restarted");
    EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(c.handBack ? L"e2e4\ne7e5\n" : L"e2e4\n"));
    const std::string sent = Transcript();
    EXPECT_EQ(CountOf(sent, "uci\n"), 2) << sent;
    EXPECT_TRUE(EndsWith(sent, c.replay)) << sent;
    EXPECT_LT(longestFrame, std::chrono::milliseconds(250)) << "a frame waited for the engine";
    const int pid = CCEManagerProbe::EnginePid(app.engine);
    app.engine.Exit();
    EXPECT_TRUE(ProcessIsGone(pid));
  }
  started = false;
}

TEST_F(EngineLinkTest, AnEngineThatKeepsDyingIsGivenUpAfterThreeRestarts) {
  ASSERT_TRUE(StartEngine("reply move {exit 3}\n"));
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
  ASSERT_TRUE(PollUntil([] { return app.engine.GetState() == LinkState::Failed; }, 15000));
  EXPECT_EQ(app.engine.GetRestartCount(), 3);
  EXPECT_TRUE(
      log->Contains("Kelvar: CCEManager engine unavailable (the engine program failed 4 times within a minute"));
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L"e2e4\n"));
  EXPECT_FALSE(app.engine.RequestInitialMove());
}

TEST_F(EngineLinkTest, GarbageAndEndlessLinesNeitherBreakTheLinkNorPlayAMove) {
  const std::string endless(100000, 'x');
  ASSERT_TRUE(StartEngine("reply move \\x00\\xff\\x01garbage\\r\\n" + endless + " bestmove e2e4\\n" +
                          "bestmovee7e5\\ninfo string bestmove d7d5\\nbestmove e7e5\\n\n"));
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
  BoardSquare from, to;
  ASSERT_TRUE(PollResult(from, to));
  EXPECT_EQ(from, BoardSquare(4, 6));
  EXPECT_EQ(to, BoardSquare(4, 4));
  EXPECT_EQ(app.engine.GetRestartCount(), 0);
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager dropped 1 over-long engine line(s)"));
}

TEST_F(EngineLinkTest, EngineDyingMidGameMakesWritesFailAndExitStillCompletes) {
  ASSERT_TRUE(StartEngine("reply move {exit 3}\n"));
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false); // the engine dies on it
  // Once the engine has gone, a write fails and no SIGPIPE ends this process.
  // How soon it goes depends on the machine's load: keep writing until then.
  bool writeFailed = false;
  for (int i = 0; i < 250 && !writeFailed; ++i) {
    writeFailed = !app.engine.WriteToEngine("isready\n");
    if (!writeFailed)
      platform::Sleep(20);
  }
  EXPECT_TRUE(writeFailed);
  app.engine.Exit();
  started = false;
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager::Exit WriteToEngine Error"));
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L"e2e4\n"));
}

TEST_F(EngineLinkTest, ExitLeavesNoProcessBehindWhateverTheEnginesState) {
  struct Case {
    const char *name;
    const char *script;
    bool stopped;  // the engine is frozen with SIGSTOP
    int minimumMs; // an engine that ignores "quit" gets its full pause
  };
  const Case cases[] = {
      {"answering", "", false, 0},
      {"ignoring quit", "ignore-quit\n", false, 500},
      {"frozen", "", true, 500},
      {"mid-handshake", "reply uci {sleep 5000}uciok\\n\nignore-quit\n", false, 500},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(folder / "Abrok_5_0.exe");
    app.engine.~CCEManager();
    new (&app.engine) CCEManager();
    InstallTestEngine(c.script);
    app.engine.Init();
    // An engine that has answered everything: none of its replies is on the way.
    const auto readyLines = [&] { return std::count(log->Lines().begin(), log->Lines().end(), "Kelvar: readyok"); };
    const auto before = readyLines();
    if (!strstr(c.script, "uciok")) {
      ASSERT_TRUE(PollUntil([&] { return readyLines() > before; }));
    }
    const int pid = CCEManagerProbe::EnginePid(app.engine);
    ASSERT_GT(pid, 0);
    if (c.stopped)
      kill(pid, SIGSTOP);
    const auto start = std::chrono::steady_clock::now();
    app.engine.Exit();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(ProcessIsGone(pid));
    EXPECT_GE(elapsed, std::chrono::milliseconds(c.minimumMs));
    EXPECT_LT(elapsed, std::chrono::milliseconds(1500));
  }
}

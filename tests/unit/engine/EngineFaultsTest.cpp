// The engine link when its engine answers with a move it must not play, and
// what is left of an engine once the game has quit: the scripted test engine
// as the engine program, and the real engine program driving a scripted
// engine through ABROK_ENGINE.
#include "EngineTestSupport.h"

#include <csignal>
#include <sys/wait.h>

using namespace engine_test;
using LinkState = CCEManager::LinkState;

namespace {

const char *const REPLAY = "position startpos moves e2e4\nisready\ngo\n";

// The live (not zombie) processes of a process group, from the process table.
std::vector<int> LiveMembersOf(int pgid) {
  std::vector<int> members;
  for (const auto &entry : fs::directory_iterator("/proc")) {
    const std::string stat = ReadWholeFile(entry.path() / "stat");
    const size_t close = stat.rfind(')'); // the command name may hold blanks
    if (close == std::string::npos)
      continue;
    std::istringstream fields(stat.substr(close + 1));
    std::string state;
    int parent = 0, group = 0;
    if (fields >> state >> parent >> group && group == pgid && state != "Z")
      members.push_back(std::stoi(entry.path().filename().string()));
  }
  return members;
}

// Reads a number a script wrote into a file, waiting up to five seconds for it.
int AwaitNumberIn(const fs::path &file) {
  for (int i = 0; i < 500; ++i) {
    const std::string text = ReadWholeFile(file);
    if (!text.empty() && text.back() == '\n')
      return std::stoi(text);
    platform::Sleep(10);
  }
  return -1;
}

class EngineFaultTest : public EngineLinkTest {
protected:
  // A fresh link on the test engine with this script for its first process
  // and short limits; later processes follow the script set afterwards.
  void StartFaulty(const std::string &faultyScript) {
    if (started)
      app.engine.Exit();
    fs::remove(folder / "Abrok_5_0.exe");
    fs::remove(folder / "transcript");
    app.engine.~CCEManager();
    new (&app.engine) CCEManager();
    InstallTestEngine(faultyScript);
    EngineTimings &timings = CCEManagerProbe::Timings(app.engine);
    timings.handshakeMs = 3000;
    timings.readyMs = 1500;
    timings.thinkMs = 0;
    timings.searchGraceMs = 3000;
    started = true;
    app.engine.Init();
    // The first process has read its script once it notes its first line.
    ASSERT_TRUE(PollUntil([&] { return Transcript().find("uci\n") != std::string::npos; }));
  }

  // Starts the log capture afresh for the next case.
  void FreshLog() {
    log.reset();
    log = std::make_unique<testing_support::LogCapture>(app.device);
  }

  long LinesEqual(const std::string &line) const { return std::count(log->Lines().begin(), log->Lines().end(), line); }
};

} // namespace

// Whether the engine program reports the broken answer or the link finds it
// itself, the move is never played: the fault is logged and shown, the
// engine started afresh, told the game and asked again.
TEST_F(EngineFaultTest, ABrokenAnswerIsNeverPlayedAndTheEngineIsAskedAgain) {
  struct Case {
    const char *name;
    const char *reply; // the first engine process's answer to e2e4
    bool gameRefuses;  // the answer is a move: the game finds it illegal
    const char *fault;
    const wchar_t *notice;
  };
  const Case cases[] = {
      {"the program reports an illegal move", "info string error illegal move e7e4\\n", false, "illegal move e7e4",
       L"The engine played an illegal move (e7e4): it was restarted"},
      {"the program reports a missing move", "info string error missing bestmove\\n", false, "missing bestmove",
       L"The engine sent no move: it was restarted"},
      {"a malformed move", "bestmove e7e9\\n", false, "malformed bestmove e7e9",
       L"The engine sent a malformed move (e7e9): it was restarted"},
      {"no move in the line", "bestmove\\n", false, "missing bestmove", L"The engine sent no move: it was restarted"},
      {"an illegal move the game refuses", "bestmove e7e4\\n", true, "illegal move e7e4",
       L"The engine played an illegal move (e7e4): it was restarted"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    StartFaulty(std::string("reply move ") + c.reply + "\n");
    SetScript("reply go bestmove g8f6\\n\n");
    app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
    BoardSquare from, to;
    if (c.gameRefuses) {
      ASSERT_TRUE(PollResult(from, to));
      ASSERT_EQ(to, BoardSquare(4, 3)) << "e7e4 is handed out as it came";
      app.engine.RejectResult();
    }
    ASSERT_TRUE(PollResult(from, to));
    EXPECT_EQ(from, BoardSquare(6, 7));
    EXPECT_EQ(to, BoardSquare(5, 5));
    EXPECT_EQ(LinesEqual(std::string("Kelvar: CCEManager engine fault (") + c.fault + ")"), 1);
    ASSERT_NE(app.gui.GetStatusText(), nullptr);
    EXPECT_EQ(std::wstring(app.gui.GetStatusText()->getText()), c.notice);
    EXPECT_EQ(app.engine.GetRestartCount(), 1);
    EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L"e2e4\n"));
    const std::string sent = Transcript();
    EXPECT_EQ(CountOf(sent, "uci\n"), 2) << sent;
    EXPECT_TRUE(EndsWith(sent, REPLAY)) << sent;
    FreshLog();
  }
}

TEST_F(EngineFaultTest, TheThirdBrokenAnswerWithinAMinuteGivesTheEngineUp) {
  setenv("ABROK_ENGINE", "/opt/engines/broken", 1); // the engine the player chose
  StartFaulty("reply move bestmove e7e9\\n\n");     // every process answers so
  unsetenv("ABROK_ENGINE");
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
  ASSERT_TRUE(PollUntil([] { return app.engine.GetState() == LinkState::Failed; }, 15000));
  EXPECT_EQ(LinesEqual("Kelvar: CCEManager engine fault (malformed bestmove e7e9)"), 3);
  EXPECT_EQ(app.engine.GetRestartCount(), 2);
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager engine unavailable (its answers broke the rules 3 times within a "
                            "minute (malformed bestmove e7e9))"));
  EXPECT_EQ(CCEManagerProbe::FailureMessage(app.engine),
            "The chess engine /opt/engines/broken was given up: its answers broke the rules 3 times within a minute "
            "(malformed bestmove e7e9). You can play on as two players, moving both sides.");
  EXPECT_TRUE(app.engine.TakeGiveUp());
  EXPECT_FALSE(app.engine.TakeGiveUp()) << "told once";
  EXPECT_FALSE(app.engine.IsSearchPending());
  EXPECT_EQ(app.engine.GetMovesHistory(), irr::core::stringw(L"e2e4\n"));
}

// An answer late in a long think is no hang; one past the think time and
// the grace is, and the engine is started afresh.
TEST_F(EngineFaultTest, TheHangLimitHonoursTheThinkTime) {
  struct Case {
    int answerMs;
    int restarts;
  };
  const Case cases[] = {{1500, 0}, {2600, 1}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.answerMs);
    StartFaulty("reply move {sleep " + std::to_string(c.answerMs) + "}bestmove e7e5\\n\n");
    SetScript("reply go bestmove g8f6\\n\n");
    ASSERT_TRUE(PollUntil([] { return app.engine.GetState() == LinkState::Ready; }));
    EngineTimings &timings = CCEManagerProbe::Timings(app.engine);
    timings.thinkMs = 2000;
    timings.searchGraceMs = 500;
    app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
    BoardSquare from, to;
    ASSERT_TRUE(PollResult(from, to, 10000));
    EXPECT_EQ(app.engine.GetRestartCount(), c.restarts);
    EXPECT_EQ(to, c.restarts ? BoardSquare(5, 5) : BoardSquare(4, 4));
    EXPECT_EQ(log->Contains("Kelvar: CCEManager engine fault (no bestmove within 2500 ms)"), c.restarts == 1);
    FreshLog();
  }
}

// The message box names the engine the player chose, and only a missing
// Stockfish is answered with the package to install.
TEST_F(EngineFaultTest, TheFailureMessageNamesTheEngineChosen) {
  struct Case {
    const char *name;
    const char *variable; // set for the start
    const char *value;
    bool withProgram; // the engine program is in the folder
    const char *message;
  };
  const Case cases[] = {
      {"a UCI engine that is not there", "ABROK_ENGINE", "/nonexistent/engine", true,
       "The chess engine /nonexistent/engine could not be started: no engine at ABROK_ENGINE=/nonexistent/engine."},
      {"Stockfish not where it was said to be", "ABROK_STOCKFISH", "/nonexistent/stockfish", true,
       "The chess engine Stockfish (/nonexistent/stockfish) could not be started: Stockfish not found at "
       "ABROK_STOCKFISH=/nonexistent/stockfish. Install the Debian package stockfish."},
      {"the engine program missing", "ABROK_ENGINE", "/opt/engines/mine", false,
       "The chess engine /opt/engines/mine could not be started: the engine program ./Abrok_5_0.exe cannot be run "
       "(No such file or directory)."},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    fs::current_path(c.withProgram ? fs::path(KELVAR_RUN_DIR) : folder);
    app.engine.~CCEManager();
    new (&app.engine) CCEManager();
    setenv(c.variable, c.value, 1);
    started = true;
    app.engine.Init();
    unsetenv(c.variable);
    ASSERT_TRUE(PollUntil([] { return app.engine.GetState() == LinkState::Failed; }, 20000));
    EXPECT_EQ(CCEManagerProbe::FailureMessage(app.engine), c.message);
    EXPECT_FALSE(app.engine.TakeGiveUp()) << "no engine ever played: nothing was given up";
    app.engine.Exit();
  }
}

// An engine that never answers "uci" and starts a process of its own (both
// ignoring SIGTERM): the engine program waits for it, the game quits
// meanwhile, and nothing of either is left running.
TEST_F(EngineFaultTest, AnEngineThatNeverAnswersAndForksLeavesNothingBehind) {
  const fs::path script = folder / "silent-engine";
  std::ofstream(script) << "#!/bin/sh\n"
                           "trap '' TERM\n"
                           "echo $$ > "
                        << (folder / "engine.pid").string()
                        << ".tmp\nsleep 600 &\n"
                           "echo $! > "
                        << (folder / "child.pid").string() << "\nmv " << (folder / "engine.pid").string() << ".tmp "
                        << (folder / "engine.pid").string() << "\nexec sleep 600\n";
  fs::permissions(script, fs::perms::owner_all);
  fs::current_path(KELVAR_RUN_DIR);
  setenv("ABROK_ENGINE", script.c_str(), 1);
  started = true;
  app.engine.Init();
  unsetenv("ABROK_ENGINE");
  const int engine = AwaitNumberIn(folder / "engine.pid");
  const int child = AwaitNumberIn(folder / "child.pid");
  ASSERT_GT(engine, 0);
  ASSERT_GT(child, 0);
  const int program = CCEManagerProbe::EnginePid(app.engine);
  EXPECT_EQ(getpgid(program), program) << "the engine program leads a group of its own";
  EXPECT_EQ(getpgid(engine), engine) << "so does its engine";
  EXPECT_EQ(getpgid(child), engine) << "the engine's own process is in the engine's group";
  EXPECT_EQ(app.engine.GetState(), LinkState::Handshake);

  app.engine.Exit();
  started = false;
  bool gone = false;
  for (int i = 0; i < 300 && !gone; ++i) {
    gone = LiveMembersOf(engine).empty() && LiveMembersOf(program).empty();
    if (!gone)
      platform::Sleep(10);
  }
  EXPECT_TRUE(gone) << "left in the engine's group: " << LiveMembersOf(engine).size();
  EXPECT_TRUE(kill(program, 0) != 0 && errno == ESRCH) << "the engine program is gone and reaped";
}

// The engine program Abrok_5_0.exe with the real Stockfish: its board
// tracking, its answers to bad input, and games played through the link;
// and its strength settings without a process: the engine options each level
// sets, and the weakened choice among candidates.
#include "EngineTestSupport.h"

#include "bridge/CCandidateLines.h"
#include "bridge/CLevelPlan.h"
#include "bridge/CStockfish.h"
#include "chess/Position.h"

#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <map>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

using namespace engine_test;

namespace {

const char *const BRIDGE = KELVAR_RUN_DIR "/Abrok_5_0.exe";

std::string SquareText(const BoardSquare &square) { return {char('a' + square.X), char('1' + square.Y)}; }

// Kind and colour of the piece on a square of the position; false if empty.
bool PieceOn(const chess::Position &position, const BoardSquare &square, int &type, int &color) {
  return position.PieceAt(chess::Square(square.X, square.Y), type, color);
}

// Plays a move in UCI text; false if it is not legal.
bool Play(chess::Position &position, const std::string &text) {
  chess::Move move;
  return chess::Move::FromUci(text, move) && position.Play(move);
}

const std::set<std::string> STOCKFISH_OPTIONS = {"Hash",    "Threads", "MultiPV", "Skill Level", "UCI_LimitStrength",
                                                 "UCI_Elo", "Ponder"};
const std::set<std::string> ETHEREAL_OPTIONS = {"Hash", "Threads", "MultiPV", "Ponder", "UCI_Chess960"};

std::map<std::string, std::string> OptionMap(const CLevelPlan &plan) {
  return {plan.options.begin(), plan.options.end()};
}

// The bridge on two pipes, its standard error in a file.
class BridgeSession {
public:
  explicit BridgeSession(const char *thinkMs) {
    char pattern[] = "/tmp/kelvar-bridge-err-XXXXXX";
    const int file = mkstemp(pattern);
    errorPath = pattern;
    // The child takes this process's standard error: point it at the file
    // for as long as the start takes.
    const int saved = dup(STDERR_FILENO);
    dup2(file, STDERR_FILENO);
    close(file);
    setenv("ABROK_THINK_MS", thinkMs, 1);
    started = child.Start(BRIDGE);
    unsetenv("ABROK_THINK_MS");
    dup2(saved, STDERR_FILENO);
    close(saved);
  }
  ~BridgeSession() {
    child.ClosePipes();
    child.Stop(3000);
    remove(errorPath.c_str());
  }

  void Send(const std::string &line) { child.Write((line + "\n").data(), line.size() + 1); }

  // The next line of output, or "(none)" if none came within timeoutMs.
  std::string ReadLine(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const size_t end = pending.find('\n');
      if (end != std::string::npos) {
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 1);
        return line;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !child.WaitForOutput(int(left.count())))
        return "(none)";
      char buffer[256];
      pending.append(buffer, child.Read(buffer, sizeof(buffer)));
      if (child.OutputEnded())
        return "(none)";
    }
  }

  std::string Errors() const { return ReadWholeFile(errorPath); }

  // Waits for the bridge to have started Stockfish (slow on a loaded machine).
  bool WaitReady() {
    Send("isready");
    return ReadLine(20000) == "readyok";
  }

  platform::ChildProcess child;
  bool started = false;
  std::string errorPath;
  std::string pending;
};

const std::regex BARE_BESTMOVE("bestmove [a-h][1-8][a-h][1-8]q?");

// The processes whose parent is pid, from the process table.
std::vector<int> ChildrenOf(int parentPid) {
  std::vector<int> children;
  for (const auto &entry : fs::directory_iterator("/proc")) {
    std::ifstream stat(entry.path() / "stat");
    std::string pid, name, state, parent;
    if (stat >> pid >> name >> state >> parent && parent == std::to_string(parentPid))
      children.push_back(std::stoi(pid));
  }
  return children;
}

// Kills the bridge's Stockfish with SIGKILL; false if it has none.
bool KillStockfishOf(int bridgePid) {
  const std::vector<int> children = ChildrenOf(bridgePid);
  if (children.size() != 1)
    return false;
  kill(children[0], SIGKILL);
  return true;
}

} // namespace

// --- Board tracking --------------------------------------------------------------

// The bridge follows the game itself, with or without an engine: a move is
// taken only if it is legal after the moves before it. A move that is legal
// only when a capture, castling or promotion was carried out right, and one
// that is illegal only then, show what the bridge's position holds.
TEST(BridgeBoard, FollowsCapturesCastlingAndPromotion) {
  struct Case {
    const char *name;
    std::string start;   // "startpos" or "fen <FEN>"
    std::string moves;   // each one legal
    std::string refused; // illegal after them; empty for none
  };
  const std::string castlingFen = "fen r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
  const std::string promotion = "b2b4 a7a5 b4a5 b7b6 a5b6 c8b7 b6c7 b8c6";
  const Case cases[] = {
      {"en passant takes the pawn passed", "startpos", "e2e4 a7a6 e4e5 d7d5 e5d6", "d5d4"},
      {"black en passant", "startpos", "a2a3 d7d5 a3a4 d5d4 e2e4 d4e3", "e4e5"},
      {"en passant only right after the double step", "startpos", "e2e4 a7a6 e4e5 d7d5 a2a3 a6a5", "e5d6"},
      {"en passant square of a FEN", "fen 4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1", "e5d6", "d5d4"},
      {"a FEN without castling and en-passant fields", "fen 4k3/8/8/8/8/8/4P3/4K3 w", "e2e4 e8d8", "e4e6"},
      {"an ordinary capture", "startpos", "e2e4 d7d5 e4d5 d8d5", "e4e5"},
      {"white castles king side: the rook jumps to f1", "startpos",
       "e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1g1 a7a6 f1e1 a6a5 g1h1", ""},
      {"black castles queen side: the rook jumps to d8", "startpos",
       "d2d4 d7d5 c1f4 c8f5 b1c3 b8c6 d1d2 d8d7 a2a3 e8c8 a3a4 d7e6 a4a5", "a8b8"},
      {"a moved rook ends its own side's castling", castlingFen, "h1h2 a8a7 e1c1", "e8c8"},
      {"a moved rook ends its own side's castling, king side", castlingFen, "h1h2 a8a7", "e1g1"},
      {"no castling across an attacked square", "fen 4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1", "e1c1", ""},
      {"no castling across an attacked square, the other side", "fen 4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1", "", "e1g1"},
      {"no castling out of check", "fen 4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 1", "", "e1c1"},
      {"promotion to the piece named: a knight gives no check", "startpos", promotion + " c7d8n a8a7", ""},
      {"promotion to a queen gives check", "startpos", promotion + " c7d8q", "a8a7"},
      {"a promotion needs its piece", "startpos", promotion, "c7d8"},
      {"no promotion to a king", "startpos", promotion, "c7d8k"},
      {"no promotion letter on another move", "startpos", "", "e2e4q"},
  };
  setenv("ABROK_STOCKFISH", "/nonexistent/stockfish", 1); // no engine is needed
  BridgeSession bridge("200");
  unsetenv("ABROK_STOCKFISH");
  ASSERT_TRUE(bridge.started);
  int refusals = 0;
  for (const Case &c : cases) {
    std::string line = "position " + c.start;
    if (!c.moves.empty() || !c.refused.empty())
      line += " moves " + c.moves + (c.moves.empty() || c.refused.empty() ? "" : " ") + c.refused;
    bridge.Send(line);
    refusals += !c.refused.empty();
  }
  ASSERT_TRUE(bridge.WaitReady());
  const std::string errors = bridge.Errors();
  EXPECT_EQ(CountOf(errors, "is not legal after"), refusals) << errors;
  for (const Case &c : cases) {
    if (c.refused.empty())
      continue;
    const std::string after = c.start == "startpos" ? (c.moves.empty() ? "startpos" : c.moves)
                                                    : c.start + (c.moves.empty() ? "" : " moves " + c.moves);
    EXPECT_NE(errors.find("move " + c.refused + " is not legal after \"" + after + "\"; ignored\n"), std::string::npos)
        << c.name << "\n"
        << errors;
  }
}

// --- The program on its pipes -----------------------------------------------------

TEST(Bridge, BadInputIsReportedAndIgnored) {
  BridgeSession bridge("200");
  ASSERT_TRUE(bridge.started);
  for (const char *line :
       {"", "   ", "\r", "hello there", "e9e4", "E2E4", "e2e", "e7e8k", "e7e8qq", "e2e4 e7e5",
        "position fen 8/8/8/8/8/8/8/8 w - - 0 1", "stop", "e2e5", "position startpos moves e2e4 e2e4"})
    bridge.Send(line);
  EXPECT_TRUE(bridge.WaitReady()); // nothing was answered before it

  // The game stands after the last good move: black is to move.
  bridge.Send("d7d5");
  EXPECT_TRUE(std::regex_match(bridge.ReadLine(3000), BARE_BESTMOVE));

  const std::string errors = bridge.Errors();
  EXPECT_EQ(CountOf(errors, "\n"), 10) << errors; // one line per bad line, none for empty ones
  // Only a move in UCI text is played; anything else is an unknown command.
  for (const char *unknown : {"hello there", "e9e4", "E2E4", "e2e", "e7e8k", "e7e8qq", "e2e4 e7e5"})
    EXPECT_NE(errors.find(std::string("unknown command ignored: ") + unknown + "\n"), std::string::npos) << errors;
  EXPECT_NE(errors.find("position fen refused (White has 0 kings, not one)"), std::string::npos) << errors;
  EXPECT_NE(errors.find("move e2e5 is not legal after \"startpos\""), std::string::npos) << errors;
  EXPECT_NE(errors.find("move e2e4 is not legal after \"e2e4\""), std::string::npos) << errors;
}

TEST(Bridge, PlaysOnFromAFenPosition) {
  BridgeSession bridge("200");
  ASSERT_TRUE(bridge.started);
  ASSERT_TRUE(bridge.WaitReady());
  // Only the black king can move after e2e4; a refused move keeps the game.
  bridge.Send("position fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves e2e4 e4e5");
  bridge.Send("go");
  const std::string answer = bridge.ReadLine(5000);
  EXPECT_TRUE(std::regex_match(answer, std::regex("bestmove e8[df][78]|bestmove e8e7"))) << answer;
  EXPECT_TRUE(bridge.WaitReady());
  const std::string errors = bridge.Errors();
  EXPECT_NE(errors.find("move e4e5 is not legal after \"fen 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1 moves e2e4\""),
            std::string::npos)
      << errors;
}

TEST(Bridge, AnswersIsreadyWhileSearchingAndGivesOneBestmoveAfterStop) {
  BridgeSession bridge("20000");
  ASSERT_TRUE(bridge.started);
  // Full strength has no depth limit: the search runs for the whole think
  // time (a depth-limited level may end within milliseconds, before
  // "isready" arrives).
  bridge.Send("setoption name Level value 8");
  ASSERT_TRUE(bridge.WaitReady());
  bridge.Send("position startpos");
  bridge.Send("go");
  bridge.Send("isready");
  EXPECT_EQ(bridge.ReadLine(3000), "readyok"); // long before the search would end
  bridge.Send("stop");
  EXPECT_TRUE(std::regex_match(bridge.ReadLine(5000), BARE_BESTMOVE));
  bridge.Send("stop"); // nothing runs: ignored
  bridge.Send("isready");
  EXPECT_EQ(bridge.ReadLine(3000), "readyok");
}

TEST(Bridge, EndOfInputEndsTheBridgeAndStockfish) {
  BridgeSession bridge("200");
  ASSERT_TRUE(bridge.started);
  ASSERT_TRUE(bridge.WaitReady()); // Stockfish runs by now
  const std::vector<int> children = ChildrenOf(bridge.child.Pid());
  ASSERT_EQ(children.size(), 1u);

  const int pid = bridge.child.Pid();
  bridge.child.ClosePipes();
  int status = -1;
  for (int i = 0; i < 300 && waitpid(pid, &status, WNOHANG) == 0; ++i)
    platform::Sleep(10);
  ASSERT_TRUE(WIFEXITED(status)) << "the bridge did not end by itself";
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_FALSE(fs::exists("/proc/" + std::to_string(children[0]))) << "Stockfish outlived the bridge";
}

// Stockfish killed during a search is started again and the search with it:
// the front end gets its answer as if nothing had happened. The fourth death
// within a minute is reported as an error line, and "isready" still answered.
TEST(Bridge, RestartsAKilledStockfishAndGivesUpOnTheFourthDeathInAMinute) {
  BridgeSession bridge("1500");
  ASSERT_TRUE(bridge.started);
  // Full strength searches for the whole think time, so the kill lands mid-search.
  bridge.Send("setoption name Level value 8");
  ASSERT_TRUE(bridge.WaitReady());
  bridge.Send("e2e4");
  platform::Sleep(300);
  ASSERT_TRUE(KillStockfishOf(bridge.child.Pid()));
  EXPECT_TRUE(std::regex_match(bridge.ReadLine(20000), BARE_BESTMOVE));
  EXPECT_NE(bridge.Errors().find("Stockfish has ended; starting it again"), std::string::npos) << bridge.Errors();

  // The game goes on in the restarted Stockfish: a legal reply to d2d4 too.
  bridge.Send("position startpos moves e2e4 e7e5");
  bridge.Send("d2d4");
  EXPECT_TRUE(std::regex_match(bridge.ReadLine(20000), BARE_BESTMOVE));

  for (int death = 2; death <= 4; ++death) {
    ASSERT_TRUE(bridge.WaitReady()) << death;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!KillStockfishOf(bridge.child.Pid()) && std::chrono::steady_clock::now() < deadline)
      platform::Sleep(50);
    platform::Sleep(200);
  }
  std::string line;
  for (int i = 0; i < 10 && (line = bridge.ReadLine(20000)).rfind("info string error", 0) != 0;)
    ++i;
  EXPECT_EQ(line, "info string error Stockfish ended 4 times within a minute");
  bridge.Send("isready");
  EXPECT_EQ(bridge.ReadLine(3000), "readyok");
}

TEST(Bridge, WithoutStockfishItSaysWhatToInstall) {
  setenv("ABROK_STOCKFISH", "/nonexistent/stockfish", 1);
  BridgeSession bridge("200");
  unsetenv("ABROK_STOCKFISH");
  ASSERT_TRUE(bridge.started);
  bridge.Send("uci");
  std::string text;
  for (std::string line; (line = bridge.ReadLine(2000)) != "(none)" && line != "uciok";)
    text += line + "\n";
  EXPECT_NE(text.find("info string error Stockfish not found at ABROK_STOCKFISH=/nonexistent/stockfish\n"),
            std::string::npos)
      << text;
  bridge.Send("e2e4");
  bridge.Send("isready");
  EXPECT_EQ(bridge.ReadLine(2000), "readyok");
  EXPECT_NE(bridge.Errors().find("install the Debian package 'stockfish'"), std::string::npos) << bridge.Errors();
}

TEST(Bridge, UnderPromotionsAreLeftToTheEngineAndPassedOn) {
  // A stand-in for Stockfish that writes down what it is told and always
  // answers with Black's under-promotion to a knight.
  char pattern[] = "/tmp/kelvar-fakefish-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string folder = pattern, script = folder + "/stockfish", told = folder + "/told.txt";
  std::ofstream(script) << "#!/bin/sh\n"
                           "while read -r line; do\n"
                           "  echo \"$line\" >> "
                        << told
                        << "\n"
                           "  case \"$line\" in\n"
                           "    uci) echo 'id name Stand-in'; echo uciok ;;\n"
                           "    isready) echo readyok ;;\n"
                           "    go*) echo 'bestmove h2h1n' ;;\n"
                           "  esac\n"
                           "done\n";
  fs::permissions(script, fs::perms::owner_all);
  setenv("ABROK_STOCKFISH", script.c_str(), 1);
  BridgeSession bridge("200");
  unsetenv("ABROK_STOCKFISH");
  ASSERT_TRUE(bridge.started);
  ASSERT_TRUE(bridge.WaitReady());
  bridge.Send("position fen 8/P7/8/8/8/2k5/7p/4K3 w - - 0 1");
  bridge.Send("a7a8r"); // the game's move, with its own under-promotion
  EXPECT_EQ(bridge.ReadLine(5000), "bestmove h2h1n");
  const std::string commands = ReadWholeFile(told);
  EXPECT_NE(commands.find("go movetime"), std::string::npos) << commands;
  EXPECT_EQ(commands.find("searchmoves"), std::string::npos) << commands;
  fs::remove_all(folder);
}

// --- Through the engine link ----------------------------------------------------------

class BridgeGameTest : public EngineLinkTest {
protected:
  // Starts the link on the real engine program with this think time.
  bool StartBridge(const char *thinkMs) {
    fs::current_path(KELVAR_RUN_DIR);
    setenv("ABROK_THINK_MS", thinkMs, 1);
    started = true;
    app.engine.Init();
    unsetenv("ABROK_THINK_MS");
    // On a loaded machine Stockfish takes seconds to start; the frames go on.
    return PollUntil([] { return app.engine.GetState() == CCEManager::LinkState::Ready; }, 30000);
  }
};

TEST_F(BridgeGameTest, HandshakeNamesTheBridgeAndStockfish) {
  ASSERT_TRUE(StartBridge("200"));
  const std::wstring info = app.engine.GetEngineInfo().c_str(); // asked again if start-up missed it
  EXPECT_EQ(info.rfind(L"id name Abrok 5.0\n", 0), 0u);
  EXPECT_NE(info.find(L"Stockfish"), std::wstring::npos);
  // The wait ends as soon as "uciok" is in; its line feed may come after.
  EXPECT_EQ(info.substr(info.rfind(L"\nuciok")), info.back() == L'\n' ? L"\nuciok\n" : L"\nuciok");
  EXPECT_NE(info.find(L"option name Level type spin default 3 min 1 max 8\n"), std::wstring::npos);
}

TEST_F(BridgeGameTest, RepliesWithALegalMoveAndAnswersTheHandBackAtOnce) {
  ASSERT_TRUE(StartBridge("3000"));
  app.engine.Reset();
  app.engine.SubmitMove(BoardSquare(4, 1), BoardSquare(4, 3), false);
  BoardSquare from, to;
  ASSERT_TRUE(PollResult(from, to, 8000));

  chess::Position board;
  ASSERT_TRUE(Play(board, "e2e4"));
  const std::string reply = SquareText(from) + SquareText(to);
  int type = 0, color = 0;
  EXPECT_TRUE(PieceOn(board, from, type, color) && color == chess::Black) << reply << " is not a black move";
  const bool pawnStep = from.X == to.X && from.Y == 6 && (to.Y == 5 || to.Y == 4);
  const bool knightJump = from.Y == 7 && to.Y == 5 && abs(from.X - to.X) == 1 && (from.X == 1 || from.X == 6);
  EXPECT_TRUE(pawnStep || knightJump) << reply;

  const auto start = std::chrono::steady_clock::now();
  app.engine.SubmitMove(from, to, false);
  ASSERT_TRUE(PollResult(from, to, 8000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000)) << "hand-back answered slowly";
}

// Both sides come from the engine: the human plays the answers to the
// hand-backs. Any move the bridge found illegal would go unanswered.
TEST_F(BridgeGameTest, AShortGameStaysInStep) {
  ASSERT_TRUE(StartBridge("100"));
  app.engine.Reset();
  chess::Position board;
  BoardSquare from(4, 1), to(4, 3);
  for (int turn = 0; turn < 8; ++turn) {
    for (bool white : {true, false}) {
      int type = 0, color = 0;
      ASSERT_TRUE(PieceOn(board, from, type, color) && color == (white ? chess::White : chess::Black))
          << "turn " << turn << ": " << SquareText(from) << " holds no piece of the side to move";
      const bool promoted = type == chess::Pawn && (to.Y == 7 || to.Y == 0);
      app.engine.SubmitMove(from, to, promoted);
      ASSERT_TRUE(Play(board, SquareText(from) + SquareText(to) + (promoted ? "q" : "")))
          << "turn " << turn << ": " << SquareText(from) << SquareText(to);
      ASSERT_TRUE(PollResult(from, to, 8000)) << "turn " << turn << ": no answer";
    }
  }
}

// --- Any UCI engine behind the bridge -------------------------------------------------

// The bridge driving the scripted test engine as its UCI engine: the test
// engine knows no "go perft" and plays the moves its script queues.
class ScriptedEngineBridge : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kelvar-bridge-engine-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    bridge.reset();
    fs::remove_all(folder);
  }

  // Starts the bridge on the test engine with this script (the transcript
  // of what the engine was sent is added).
  void Start(const std::string &script) {
    std::ofstream(folder / "script") << "transcript " << (folder / "transcript").string() << "\n" << script;
    setenv("ABROK_ENGINE", KELVAR_TEST_ENGINE, 1);
    setenv("KELVAR_TEST_ENGINE_SCRIPT", (folder / "script").c_str(), 1);
    bridge = std::make_unique<BridgeSession>("300");
    unsetenv("ABROK_ENGINE");
    unsetenv("KELVAR_TEST_ENGINE_SCRIPT");
    ASSERT_TRUE(bridge->started);
    ASSERT_TRUE(bridge->WaitReady());
  }

  std::string Transcript() const { return ReadWholeFile(folder / "transcript"); }

  fs::path folder;
  std::unique_ptr<BridgeSession> bridge;
};

// The engine offers Stockfish's strength options: each level sets them, and
// only the values that change are sent again.
TEST_F(ScriptedEngineBridge, LevelOptionIsListedAndSetsTheEngineOptions) {
  Start("reply uci id name Scripted\\noption name Skill Level type spin default 20 min 0 max 20\\n"
        "option name UCI_LimitStrength type check default false\\n"
        "option name UCI_Elo type spin default 1350 min 1350 max 2850\\n"
        "option name MultiPV type spin default 1 min 1 max 500\\nuciok\\n\n"
        "bestmove e2e4 e2e4 e2e4 e2e4\n");
  bridge->Send("uci");
  std::string answer;
  for (std::string line; (line = bridge->ReadLine(3000)) != "(none)" && line != "uciok";)
    answer += line + "\n";
  EXPECT_NE(answer.find("option name Level type spin default 3 min 1 max 8\n"), std::string::npos) << answer;
  EXPECT_NE(answer.find("engine Scripted"), std::string::npos) << answer;

  const char *const expected[] = {
      // the default level, Casual
      "setoption name UCI_LimitStrength value true\nsetoption name Skill Level value 20\n"
      "setoption name MultiPV value 1\nsetoption name UCI_Elo value 1470\nposition startpos\ngo movetime 300\n",
      // Beginner: full skill, several lines, a depth of 1
      "setoption name UCI_LimitStrength value false\nsetoption name MultiPV value 6\n"
      "position startpos\ngo movetime 300 depth 1\n",
      // Master: a rating
      "setoption name UCI_LimitStrength value true\nsetoption name MultiPV value 1\n"
      "setoption name UCI_Elo value 2795\nposition startpos\ngo movetime 300\n",
      // Full strength
      "setoption name UCI_LimitStrength value false\nposition startpos\ngo movetime 300\n",
  };
  const int levels[] = {0, 1, 7, 8};
  for (int i = 0; i < 4; ++i) {
    const size_t before = Transcript().size();
    if (levels[i])
      bridge->Send("setoption name Level value " + std::to_string(levels[i]));
    bridge->Send("position startpos");
    bridge->Send("go");
    EXPECT_EQ(bridge->ReadLine(3000), "bestmove e2e4") << "level " << levels[i];
    EXPECT_EQ(Transcript().substr(before), expected[i]) << "level " << levels[i];
  }
  for (const char *bad : {"setoption name Level value 0", "setoption name Level value 9",
                          "setoption name Level value x", "setoption name Think Time value 5"})
    bridge->Send(bad);
  EXPECT_TRUE(bridge->WaitReady());
  EXPECT_EQ(CountOf(bridge->Errors(), "ignored"), 4) << bridge->Errors();
}

// A whole game through an engine without "go perft": the bridge knows the
// legal moves itself, reports an illegal answer and ends at the mate.
TEST_F(ScriptedEngineBridge, EngineWithoutPerftPlaysALegalGameToMate) {
  // Fool's mate with the engine as White; each move is handed back, and the
  // engine's answers to the hand-backs are Black's moves.
  Start("bestmove f2f3 e7e5 e2e5 d8h4\n");
  bridge->Send("position startpos");
  bridge->Send("go");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove f2f3");
  bridge->Send("f2f3");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove e7e5");
  bridge->Send("e7e5");
  // "e2e5" is not legal for White here: reported, neither played nor replaced.
  EXPECT_EQ(bridge->ReadLine(3000), "info string error illegal move e2e5");
  EXPECT_NE(bridge->Errors().find("the engine answered \"bestmove e2e5\""), std::string::npos) << bridge->Errors();

  // The game goes on from a fresh position with the mate itself.
  bridge->Send("position startpos moves f2f3 e7e5 g2g4");
  bridge->Send("go");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove d8h4");
  bridge->Send("d8h4");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove (none)") << "White is mated";
  // Stalemate ends the game too; the engine is not asked.
  const size_t before = Transcript().size();
  bridge->Send("position fen 7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
  bridge->Send("go");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove (none)") << "Black is stalemated";
  EXPECT_EQ(Transcript().find("go", before), std::string::npos) << Transcript().substr(before);
  EXPECT_EQ(Transcript().find("perft"), std::string::npos);
}

// An answer that is no legal move is reported instead of a "bestmove" line:
// the search ends with the error line, and the next one is answered as usual.
TEST_F(ScriptedEngineBridge, ABrokenAnswerIsReportedAndNeverPlayed) {
  struct Case {
    const char *answer; // the engine's line to "go" after 1. e4
    const char *report;
  };
  const Case cases[] = {
      {"bestmove e7e4", "info string error illegal move e7e4"},
      {"bestmove e2e4", "info string error illegal move e2e4"}, // White's move, Black to move
      {"bestmove e7e8k", "info string error malformed bestmove e7e8k"},
      {"bestmove xyz ponder e2e4", "info string error malformed bestmove xyz"},
      {"bestmove", "info string error missing bestmove"},
      {"bestmove (none)", "info string error illegal move (none)"},
      {"bestmove 0000", "info string error illegal move 0000"},
  };
  std::string script;
  for (const Case &c : cases)
    script += std::string("reply go ") + c.answer + "\\n\n";
  Start(script + "bestmove e7e5\n");
  for (const Case &c : cases) {
    bridge->Send("position startpos moves e2e4");
    bridge->Send("go");
    EXPECT_EQ(bridge->ReadLine(3000), c.report) << c.answer;
    EXPECT_TRUE(bridge->WaitReady()) << c.answer << ": nothing but the report came";
  }
  bridge->Send("position startpos moves e2e4");
  bridge->Send("go");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove e7e5");
  EXPECT_EQ(CountOf(bridge->Errors(), "; reported\n"), int(std::size(cases))) << bridge->Errors();
}

// A broken position is refused with its reason and changes nothing: the moves
// after it are not played, and the game goes on where it stood.
TEST_F(ScriptedEngineBridge, BrokenFenIsRefusedAndTheGameGoesOn) {
  Start("bestmove g1f3\n");
  const char *const broken[] = {
      "",
      "8/8/8/8/8/8/8/8 w - - 0 1",                              // no kings
      "rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1",  // no black king
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",            // no side to move
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x - - 0 1",  // side
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1",        // seven ranks
      "4k3/8/8/8/8/8/8/4K3/8 w - - 0 1",                        // nine ranks
      "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1",  // nine squares
      "4k3/8/8/8/8/8/8/4K2 w - - 0 1",                          // seven squares
      "4k3/8/8/8/8/8/8/4K4 w - - 0 1",                          // more than eight
      "rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1",  // no such piece
      "P3k3/8/8/8/8/8/8/4K3 w - - 0 1",                         // pawn on the last rank
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KX - 0 1", // castling
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - e9 0 1", // en passant
  };
  bridge->Send("position startpos moves e2e4");
  for (const char *fen : broken)
    bridge->Send(std::string("position fen ") + fen + " moves e7e5");
  bridge->Send("e7e5"); // Black's move in the game after e2e4
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove g1f3");
  const std::string errors = bridge->Errors();
  EXPECT_EQ(CountOf(errors, "position fen refused ("), int(std::size(broken))) << errors;
  for (const char *fen : broken)
    EXPECT_NE(errors.find(std::string("): ") + fen + "\n"), std::string::npos) << fen << "\n" << errors;
  EXPECT_EQ(errors.find("not legal"), std::string::npos) << errors;
  const std::string told = Transcript();
  EXPECT_NE(told.find("position startpos moves e2e4 e7e5\ngo "), std::string::npos) << told;
  EXPECT_EQ(told.find("position fen"), std::string::npos) << told;
}

// --- On a chess clock ----------------------------------------------------------------

namespace {

// A scripted engine with Stockfish's strength options and its Move Overhead,
// and as many answers e7e5 as a test asks for.
std::string StockfishLikeScript(int answers) {
  std::string script = "reply uci id name Scripted\\noption name Skill Level type spin default 20 min 0 max 20\\n"
                       "option name UCI_LimitStrength type check default false\\n"
                       "option name UCI_Elo type spin default 1350 min 1350 max 2850\\n"
                       "option name MultiPV type spin default 1 min 1 max 500\\n"
                       "option name Move Overhead type spin default 10 min 0 max 5000\\nuciok\\n\n"
                       "bestmove";
  for (int i = 0; i < answers; ++i)
    script += " e7e5";
  return script + "\n";
}

// The last "go" line in text.
std::string LastGoLine(const std::string &text) {
  const size_t at = text.rfind("\ngo");
  if (at == std::string::npos)
    return text.compare(0, 2, "go") == 0 ? text.substr(0, text.find('\n')) : "";
  return text.substr(at + 1, text.find('\n', at + 1) - at - 1);
}

} // namespace

// The go line the front end sends and the one the engine gets, Black to move
// after 1. e4 (the think time is 300 ms): full strength passes the clock on
// as it came, a weakened level adds its depth and a think time within both
// its own and the clock's.
TEST_F(ScriptedEngineBridge, TheClockIsPassedOnToTheEngine) {
  struct Case {
    int level;
    const char *received;
    std::string passed;
  };
  const Case cases[] = {
      {8, "go", "go movetime 300"},
      {1, "go", "go movetime 300 depth 1"},
      {1, "go movetime 500", "go movetime 500"},
      {8, "go wtime 60000 btime 55000", "go wtime 60000 btime 55000"},
      {8, "go btime 55000 wtime 60000", "go wtime 60000 btime 55000"},
      {8, "go wtime 300000 btime 290000 winc 3000 binc 2000", "go wtime 300000 btime 290000 winc 3000 binc 2000"},
      {8, "go wtime 5400000 btime 5300000 movestogo 40", "go wtime 5400000 btime 5300000 movestogo 40"},
      {8, "go wtime 1000 btime 1000 winc 0 binc 0", "go wtime 1000 btime 1000"},
      {8, "go wtime 1000 btime 0", "go wtime 1000 btime 1"},
      {1, "go wtime 60000 btime 55000", "go wtime 60000 btime 55000 movetime 300 depth 1"},
      {3, "go wtime 300000 btime 290000 winc 3000 binc 2000",
       "go wtime 300000 btime 290000 winc 3000 binc 2000 movetime 300"},
      {7, "go wtime 5400000 btime 5300000 movestogo 40", "go wtime 5400000 btime 5300000 movestogo 40 movetime 300"},
      // One second for the rest of the game: the least think there is.
      {1, "go wtime 60000 btime 1000",
       "go wtime 60000 btime 1000 movetime " + std::to_string(CLevelPlan::MOVE_MS_MIN) + " depth 1"},
  };
  Start(StockfishLikeScript(int(std::size(cases))));
  for (const Case &c : cases) {
    const size_t before = Transcript().size();
    bridge->Send("setoption name Level value " + std::to_string(c.level));
    bridge->Send("position startpos moves e2e4");
    bridge->Send(c.received);
    EXPECT_EQ(bridge->ReadLine(3000), "bestmove e7e5") << c.received;
    EXPECT_EQ(LastGoLine(Transcript().substr(before)), c.passed) << "level " << c.level << ": " << c.received;
  }
  EXPECT_EQ(CountOf(Transcript(), "setoption name Move Overhead value " + std::to_string(MOVE_OVERHEAD_MS) + "\n"), 1)
      << Transcript();
  EXPECT_EQ(bridge->Errors(), "");
}

// The front end's side of a game on the clock: the engine opens with a
// clocked search on the position it knows, each of its moves is handed back
// as a bare line and answered by the minimal search, and each reply to a
// player's move comes with the whole game.
TEST_F(ScriptedEngineBridge, AGameOnTheClockHandsBackTheEnginesMoves) {
  Start(StockfishLikeScript(0) + "bestmove e2e4 e7e5 g1f3 b8c6\n");
  bridge->Send("setoption name Level value 8");
  bridge->Send("ucinewgame");
  bridge->Send("position startpos");
  bridge->Send("go wtime 60000 btime 60000");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove e2e4");
  bridge->Send("e2e4");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove e7e5"); // thrown away by the front end
  bridge->Send("position startpos moves e2e4 c7c5");
  bridge->Send("go wtime 59000 btime 58500 winc 1000 binc 1000");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove g1f3");
  bridge->Send("g1f3");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove b8c6");
  // The engine wrote down each line before it answered the last one.
  const std::string told = Transcript();
  const std::string expected = "ucinewgame\n"
                               "setoption name UCI_LimitStrength value false\n"
                               "setoption name Skill Level value 20\n"
                               "setoption name MultiPV value 1\n"
                               "setoption name Move Overhead value " +
                               std::to_string(MOVE_OVERHEAD_MS) +
                               "\n"
                               "position startpos\ngo wtime 60000 btime 60000\n"
                               "position startpos moves e2e4\ngo depth 1\n"
                               "position startpos moves e2e4 c7c5\n"
                               "go wtime 59000 btime 58500 winc 1000 binc 1000\n"
                               "position startpos moves e2e4 c7c5 g1f3\ngo depth 1\n";
  EXPECT_TRUE(EndsWith(told, expected)) << told;
  EXPECT_EQ(bridge->Errors(), "");
}

// A clock value that is missing, negative or not a number is named on
// standard error and left out; the search goes on with what is left (the
// think time when the side to move's time is gone), and only its "bestmove"
// comes out. Black is to move.
TEST_F(ScriptedEngineBridge, BadClockValuesAreReportedAndLeftOut) {
  struct Case {
    const char *received;
    const char *passed;
    std::vector<std::string> reports;
  };
  const Case cases[] = {
      {"go wtime 60000 btime -5",
       "go movetime 300",
       {"go btime -5 is not a whole number of milliseconds", "go without btime for the side to move"}},
      {"go wtime -5 btime 1000", "go btime 1000", {"go wtime -5 is not a whole number of milliseconds"}},
      {"go wtime 60000 btime 60000 movestogo x", "go wtime 60000 btime 60000", {"go movestogo x is not"}},
      {"go wtime 60000 btime 60000 winc 1.5 binc -2",
       "go wtime 60000 btime 60000",
       {"go winc 1.5 is not", "go binc -2 is not"}},
      {"go btime", "go movetime 300", {"go btime without a value; ignored"}},
      {"go wtime 99999999999 btime 5000", "go btime 5000", {"go wtime 99999999999 is not"}},
  };
  Start(StockfishLikeScript(int(std::size(cases))));
  bridge->Send("setoption name Level value 8");
  for (const Case &c : cases) {
    const size_t before = Transcript().size(), errorsBefore = bridge->Errors().size();
    bridge->Send("position startpos moves e2e4");
    bridge->Send(c.received);
    EXPECT_EQ(bridge->ReadLine(3000), "bestmove e7e5") << c.received;
    EXPECT_TRUE(bridge->WaitReady()) << c.received << ": more than the answer came";
    EXPECT_EQ(LastGoLine(Transcript().substr(before)), c.passed) << c.received;
    const std::string errors = bridge->Errors().substr(errorsBefore);
    EXPECT_EQ(CountOf(errors, "\n"), int(c.reports.size())) << c.received << "\n" << errors;
    for (const std::string &report : c.reports)
      EXPECT_NE(errors.find("Abrok: " + report), std::string::npos) << c.received << "\n" << errors;
  }
}

// "go nodes N" is an analysis at full strength whatever the level, bounded by
// its node count alone: the search's last score of its first line comes
// right before its answer. A hint still gets its bare answer, a bad count is
// named and left out, and a mate is answered at once without a score.
TEST_F(ScriptedEngineBridge, ANodesAnalysisGivesItsScoreBeforeItsMove) {
  const std::string analysis = "reply go info depth 1 multipv 1 score cp 10 pv e7e5\\n"
                               "info depth 1 multipv 2 score cp 5 pv d7d5\\n"
                               "info depth 2 multipv 1 score cp -31 nodes 5000 pv e7e5 g1f3\\n"
                               "info depth 2 multipv 2 score cp -99 pv d7d5\\ninfo string search done\\n"
                               "bestmove e7e5 ponder g1f3\\n\n";
  const std::string scored = "reply go info depth 5 score cp 3 pv e7e5\\nbestmove e7e5\\n\n";
  Start(StockfishLikeScript(0) + analysis + scored + scored);
  bridge->Send("setoption name Level value 1");
  bridge->Send("position startpos moves e2e4");
  bridge->Send("go nodes 5000 movetime 100 wtime 1000 btime 1000");
  EXPECT_EQ(bridge->ReadLine(3000), "info depth 2 multipv 1 score cp -31 nodes 5000 pv e7e5 g1f3");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove e7e5");
  EXPECT_TRUE(EndsWith(Transcript(), "setoption name UCI_LimitStrength value false\n"
                                     "setoption name Skill Level value 20\nsetoption name MultiPV value 1\n"
                                     "setoption name Move Overhead value " +
                                         std::to_string(MOVE_OVERHEAD_MS) +
                                         "\nposition startpos moves e2e4\ngo nodes 5000\n"))
      << Transcript();

  bridge->Send("go movetime 100");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove e7e5") << "a hint comes without its score";
  bridge->Send("go nodes 0");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove e7e5");
  EXPECT_EQ(LastGoLine(Transcript()), "go movetime 300 depth 1") << "the level's own search";

  bridge->Send("position startpos moves f2f3 e7e5 g2g4 d8h4");
  bridge->Send("go nodes 5000");
  EXPECT_EQ(bridge->ReadLine(3000), "bestmove (none)");
  EXPECT_TRUE(bridge->WaitReady());
  const std::string errors = bridge->Errors();
  EXPECT_NE(errors.find("Abrok: go nodes asks for an analysis of a fixed size; the clock and movetime are ignored"),
            std::string::npos)
      << errors;
  EXPECT_NE(errors.find("Abrok: go nodes 0 is not a whole number of nodes from 1 to 2147483647; ignored"),
            std::string::npos)
      << errors;
}

// Stockfish itself: on one thread, after "ucinewgame", an analysis bounded
// by nodes gives the same score and move each time, its info line as
// Stockfish wrote it.
TEST(Bridge, ANodesAnalysisOfStockfishRepeatsItself) {
  if (CStockfish::Locate().empty())
    GTEST_SKIP() << "no Stockfish";
  BridgeSession bridge("200");
  ASSERT_TRUE(bridge.started);
  ASSERT_TRUE(bridge.WaitReady());
  std::string answers[2];
  for (std::string &answer : answers) {
    bridge.Send("ucinewgame");
    bridge.Send("position fen r1bqkbnr/pppp1ppp/2n5/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR b KQkq - 3 3");
    bridge.Send("go nodes 20000");
    const std::string info = bridge.ReadLine(10000), best = bridge.ReadLine(10000);
    std::smatch match;
    ASSERT_TRUE(std::regex_search(
        info, match, std::regex("^info depth [0-9]+ .*multipv 1 score ((cp|mate) -?[0-9]+) .*nodes [0-9]+ .* pv ")))
        << info;
    ASSERT_TRUE(std::regex_match(best, BARE_BESTMOVE)) << best;
    answer = match[1].str() + ", " + best;
  }
  EXPECT_EQ(answers[0], answers[1]);
}

// Stockfish itself on a one-second clock: the engine's clock is charged with
// the wall time from each "go" to its answer, and never runs out. The
// opponent's moves are the answers to the hand-backs. Full strength plans
// its time itself; Beginner picks among candidates within its movetime.
TEST(Bridge, AGameOnAOneSecondClockIsAnsweredInTime) {
  if (CStockfish::Locate().empty())
    GTEST_SKIP() << "no Stockfish";
  for (const int level : {8, 1}) {
    BridgeSession bridge("1000");
    ASSERT_TRUE(bridge.started);
    bridge.Send("setoption name Level value " + std::to_string(level));
    ASSERT_TRUE(bridge.WaitReady());
    chess::Position board;
    std::string game; // the moves so far, as "position" lists them
    std::string theirs = "e2e4";
    long long clockMs = 1000;
    std::string spent;
    for (int turn = 0; turn < 10 && board.HasLegalMove(); ++turn) {
      ASSERT_TRUE(Play(board, theirs)) << theirs;
      game += (game.empty() ? "" : " ") + theirs;
      if (!board.HasLegalMove())
        break;
      bridge.Send("position startpos moves " + game);
      const auto start = std::chrono::steady_clock::now();
      bridge.Send("go wtime 1000 btime " + std::to_string(clockMs));
      const std::string answer = bridge.ReadLine(5000);
      const long long tookMs =
          std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
      ASSERT_TRUE(std::regex_match(answer, BARE_BESTMOVE)) << "level " << level << ": " << answer;
      clockMs -= tookMs;
      spent += " " + std::to_string(tookMs);
      ASSERT_GT(clockMs, 0) << "level " << level << " flagged; ms per move:" << spent;
      const std::string ours = answer.substr(9);
      ASSERT_TRUE(Play(board, ours)) << ours;
      game += " " + ours;
      if (!board.HasLegalMove())
        break;
      bridge.Send(ours); // the hand-back: its answer is the opponent's move
      const std::string reply = bridge.ReadLine(5000);
      ASSERT_TRUE(std::regex_match(reply, BARE_BESTMOVE)) << reply;
      theirs = reply.substr(9);
    }
    EXPECT_EQ(bridge.Errors().find("Abrok:"), std::string::npos) << bridge.Errors();
    std::cout << "level " << level << ": ms per move" << spent << "; " << clockMs << " ms left\n";
  }
}

// Stockfish itself: a hint (go movetime) is searched at full strength and is
// not taken for the engine's move when the player then plays it.
TEST(Bridge, AdviceSearchIsNotTakenForTheEnginesMove) {
  BridgeSession bridge("200");
  ASSERT_TRUE(bridge.started);
  ASSERT_TRUE(bridge.WaitReady());
  bridge.Send("setoption name Level value 1");
  bridge.Send("position startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 a7a6");
  bridge.Send("go movetime 300");
  const std::string hint = bridge.ReadLine(5000);
  ASSERT_TRUE(std::regex_match(hint, BARE_BESTMOVE)) << hint;
  // The hinted move is a move of the player: it gets a full reply, with
  // Black's legal moves.
  bridge.Send(hint.substr(9));
  const std::string reply = bridge.ReadLine(5000);
  ASSERT_TRUE(std::regex_match(reply, BARE_BESTMOVE)) << reply;
  chess::Position board;
  for (const char *move : {"e2e4", "e7e5", "g1f3", "b8c6", "f1b5", "a7a6"})
    ASSERT_TRUE(Play(board, move)) << move;
  ASSERT_TRUE(Play(board, hint.substr(9))) << hint;
  EXPECT_TRUE(Play(board, reply.substr(9))) << hint << " then " << reply;
}

// --- Strength settings -------------------------------------------------------------

TEST(BridgeLevels, EachLevelSetsTheEngineOptionsItOffers) {
  struct Case {
    int level;
    std::map<std::string, std::string> options;
    int depth;
    int candidates;
  };
  const Case cases[] = {
      {1, {{"UCI_LimitStrength", "false"}, {"Skill Level", "20"}, {"MultiPV", "6"}}, 1, 6},
      {2, {{"UCI_LimitStrength", "false"}, {"Skill Level", "20"}, {"MultiPV", "5"}}, 3, 5},
      {3, {{"UCI_LimitStrength", "true"}, {"UCI_Elo", "1470"}, {"Skill Level", "20"}, {"MultiPV", "1"}}, 0, 1},
      {4, {{"UCI_LimitStrength", "true"}, {"UCI_Elo", "1775"}, {"Skill Level", "20"}, {"MultiPV", "1"}}, 0, 1},
      {7, {{"UCI_LimitStrength", "true"}, {"UCI_Elo", "2795"}, {"Skill Level", "20"}, {"MultiPV", "1"}}, 0, 1},
      {8, {{"UCI_LimitStrength", "false"}, {"Skill Level", "20"}, {"MultiPV", "1"}}, 0, 1},
  };
  for (const Case &c : cases) {
    const CLevelPlan plan = CLevelPlan::ForLevel(c.level, STOCKFISH_OPTIONS);
    EXPECT_TRUE(plan.levelApplies) << c.level;
    EXPECT_EQ(OptionMap(plan), c.options) << "level " << c.level;
    EXPECT_EQ(plan.depth, c.depth) << c.level;
    EXPECT_EQ(plan.candidates, c.candidates) << c.level;
    EXPECT_STRNE(LevelName(c.level), "");
  }
  EXPECT_EQ(CLevelPlan::ForLevel(1, STOCKFISH_OPTIONS).GoCommand(700), "go movetime 700 depth 1");
  EXPECT_EQ(CLevelPlan::ForLevel(8, STOCKFISH_OPTIONS).GoCommand(700), "go movetime 700");

  // An engine without Skill Level and UCI_Elo: no level, full strength.
  for (int level = LEVEL_MIN; level <= LEVEL_MAX; ++level) {
    const CLevelPlan plan = CLevelPlan::ForLevel(level, ETHEREAL_OPTIONS);
    EXPECT_FALSE(plan.levelApplies) << level;
    EXPECT_EQ(OptionMap(plan), (std::map<std::string, std::string>{{"MultiPV", "1"}})) << level;
    EXPECT_EQ(plan.GoCommand(500), "go movetime 500") << level;
  }
  // Only Skill Level: ratings become the nearest skill.
  const CLevelPlan skillOnly = CLevelPlan::ForLevel(5, {"Skill Level"});
  EXPECT_EQ(OptionMap(skillOnly), (std::map<std::string, std::string>{{"Skill Level", "10"}}));
  // The expert's override wins over the level.
  const CLevelPlan forced = CLevelPlan::ForLevel(1, STOCKFISH_OPTIONS, 12);
  EXPECT_EQ(OptionMap(forced).at("Skill Level"), "12");
  EXPECT_EQ(forced.candidates, 1);
  EXPECT_STREQ(LevelName(0), "");
  EXPECT_STREQ(LevelName(9), "");
}

TEST(BridgeLevels, WeakenedChoiceStaysCloseToTheBestLine) {
  CCandidateLines lines;
  for (const char *info : {
           "info depth 1 seldepth 1 multipv 1 score cp 500 nodes 20 pv a2a3",
           "info depth 2 seldepth 2 multipv 1 score cp 50 nodes 90 pv e2e4 e7e5",
           "info depth 2 seldepth 2 multipv 2 score cp 20 nodes 90 pv d2d4 d7d5",
           "info depth 2 seldepth 2 multipv 3 score cp -200 nodes 90 pv g2g4 d7d5",
           "info depth 2 seldepth 2 multipv 4 score cp 40 lowerbound nodes 90 pv b1c3",
           "info depth 2 currmove h2h4 currmovenumber 5",
           "info string nothing to see",
           "bestmove e2e4",
       })
    lines.OnInfo(info);
  EXPECT_EQ(lines.Count(), 3u);
  std::mt19937 random(7);
  std::set<std::string> picked;
  for (int i = 0; i < 200; ++i)
    picked.insert(lines.Pick(100, random));
  EXPECT_EQ(picked, (std::set<std::string>{"e2e4", "d2d4"})) << "g2g4 is 250 below the best";

  // A mate that was found is played; a line that is mated is never close.
  CCandidateLines mating;
  mating.OnInfo("info depth 3 multipv 1 score mate 2 pv d1h5");
  mating.OnInfo("info depth 3 multipv 2 score cp 900 pv d1f3");
  mating.OnInfo("info depth 3 multipv 3 score mate -1 pv a2a3");
  for (int i = 0; i < 50; ++i)
    EXPECT_EQ(mating.Pick(300, random), "d1h5");
  mating.Clear();
  EXPECT_EQ(mating.Pick(300, random), "");
}

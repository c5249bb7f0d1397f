// The review's engine and the run over a whole game, against the scripted
// test engine: what a search's score and move become, the request each
// position is sent, and the faults that cost one fresh engine or the run.
#include "chess/CPgnReader.h"
#include "engine/CAnalysisRun.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

int CountOf(const std::string &text, const std::string &part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
    ++count;
  return count;
}

chess::CGameAnalysis AnalysisOf(const std::string &pgn) {
  chess::PgnGame game;
  chess::PgnError fault;
  EXPECT_TRUE(chess::CPgnReader::Read(pgn, game, fault)) << fault.reason;
  chess::CGameAnalysis analysis;
  std::string error;
  EXPECT_TRUE(analysis.Start(game, error)) << error;
  return analysis;
}

// The test engine scripted from a scratch folder; what it is sent is kept.
class ReviewEngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/kelvar-review-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
    setenv("KELVAR_TEST_ENGINE_SCRIPT", (folder / "script").c_str(), 1);
  }
  void TearDown() override {
    unsetenv("KELVAR_TEST_ENGINE_SCRIPT");
    fs::remove_all(folder);
  }

  // The script the next engine process reads as it starts.
  void SetScript(const std::string &script) {
    std::ofstream(folder / "script") << "transcript " << (folder / "transcript").string() << "\n" << script;
  }

  std::string Transcript() const {
    std::ifstream in(folder / "transcript");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Steps the run until it settles, sleeping a millisecond between steps.
  // Once the first engine has been sent its first search, the script is
  // replaced by then (when given). A silent engine's clock is moved past
  // the silence allowed whenever a search has been sent. False if the run
  // was still going after 15 s.
  bool Settle(CAnalysisRun &run, const char *then = nullptr, bool silent = false) {
    uint64_t now = 1000;
    int searchesSeen = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (run.GetStatus() == CAnalysisRun::Status::Running) {
      if (std::chrono::steady_clock::now() > deadline)
        return false;
      const int searches = CountOf(Transcript(), "go nodes");
      if (then && searches > 0) {
        SetScript(then);
        then = nullptr;
      }
      if (silent && searches > searchesSeen) {
        searchesSeen = searches;
        now += CReviewEngine::SEARCH_SILENCE_MS;
      }
      platform::Sleep(1);
      run.Step(++now);
    }
    return true;
  }

  fs::path folder;
};

// The scores come from the side to move; the findings hold them from
// White's side. A move that walks into mate from an even game is a blunder,
// and no other move of the game is marked.
TEST_F(ReviewEngineTest, ScriptedScoresGiveTheFindingsAndTheMarks) {
  // 1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7#: seven positions to search, the
  // mate itself judged by the rules.
  const char *const replies[] = {
      "info depth 9 score cp 20 nodes 5000 pv e2e4\\ninfo depth 10 multipv 1 score cp 31 nodes 5000 pv e2e4",
      "info depth 10 score cp -30 pv e7e5",
      "info depth 10 score cp 25 pv d1h5",
      "info depth 10 score cp 10 pv b8c6",
      "info depth 10 score cp 15 pv f1c4",
      "info depth 10 score cp -40 pv g7g6",
      "info depth 10 multipv 1 score mate 1 pv h5f7\\ninfo string mate found",
  };
  const char *const moves[] = {"e2e4", "e7e5", "d1h5", "b8c6", "f1c4", "g7g6", "h5f7"};
  std::string script;
  for (int i = 0; i < 7; ++i)
    script += std::string("reply go ") + replies[i] + "\\nbestmove " + moves[i] + " ponder a7a6\\n\n";
  SetScript(script);

  CAnalysisRun run;
  std::string error;
  const chess::CGameAnalysis game = AnalysisOf("1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0");
  ASSERT_TRUE(run.Start(game, KELVAR_TEST_ENGINE, 5000, 1000, error)) << error;
  ASSERT_TRUE(Settle(run));
  ASSERT_EQ(run.GetStatus(), CAnalysisRun::Status::Done) << run.Error();
  EXPECT_EQ(run.Judged(), 8u);
  EXPECT_GT(run.ElapsedMs(), 0);

  const chess::CGameAnalysis &analysis = run.Analysis();
  const chess::Evaluation expected[] = {chess::Evaluation::Centipawns(31), chess::Evaluation::Centipawns(30),
                                        chess::Evaluation::Centipawns(25), chess::Evaluation::Centipawns(-10),
                                        chess::Evaluation::Centipawns(15), chess::Evaluation::Centipawns(40),
                                        chess::Evaluation::MateIn(1)};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(analysis.FindingAt(i).eval, expected[i]) << "position " << i;
    EXPECT_EQ(analysis.FindingAt(i).bestMove, moves[i]) << "position " << i;
  }
  const chess::GameReview review = analysis.Review();
  ASSERT_TRUE(review.ok) << review.error;
  for (size_t ply = 0; ply < review.moves.size(); ++ply)
    EXPECT_EQ(review.moves[ply].mark, ply == 5 ? chess::MoveMark::Blunder : chess::MoveMark::None) << "ply " << ply;

  // One new game, then each position by its FEN, at the node count asked.
  const std::string sent = Transcript();
  EXPECT_EQ(sent.rfind("uci\nucinewgame\nposition fen " + analysis.PositionAt(0).GetFen() + "\ngo nodes 5000\n", 0), 0u)
      << sent;
  EXPECT_EQ(CountOf(sent, "ucinewgame"), 1) << sent;
  EXPECT_EQ(CountOf(sent, "go nodes 5000\n"), 7) << sent;
  EXPECT_NE(sent.find("position fen " + analysis.PositionAt(6).GetFen() + "\n"), std::string::npos) << sent;
}

// A broken answer costs a fresh engine and a second try at the same
// position; a second failure there ends the run, naming the position. No
// fault hangs the run: a silent engine is given up after its time.
TEST_F(ReviewEngineTest, AFaultIsTriedOnceMoreThenEndsTheRun) {
  const std::string good = "reply go info depth 5 score cp 12 pv e2e4\\nbestmove e2e4\\n\n"
                           "reply go info depth 5 score cp -12 pv e7e5\\nbestmove e7e5\\n\n";
  struct Case {
    const char *name;
    std::string first; // the script of the first engine
    const char *then;  // the script from the first search on; null: the same
    bool silent;
    const char *reason; // in the run's error; null: the run is done
  };
  const Case cases[] = {
      {"an illegal move, once", "reply go {sleep 300}info score cp 5\\nbestmove e7e5\\n\n", good.c_str(), false,
       nullptr},
      {"the engine dies, once", "reply go {sleep 300}{exit 3}\n", good.c_str(), false, nullptr},
      {"garbage without a score, once", "reply go {sleep 300}\\x01\\xff garbage\\nbestmove e2e4\\n\n", good.c_str(),
       false, nullptr},
      {"an illegal move, always", "reply go info score cp 5\\nbestmove e7e5\\n\n", nullptr, false,
       "the engine failed at move 1 (White): the answer \"bestmove e7e5\" is no legal move"},
      {"no score, always", "reply go info depth 3 nodes 20 pv e2e4\\nbestmove e2e4\\n\n", nullptr, false,
       "(White): no score came before \"bestmove e2e4\""},
      {"the engine program's error", "reply go info string error illegal move e2e5\\n\n", nullptr, false,
       "(White): illegal move e2e5"},
      {"the engine dies, always", "reply go {exit 3}\n", nullptr, false, "(White): the engine program"},
      {"the engine falls silent", "reply go \n", nullptr, true, "(White): no answer for 60 s"},
      {"no uciok", "reply uci id name Mute\\n\n", nullptr, true, "(White): no \"uciok\" within 10 s"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(folder / "transcript");
    SetScript(c.first);
    CAnalysisRun run;
    std::string error;
    ASSERT_TRUE(run.Start(AnalysisOf("1. e4 *"), KELVAR_TEST_ENGINE, 2000, 1000, error)) << error;
    if (std::string(c.name) == "no uciok") {
      // No search is ever sent: the handshake's own limit is passed twice.
      uint64_t now = 1000;
      for (int i = 0; i < 200 && run.GetStatus() == CAnalysisRun::Status::Running; ++i) {
        platform::Sleep(5);
        run.Step(now += CReviewEngine::HANDSHAKE_TIMEOUT_MS / 20);
      }
    } else {
      ASSERT_TRUE(Settle(run, c.then, c.silent)) << "the run hangs";
    }
    const std::string sent = Transcript();
    if (!c.reason) {
      EXPECT_EQ(run.GetStatus(), CAnalysisRun::Status::Done) << run.Error();
      EXPECT_EQ(run.Analysis().FindingAt(0).bestMove, "e2e4");
      EXPECT_EQ(run.Analysis().FindingAt(1).eval, chess::Evaluation::Centipawns(12));
      EXPECT_EQ(CountOf(sent, "uci\n"), 2) << "one fresh engine\n" << sent;
      EXPECT_EQ(CountOf(sent, "go nodes 2000\n"), 3) << "the first position asked again\n" << sent;
      continue;
    }
    EXPECT_EQ(run.GetStatus(), CAnalysisRun::Status::Failed);
    EXPECT_NE(run.Error().find(c.reason), std::string::npos) << run.Error();
    EXPECT_EQ(run.Judged(), 0u);
    EXPECT_EQ(CountOf(sent, "uci\n"), 2) << "asked twice, no more\n" << sent;
  }
}

// A program that cannot be started fails the start; a cancelled run ends
// its engine, and a later step changes nothing.
TEST_F(ReviewEngineTest, StartFailureAndCancel) {
  CAnalysisRun run;
  std::string error;
  EXPECT_FALSE(run.Start(AnalysisOf("1. e4 *"), (folder / "missing.exe").string(), 2000, 0, error));
  EXPECT_NE(error.find("missing.exe"), std::string::npos) << error;
  EXPECT_EQ(run.GetStatus(), CAnalysisRun::Status::Failed);

  SetScript("reply go \n"); // searches without end
  ASSERT_TRUE(run.Start(AnalysisOf("1. e4 *"), KELVAR_TEST_ENGINE, 2000, 0, error)) << error;
  for (int i = 0; i < 5000 && CountOf(Transcript(), "go nodes") == 0; ++i) {
    platform::Sleep(1);
    run.Step(i);
  }
  ASSERT_EQ(CountOf(Transcript(), "go nodes"), 1);
  run.Cancel();
  EXPECT_EQ(run.GetStatus(), CAnalysisRun::Status::Cancelled);
  EXPECT_EQ(run.Step(999999), CAnalysisRun::Status::Cancelled);
  EXPECT_NE(Transcript().find("quit"), std::string::npos) << "the engine is told to quit";
}

} // namespace

// The link's line assembly and the parse of "bestmove" lines, fed with engine
// output directly, frame by frame, without a process.
#include "EngineTestSupport.h"

#include "engine/CEngineLineBuffer.h"

using namespace engine_test;

namespace {

class EngineOutputTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::CreateNullDevice());
    log = std::make_unique<testing_support::LogCapture>(app.device);
  }
  void TearDown() override {
    log.reset();
    app.device->drop();
    app.device = nullptr;
    app.logger = nullptr;
  }
  std::unique_ptr<testing_support::LogCapture> log;
};

} // namespace

TEST_F(EngineOutputTest, AnOwedResultGivesItsSquaresOnce) {
  struct ParseCase {
    const char *name;
    std::vector<std::string> frames; // engine output as the link receives it
    bool result;
    BoardSquare from, to; // expected; the caller starts with (3, 3) and (5, 5)
  };
  const ParseCase cases[] = {
      {"ponder move dropped", {"bestmove e7e5 ponder g1f3\n"}, true, {4, 6}, {4, 4}},
      {"promotion letter left to the rules", {"bestmove e7e8q\n"}, true, {4, 6}, {4, 7}},
      {"line split across frames", {"bestm", "ove e2", "e4\n"}, true, {4, 1}, {4, 3}},
      {"carriage return before line feed", {"bestmove a7a8\r\n"}, true, {0, 6}, {0, 7}},
      {"no line feed yet", {"bestmove e2e4"}, false, {3, 3}, {5, 5}},
      {"too short to hold a move", {"bestmove a1\n"}, false, {3, 3}, {5, 5}},
      {"characters off the board", {"bestmove zz9x\n"}, false, {3, 3}, {5, 5}},
      {"a bad promotion letter", {"bestmove e7e8k\n"}, false, {3, 3}, {5, 5}},
      {"a zero byte inside the move", {std::string("bestmove e2\0e4\n", 15)}, false, {3, 3}, {5, 5}},
      {"no blank after the word", {"bestmovee2e4\n"}, false, {3, 3}, {5, 5}},
      {"the word inside another line", {"info string bestmove e2e4\n"}, false, {3, 3}, {5, 5}},
      {"a refused result is followed by a good one", {"bestmove zz9x\nbestmove d2d4\n"}, true, {3, 1}, {3, 3}},
      {"one result per request: a second is dropped", {"bestmove e2e4\nbestmove d2d4\n"}, true, {4, 1}, {4, 3}},
      {"the null move gives squares off the board", {"bestmove 0000\n"}, true, {-1, -1}, {-1, -1}},
      {"no move at all", {"bestmove (none)\nbestmove e2e4\n"}, true, {-1, -1}, {-1, -1}},
      {"other lines are dropped", {"info depth 1 pv e2e4\n", "readyok\n"}, false, {3, 3}, {5, 5}},
  };
  for (const ParseCase &c : cases) {
    CCEManager engine;
    CCEManagerProbe::ExpectResult(engine);
    for (const std::string &frame : c.frames)
      CCEManagerProbe::Feed(engine, frame);
    BoardSquare from(3, 3), to(5, 5);
    EXPECT_EQ(engine.ProcessEngineResult(from, to), c.result) << c.name;
    EXPECT_EQ(from, c.from) << c.name;
    EXPECT_EQ(to, c.to) << c.name;
    EXPECT_FALSE(engine.ProcessEngineResult(from, to)) << c.name << ": handed out twice";
  }
}

TEST_F(EngineOutputTest, AResultNothingAskedForIsDropped) {
  CCEManager engine;
  CCEManagerProbe::Feed(engine, "bestmove e2e4\n");
  BoardSquare from, to;
  EXPECT_FALSE(engine.ProcessEngineResult(from, to));
  EXPECT_TRUE(log->Contains("Kelvar: CCEManager dropped a result nothing asked for"));
}

TEST_F(EngineOutputTest, APromotionLetterNamesThePieceAndAnythingElseMeansAQueen) {
  const struct {
    const char *line;
    irr::s32 kind;
  } cases[] = {
      {"bestmove e7e8n\n", Knight},   {"bestmove e7e8b\n", Bishop}, {"bestmove e7e8r ponder d8d1\n", Rook},
      {"bestmove e7e8q\n", Queen},    {"bestmove e7e8\n", Queen},   {"bestmove e7e8 ponder a2a1n\n", Queen},
      {"bestmove e7e8n\r\n", Knight},
  };
  for (const auto &c : cases) {
    CCEManager engine;
    CCEManagerProbe::ExpectResult(engine);
    CCEManagerProbe::Feed(engine, c.line);
    BoardSquare from, to;
    irr::s32 kind = -1;
    ASSERT_TRUE(engine.ProcessEngineResult(from, to, kind)) << c.line;
    EXPECT_EQ(kind, c.kind) << c.line;
    EXPECT_EQ(to, BoardSquare(4, 7)) << c.line;
  }
}

TEST_F(EngineOutputTest, ResultLineAndItsMoveAreLogged) {
  CCEManager engine;
  CCEManagerProbe::ExpectResult(engine);
  CCEManagerProbe::Feed(engine, "bestmove e7e5 ponder g1f3\r\n");
  EXPECT_TRUE(log->Contains("Kelvar: bestmove e7e5 ponder g1f3"));
  BoardSquare from, to;
  ASSERT_TRUE(engine.ProcessEngineResult(from, to));
  ASSERT_GE(log->Lines().size(), 2u);
  EXPECT_EQ(log->Lines()[log->Lines().size() - 2], "Kelvar: ProcessEngineResult:");
  EXPECT_EQ(log->Lines().back(), "Kelvar: e7e5");
}

TEST_F(EngineOutputTest, ResetDropsAnUnfetchedResult) {
  CCEManager engine; // no process: the new-game commands go nowhere
  CCEManagerProbe::ExpectResult(engine);
  CCEManagerProbe::Feed(engine, "bestmove e2e4\n");
  engine.Reset();
  BoardSquare from, to;
  EXPECT_FALSE(engine.ProcessEngineResult(from, to));
}

TEST_F(EngineOutputTest, AFloodOfInfoLinesStillEndsInTheResult) {
  CCEManager engine;
  CCEManagerProbe::ExpectResult(engine);
  std::string flood;
  for (int i = 0; i < 20000; ++i)
    flood += "info depth 20 seldepth 30 multipv 1 score cp 12 nodes 123456 pv e2e4 e7e5 g1f3\n";
  CCEManagerProbe::Feed(engine, flood + "bestmove g1f3\n");
  BoardSquare from, to;
  ASSERT_TRUE(engine.ProcessEngineResult(from, to));
  EXPECT_EQ(from, BoardSquare(6, 0));
}

// --- The bounded line buffer -----------------------------------------------------

TEST(EngineLineBuffer, KeepsLinesWholeAndBoundsMemory) {
  struct Case {
    const char *name;
    std::vector<std::string> feeds;
    std::vector<std::string> lines;
    size_t dropped;
  };
  const std::string longest(CEngineLineBuffer::MAX_LINE, 'a');
  const std::string tooLong(CEngineLineBuffer::MAX_LINE + 1, 'b');
  const Case cases[] = {
      {"lines across feeds", {"ab", "c\nd", "e\n"}, {"abc", "de"}, 0},
      {"carriage return only before the line feed", {"a\rb\r\n\r\n"}, {"a\rb", ""}, 0},
      {"binary bytes stay", {std::string("\0\xff\n", 3)}, {std::string("\0\xff", 2)}, 0},
      {"the longest line fits", {longest + "\n"}, {longest}, 0},
      {"a longer one is dropped whole", {tooLong + "\nok\n"}, {"ok"}, 1},
      {"also when it grows over many feeds", {longest, "b", "c\n", "ok\n"}, {"ok"}, 1},
  };
  for (const Case &c : cases) {
    CEngineLineBuffer buffer;
    std::vector<std::string> lines;
    size_t dropped = 0;
    for (const std::string &feed : c.feeds)
      dropped += buffer.Feed(feed.data(), feed.size(), lines);
    EXPECT_EQ(lines, c.lines) << c.name;
    EXPECT_EQ(dropped, c.dropped) << c.name;
  }

  // An endless line never makes the buffer hold more than one line's worth.
  CEngineLineBuffer buffer;
  std::vector<std::string> lines;
  const std::string chunk(4096, 'x');
  for (int i = 0; i < 1000; ++i) {
    buffer.Feed(chunk.data(), chunk.size(), lines);
    ASSERT_LE(buffer.PendingSize(), CEngineLineBuffer::MAX_LINE);
  }
  EXPECT_TRUE(lines.empty());
}

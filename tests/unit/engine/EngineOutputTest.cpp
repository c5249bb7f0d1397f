// The poll's line assembly and the parse of "bestmove" lines, fed with engine
// output directly, frame by frame.
#include "EngineTestSupport.h"

using namespace engine_test;

namespace {

struct ParseCase {
  const char *name;
  std::vector<std::string> frames; // engine output as the poll receives it
  bool result;
  BoardSquare from, to; // expected; the caller starts with (3, 3) and (5, 5)
};

class EngineOutputTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::CreateNullDevice());
    log = std::make_unique<testing_support::LogCapture>(app.device);
    CCEManagerProbe::ForgetPartialLine();
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

TEST_F(EngineOutputTest, ResultLinesGiveTheirSquaresOnce) {
  const ParseCase cases[] = {
      {"ponder move dropped", {"bestmove e7e5 ponder g1f3\n"}, true, {4, 6}, {4, 4}},
      {"promotion letter ignored", {"bestmove e7e8q\n"}, true, {4, 6}, {4, 7}},
      {"line split across frames", {"bestm", "ove e2", "e4\n"}, true, {4, 1}, {4, 3}},
      {"carriage return before line feed", {"bestmove a7a8\r\n"}, true, {0, 6}, {0, 7}},
      {"no line feed yet", {"bestmove e2e4"}, false, {3, 3}, {5, 5}},
      {"too short to hold a move", {"bestmove a1\n"}, false, {3, 3}, {5, 5}},
      {"characters off the board give squares off the board", {"bestmove zz9x\n"}, true, {-1, -1}, {-1, -1}},
      {"no move at all", {"bestmove (none)\n"}, true, {-1, -1}, {-1, -1}},
      {"a later result replaces an unfetched one", {"bestmove e2e4\nbestmove d2d4\n"}, true, {3, 1}, {3, 3}},
      {"other lines are dropped", {"info depth 1 pv e2e4\n", "readyok\n"}, false, {3, 3}, {5, 5}},
  };
  for (const ParseCase &c : cases) {
    CCEManager engine;
    CCEManagerProbe::ForgetPartialLine(); // the poll's line is one for the program
    for (const std::string &frame : c.frames)
      CCEManagerProbe::Feed(engine, frame);
    BoardSquare from(3, 3), to(5, 5);
    EXPECT_EQ(engine.ProcessEngineResult(from, to), c.result) << c.name;
    EXPECT_EQ(from, c.from) << c.name;
    EXPECT_EQ(to, c.to) << c.name;
    EXPECT_FALSE(engine.ProcessEngineResult(from, to)) << c.name << ": handed out twice";
  }
}

TEST_F(EngineOutputTest, ResultLineAndItsMoveAreLogged) {
  CCEManager engine;
  CCEManagerProbe::Feed(engine, "bestmove e7e5 ponder g1f3\r\n");
  EXPECT_TRUE(log->Contains("Kelvar: bestmove e7e5 ponder g1f3\r")); // logged as received
  BoardSquare from, to;
  ASSERT_TRUE(engine.ProcessEngineResult(from, to));
  ASSERT_GE(log->Lines().size(), 2u);
  EXPECT_EQ(log->Lines()[log->Lines().size() - 2], "Kelvar: ProcessEngineResult:");
  EXPECT_EQ(log->Lines().back(), "Kelvar: e7e5");
}

TEST_F(EngineOutputTest, ResetDropsAnUnfetchedResult) {
  CCEManager engine; // no process: the new-game commands go nowhere
  CCEManagerProbe::Feed(engine, "bestmove e2e4\n");
  engine.Reset();
  BoardSquare from, to;
  EXPECT_FALSE(engine.ProcessEngineResult(from, to));
}

// The review's pictures: the graph's columns and clicks, its colours where
// White or Black leads and where nothing is judged yet, the marks' dots, and
// the evaluation bar's share and figure.
#include "tests/support/NullDevice.h"
#include "ui/CEvalBar.h"
#include "ui/CReviewGraph.h"

#include <gtest/gtest.h>

using namespace irr;

namespace {

TEST(ReviewGraph, ColumnsAndClicksAgree) {
  for (const size_t positions : {1u, 2u, 8u, 61u, 400u})
    for (const int width : {280, 7}) {
      for (size_t i = 0; i < positions; ++i) {
        const int x = CReviewGraph::XOfPosition(i, width, positions);
        ASSERT_GE(x, 0);
        ASSERT_LT(x, width);
        // Where columns are wider than a position, a click on one finds it.
        if (size_t(width) >= positions) {
          EXPECT_EQ(CReviewGraph::PositionAtX(x, width, positions), i) << positions << " " << width;
        }
      }
      EXPECT_EQ(CReviewGraph::PositionAtX(-50, width, positions), 0u);
      EXPECT_EQ(CReviewGraph::PositionAtX(width + 50, width, positions), positions - 1);
    }
}

TEST(ReviewGraph, DrawsWhoLeadsAndTheMarks) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  video::IImage *image = app.driver->createImage(video::ECF_A8R8G8B8, core::dimension2d<u32>(101, 101));
  ASSERT_NE(image, nullptr);
  // Five positions: White far ahead, even, Black far ahead, then two not judged.
  CReviewGraph::Draw(image, {90, 50, 10, 50, 50}, {true, true, true, false, false},
                     {chess::MoveMark::None, chess::MoveMark::Blunder, chess::MoveMark::None, chess::MoveMark::None});
  const video::SColor light = image->getPixel(0, 95), dark = image->getPixel(0, 5);
  EXPECT_GT(light.getLuminance(), 200);
  EXPECT_LT(dark.getLuminance(), 80);
  EXPECT_EQ(image->getPixel(0, 15), light); // White's 90 % reaches up to row 10
  EXPECT_EQ(image->getPixel(25, 45), dark); // at the even position, dark down to the middle
  EXPECT_EQ(image->getPixel(25, 55), light);
  EXPECT_EQ(image->getPixel(50, 85), dark); // Black's 90 %: dark almost to the bottom
  EXPECT_EQ(image->getPixel(50, 95), light);
  const video::SColor unknown = image->getPixel(90, 5);
  EXPECT_EQ(image->getPixel(90, 95), unknown); // not judged: one colour, top to bottom
  EXPECT_NE(unknown, light);
  EXPECT_NE(unknown, dark);
  // The blunder of the second move sits on the position it reached (Black leads, 10 %).
  EXPECT_EQ(image->getPixel(50, 90), CReviewGraph::MarkColor(chess::MoveMark::Blunder));
  image->drop();
}

TEST(ReviewGraph, EvaluationBarFollowsThePosition) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  CEvalBar *bar =
      new CEvalBar(app.guiEnvironment, app.guiEnvironment->getRootGUIElement(), -1, core::rect<s32>(0, 0, 20, 200));
  const struct {
    bool known;
    chess::Evaluation eval;
    const wchar_t *label;
    double share;
  } cases[] = {
      {false, chess::Evaluation::Centipawns(500), L"", 0.5},
      {true, chess::Evaluation::Centipawns(0), L"0.00", 0.5},
      {true, chess::Evaluation::Centipawns(150), L"+1.50", chess::WinPercent(chess::Evaluation::Centipawns(150)) / 100},
      {true, chess::Evaluation::Centipawns(-2000), L"-20.00",
       chess::WinPercent(chess::Evaluation::Centipawns(-1000)) / 100},
      {true, chess::Evaluation::MateIn(-3), L"#-3", chess::WinPercent(chess::Evaluation::MateIn(-3)) / 100},
  };
  for (const auto &c : cases) {
    bar->SetEvaluation(c.known, c.eval);
    EXPECT_EQ(bar->Label(), c.label);
    EXPECT_DOUBLE_EQ(bar->WhiteShare(), c.share);
  }
  app.guiEnvironment->drawAll(); // draws on the null driver without a fault
  bar->remove();
  bar->drop();
}

} // namespace

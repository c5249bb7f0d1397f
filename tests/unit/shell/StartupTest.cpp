// Start-up and shut-down of the whole program on the null driver.
#include "app/CApplication.h"
#include "scene/CGameToken.h"
#include "tests/support/LogCapture.h"
#include "tests/support/NullDevice.h"

#include <gtest/gtest.h>

#include <string>

using testing_support::EnterCopyOfRunFolder;

namespace {

// Runs gl_Init and returns what it printed.
std::string InitAndCaptureLog(bool &result) {
  testing::internal::CaptureStdout();
  result = gl_Init(irr::video::EDT_NULL);
  fflush(stdout);
  return testing::internal::GetCapturedStdout();
}

bool Has(const std::string &log, const char *line) { return log.find(line) != std::string::npos; }

} // namespace

TEST(Startup, LogsTheBoardStepsAndFinishes) {
  bool ok = false;
  const std::string log = InitAndCaptureLog(ok);
  ASSERT_TRUE(ok) << log;
  for (const char *line : {"Kelvar: CMap::Init", "Kelvar: CMap::InitGameFields", "Kelvar: CMap::InitGameChars",
                           "Kelvar: CMap::InitGameNumbers", "Kelvar: CMap::InitGameTokens", "Kelvar: gl_Init finished"})
    EXPECT_TRUE(Has(log, line)) << line;
  EXPECT_LT(log.find("CMap::InitGameTokens"), log.find("gl_Init finished"));
  EXPECT_EQ(app.windowSize, irr::core::dimension2d<irr::s32>(1024, 768));
  EXPECT_EQ(app.colorBits, 32);
  EXPECT_EQ(app.game.GetState(), Startup);

  testing::internal::CaptureStdout();
  gl_Exit();
  EXPECT_TRUE(Has(testing::internal::GetCapturedStdout(), "Kelvar: gl_Exit finished"));
}

// A missing board asset stops start-up right after the board: nothing after
// it (interface, game, engine) is initialised and no frame is drawn.
TEST(Startup, MissingFieldMeshFailsBeforeTheInterface) {
  ASSERT_FALSE(EnterCopyOfRunFolder("chess_field_black.x").empty());
  bool ok = true;
  const std::string log = InitAndCaptureLog(ok);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(Has(log, "Kelvar: CMap::InitGameFields"));
  EXPECT_FALSE(Has(log, "CMap::InitGameChars"));
  EXPECT_FALSE(Has(log, "gl_Init finished"));
  EXPECT_EQ(app.gui.GetMenuBar(), nullptr);
  EXPECT_EQ(app.game.GetState(), Startup); // constructed, never entered
}

TEST(Startup, MissingLabelMeshFailsStartup) {
  ASSERT_FALSE(EnterCopyOfRunFolder("numbers2.x").empty());
  bool ok = true;
  const std::string log = InitAndCaptureLog(ok);
  EXPECT_FALSE(ok);
  EXPECT_TRUE(Has(log, "Kelvar: CMap::InitGameNumbers"));
  EXPECT_FALSE(Has(log, "CMap::InitGameTokens"));
}

TEST(Startup, MissingSkyTextureFailsStartup) {
  ASSERT_FALSE(EnterCopyOfRunFolder("sky_l_r_f_b.bmp").empty());
  bool ok = true;
  const std::string log = InitAndCaptureLog(ok);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(Has(log, "CMap::InitGameFields"));
}

// Pieces without a mesh are simply invisible; the game still starts.
TEST(Startup, MissingPieceMeshLeavesAnInvisiblePiece) {
  ASSERT_FALSE(EnterCopyOfRunFolder("knight.x").empty());
  bool ok = false;
  const std::string log = InitAndCaptureLog(ok);
  ASSERT_TRUE(ok) << log;
  for (int i = 20; i <= 23; ++i) {
    EXPECT_EQ(app.map.GetToken(i)->GetMeshNode(), nullptr);
    EXPECT_EQ(app.map.GetToken(i)->GetType(), Knight);
  }
  EXPECT_NE(app.map.GetToken(16)->GetMeshNode(), nullptr);
}

TEST(LogMessage, PrefixesAndCutsOverlongTexts) {
  ASSERT_TRUE(testing_support::CreateNullDevice());
  testing_support::LogCapture capture(app.device);
  LogMessage("CMap::Reset");
  const std::string huge(10000, 'x');
  LogMessage(huge.c_str());
  ASSERT_EQ(capture.Lines().size(), 2u);
  EXPECT_EQ(capture.Lines()[0], "Kelvar: CMap::Reset");
  const std::string &cut = capture.Lines()[1];
  EXPECT_EQ(cut.rfind("Kelvar: xxx", 0), 0u);
  EXPECT_GT(cut.size(), 2000u);
  EXPECT_LT(cut.size(), 2100u);
}

// Games as files in the running program: opening a PGN file onto the board,
// playing on, saving, refusing broken files, finished games, the autosave at
// exit and the resume question at start.
#include "tests/unit/game/GameFixture.h"

#include "platform/DataFiles.h"
#include "rules/CPgnReader.h"
#include "tests/support/LogCapture.h"
#include "ui/GuiIds.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class GameFilesTest : public GameFixture {
protected:
  std::string WriteFile(const std::string &name, const std::string &text) {
    const std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  static std::string MovesText() {
    const irr::core::stringw wide = app.gameFiles.GetMovesText();
    return std::string(wide.c_str(), wide.c_str() + wide.size());
  }
  // Where every token stands, captured or not: the board as the player sees it.
  static std::string Board() {
    std::string text;
    for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i) {
      const CGameToken *t = app.map.GetToken(i);
      text += std::to_string(t->GetType()) + char('a' + t->GetSquare().X) + char('1' + t->GetSquare().Y) +
              (t->IsCaptured() ? "x " : " ");
    }
    return text;
  }
  // Whether an open message box (modal ones sit inside a modal screen) shows the text.
  static bool MessageBoxSays(const std::wstring &part, irr::gui::IGUIElement *under = nullptr, bool inBox = false) {
    if (!under)
      under = app.guiEnvironment->getRootGUIElement();
    for (irr::gui::IGUIElement *child : under->getChildren()) {
      const bool box = inBox || child->getType() == irr::gui::EGUIET_MESSAGE_BOX;
      if ((box && std::wstring(child->getText()).find(part) != std::wstring::npos) || MessageBoxSays(part, child, box))
        return true;
    }
    return false;
  }
};

TEST_F(GameFilesTest, AnOpenedGameShowsItsPositionAndHistoryAndPlaysOn) {
  StartProgram("bestmove g8f6\n");
  const std::string path = WriteFile("opening.pgn", "[Event \"Club\"]\n\n1. e4 e5 {main} (1... c5) 2. Nf3 Nc6 *\n");
  testing_support::LogCapture log(app.device);
  ASSERT_TRUE(app.gameFiles.OpenGame(path));
  EXPECT_TRUE(log.Contains("Kelvar: PGN loaded 4 plies from " + path));
  EXPECT_TRUE(EngineReceived("position startpos moves e2e4 e7e5 g1f3 b8c6\n")) << Transcript();
  EXPECT_EQ(app.game.GetState(), LocalGame);
  EXPECT_EQ(app.game.GetHumanColor(), White);
  EXPECT_EQ(app.game.GetActivePlayer(), White);
  ASSERT_GE(TokenOn("f3"), 0);
  EXPECT_EQ(app.map.GetToken(TokenOn("f3"))->GetType(), Knight);
  EXPECT_EQ(TokenOn("g1"), -1);
  EXPECT_EQ(MovesText(), "1. e4 e5\n2. Nf3 Nc6\n");

  // Play on with a click, and the engine answers.
  app.cameraRig.SetWhiteView(true);
  ClickSquare("f1");
  ClickSquare("c4");
  EXPECT_TRUE(EngineReceived("f1c4\n"));
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White && !app.game.IsAwaitingEcho(); }));
  EXPECT_EQ(MovesText(), "1. e4 e5\n2. Nf3 Nc6\n3. Bc4 Nf6\n");

  // Saved to the games folder, under a new name, and readable again.
  app.gameFiles.SaveGame();
  EXPECT_TRUE(MessageBoxSays(L"saved to"));
  std::vector<fs::path> saved;
  for (const auto &entry : fs::directory_iterator(folder + "/data/kelvar/games"))
    saved.push_back(entry.path());
  ASSERT_EQ(saved.size(), 1u);
  EXPECT_EQ(saved[0].extension(), ".pgn");
  EXPECT_TRUE(log.Contains("Kelvar: PGN saved 6 plies to " + saved[0].string()));
  std::string text, error;
  ASSERT_TRUE(platform::ReadSmallFile(saved[0], 100000, text, error)) << error;
  for (const char *tag : {"[Event \"Casual game\"]", "[Site \"Kelvar\"]", "[Round \"-\"]", "[White \"Player\"]",
                          "[Black \"Kelvar Test Engine\"]", "[Result \"*\"]", "3. Bc4 Nf6 *"})
    EXPECT_NE(text.find(tag), std::string::npos) << tag << "\n" << text;
  PgnGame read;
  PgnError readError;
  ASSERT_TRUE(CPgnReader::Read(text, read, readError)) << readError.reason;
  EXPECT_EQ(read.moves.size(), 6u);
}

TEST_F(GameFilesTest, AGameFromAnotherStartGoesToTheEngineAsFen) {
  StartProgram("");
  const std::string fen = "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1";
  const std::string path = WriteFile("ending.pgn", "[SetUp \"1\"]\r\n[FEN \"" + fen + "\"]\r\n\r\n1. e4 *\r\n");
  ASSERT_TRUE(app.gameFiles.OpenGame(path));
  EXPECT_TRUE(EngineReceived("position fen " + fen + " moves e2e4\n")) << Transcript();
  EXPECT_EQ(app.game.GetHumanColor(), Black) << "the human plays the side to move";
  EXPECT_EQ(MovesText(), "1. e4\n");
  EXPECT_EQ(app.gameFiles.CurrentGame().startFen, fen);
  // Of 32 tokens, the two kings and a pawn stand on the board.
  int standing = 0;
  for (irr::s32 i = 0; i < CMap::TOKEN_COUNT; ++i)
    standing += !app.map.GetToken(i)->IsCaptured();
  EXPECT_EQ(standing, 3);
}

TEST_F(GameFilesTest, BrokenFilesAreRefusedAndTheBoardStaysAsItWas) {
  StartProgram("bestmove e7e5\n");
  StartGame(White);
  ClickSquare("e2");
  ClickSquare("e4");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White && !app.game.IsAwaitingEcho(); }));
  const std::string board = Board(), moves = MovesText();
  ASSERT_EQ(moves, "1. e4 e5\n");

  struct Case {
    std::string text, logged;
  } cases[] = {
      {"1. e4 e5\n2. Ke3 *\n", "line 2: illegal move \"Ke3\""},
      {"1. e4 Qz5 *", "line 1: unexpected character"},
      {"1. Xe4 *", "line 1: unknown piece letter 'X'"},
      {"[FEN \"8/8/8/8/8/8/8/8 w - - 0 1\"]\n\n*", "line 1: bad FEN tag"},
      {"[Event \"cut\"]\n\n1. e4 e5 2. Nf", "line 3: no target square in move \"Nf\""},
      {std::string("\x7f"
                   "ELF\x02\x01\x01\x00\x00",
                   9),
       "not a PGN text file"},
      {std::string(CPgnReader::MAX_FILE_BYTES + 10, 'x'), "larger than"},
  };
  int n = 0;
  for (const Case &c : cases) {
    const std::string path = WriteFile("broken" + std::to_string(n++) + ".pgn", c.text);
    testing_support::LogCapture log(app.device);
    EXPECT_FALSE(app.gameFiles.OpenGame(path)) << c.logged;
    bool logged = false;
    for (const std::string &line : log.Lines())
      logged = logged ||
               (line.find("Kelvar: PGN error " + path + " line ") == 0 && line.find(c.logged) != std::string::npos);
    EXPECT_TRUE(logged) << c.logged << "\n" << (log.Lines().empty() ? "(no log)" : log.Lines().back());
    EXPECT_EQ(Board(), board) << c.logged;
    EXPECT_EQ(MovesText(), moves) << c.logged;
    EXPECT_EQ(app.game.GetState(), LocalGame);
  }
  EXPECT_TRUE(MessageBoxSays(L"Cannot open"));
  EXPECT_FALSE(app.gameFiles.OpenGame(folder + "/missing.pgn"));
  EXPECT_EQ(Board(), board);
}

TEST_F(GameFilesTest, FinishedGamesShowTheirEnd) {
  StartProgram("");
  StartGame(White);
  struct Case {
    const char *text;
    GameEnd reason;
    const wchar_t *banner;
    const char *moves;
  } cases[] = {
      {"1. f3 e5 2. g4 Qh4# 0-1\n", GameEnd::Checkmate, L"CHECK MATE!\nBlack wins", "1. f3 e5\n2. g4 Qh4#\n0-1\n"},
      {"1. f3 e5 2. g4 Qh4# *\n", GameEnd::Checkmate, L"CHECK MATE!\nBlack wins", "1. f3 e5\n2. g4 Qh4#\n0-1\n"},
      {"[Result \"1-0\"]\n\n1. e4 e5 1-0\n", GameEnd::Recorded, L"GAME OVER\n1-0", "1. e4 e5\n1-0\n"},
      {"1. d4 d5 1/2-1/2\n", GameEnd::Recorded, L"GAME OVER\n1/2-1/2", "1. d4 d5\n1/2-1/2\n"},
  };
  int n = 0;
  for (const Case &c : cases) {
    ASSERT_TRUE(app.gameFiles.OpenGame(WriteFile("over" + std::to_string(n++) + ".pgn", c.text))) << c.text;
    EXPECT_TRUE(app.game.IsGameOver()) << c.text;
    EXPECT_EQ(app.game.GetVerdict().reason, c.reason) << c.text;
    irr::gui::IGUIStaticText *banner = app.gui.GetBannerText();
    ASSERT_NE(banner, nullptr);
    EXPECT_TRUE(banner->isVisible()) << c.text;
    EXPECT_EQ(std::wstring(banner->getText()), c.banner);
    EXPECT_EQ(MovesText(), c.moves);
  }
  EXPECT_EQ(app.map.GetToken(TokenOn("d5"))->GetColor(), Black);
  gl_Exit();
  EXPECT_FALSE(platform::FileExists(folder + "/data/kelvar/autosave.pgn")) << "a finished game is not kept";
}

TEST_F(GameFilesTest, AnUnfinishedGameIsKeptAtExitAndAFinishedOneIsNot) {
  StartProgram("bestmove e7e5\n");
  StartGame(White);
  ClickSquare("e2");
  ClickSquare("e4");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White && !app.game.IsAwaitingEcho(); }));
  const std::string autosave = app.gameFiles.GetAutosavePath();
  EXPECT_EQ(autosave, folder + "/data/kelvar/autosave.pgn");
  gl_Exit();
  std::string text, error;
  ASSERT_TRUE(platform::ReadSmallFile(autosave, 100000, text, error)) << error;
  EXPECT_NE(text.find("1. e4 e5 *"), std::string::npos) << text;
}

TEST_F(GameFilesTest, AnAbortedGameLeavesNoAutosave) {
  presetAutosave = "1. d4 *\n";
  StartProgram("");
  ASSERT_TRUE(app.gameFiles.IsAskingToResume());
  irr::SEvent escape{};
  escape.EventType = irr::EET_KEY_INPUT_EVENT;
  escape.KeyInput.Key = irr::KEY_ESCAPE;
  escape.KeyInput.PressedDown = true;
  EXPECT_TRUE(app.eventReceiver.OnEvent(escape));
  EXPECT_FALSE(app.gameFiles.IsAskingToResume());
  EXPECT_FALSE(platform::FileExists(folder + "/data/kelvar/autosave.pgn")) << "No deletes the autosave";
  StartGame(White);
  ClickSquare("e2");
  ClickSquare("e4");
  app.game.SetState(Idle); // abort
  gl_Exit();
  EXPECT_FALSE(platform::FileExists(folder + "/data/kelvar/autosave.pgn"));
}

TEST_F(GameFilesTest, EnterResumesTheUnfinishedGame) {
  presetAutosave = "[Event \"Casual game\"]\n\n1. d4 d5 2. c4 *\n";
  StartProgram("");
  ASSERT_TRUE(app.gameFiles.IsAskingToResume());
  EXPECT_TRUE(MessageBoxSays(L"Resume the unfinished game?"));
  irr::SEvent enter{};
  enter.EventType = irr::EET_KEY_INPUT_EVENT;
  enter.KeyInput.Key = irr::KEY_RETURN;
  enter.KeyInput.PressedDown = true;
  EXPECT_TRUE(app.eventReceiver.OnEvent(enter));
  EXPECT_FALSE(MessageBoxSays(L"Resume the unfinished game?"));
  EXPECT_EQ(app.game.GetState(), LocalGame);
  EXPECT_EQ(app.game.GetHumanColor(), Black);
  EXPECT_EQ(MovesText(), "1. d4 d5\n2. c4\n");
  EXPECT_TRUE(EngineReceived("position startpos moves d2d4 d7d5 c2c4\n"));
}

} // namespace

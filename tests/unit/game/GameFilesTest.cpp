// Games as files in the running program: opening a PGN file onto the board,
// playing on, saving, refusing broken files, finished games, the autosave at
// exit and the resume question at start.
#include "tests/unit/game/GameFixture.h"

#include "chess/CPgnReader.h"
#include "chess/CPgnWriter.h"
#include "platform/DataFiles.h"
#include "tests/support/LogCapture.h"
#include "ui/CGUITextWindow.h"
#include "ui/GuiIds.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class GameFilesTest : public GameFixture {
protected:
  // What the moves history window shows (opened if need be), below the
  // opening's name.
  static std::string MovesText() {
    if (!app.gui.GetMovesWindow())
      app.gui.ToggleMovesWindow();
    const std::wstring wide = app.gui.GetMovesWindow()->GetTextArea()->getText();
    const std::string text(wide.begin(), wide.end());
    const std::string &opening = app.openings.GetShownName();
    return !opening.empty() && text.rfind(opening + "\n\n", 0) == 0 ? text.substr(opening.size() + 2) : text;
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
  EXPECT_EQ(MovesText(), "1. e4 e5\n2. Nf3 Nc6");

  // The colour window asks which side to play; White is the side to move.
  ASSERT_TRUE(ClickColorButton(ID_BUTTON_WHITE));
  EXPECT_EQ(app.gui.GetColorWindow(), nullptr);

  // Play on with a click, and the engine answers.
  app.cameraRig.SetWhiteView(true);
  ClickSquare("f1");
  ClickSquare("c4");
  EXPECT_TRUE(EngineReceived("f1c4\n"));
  ASSERT_TRUE(FramesUntil([] { return app.game.GetActivePlayer() == White && !app.game.IsAwaitingEcho(); }));
  EXPECT_EQ(MovesText(), "1. e4 e5\n2. Nf3 Nc6\n3. Bc4 Nf6");

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
  // The file's own tags and comment stay; only the moves and the result change.
  for (const char *tag : {"[Event \"Club\"]", "[Result \"*\"]", "e5 {main}", "3. Bc4 Nf6 *"})
    EXPECT_NE(text.find(tag), std::string::npos) << tag << "\n" << text;
  chess::PgnGame read;
  chess::PgnError readError;
  ASSERT_TRUE(chess::CPgnReader::Read(text, read, readError)) << readError.reason;
  EXPECT_EQ(read.moves.size(), 6u);

  // A take back gives the window the shorter game.
  app.game.TakeBack();
  EXPECT_EQ(MovesText(), "1. e4 e5\n2. Nf3 Nc6");
}

TEST_F(GameFilesTest, AGameFromAnotherStartGoesToTheEngineAsFen) {
  StartProgram("");
  const std::string fen = "4k3/8/8/8/8/8/4P3/4K3 w - - 0 1";
  const std::string path = WriteFile("ending.pgn", "[SetUp \"1\"]\r\n[FEN \"" + fen + "\"]\r\n\r\n1. e4 *\r\n");
  ASSERT_TRUE(app.gameFiles.OpenGame(path));
  EXPECT_TRUE(EngineReceived("position fen " + fen + " moves e2e4\n")) << Transcript();
  EXPECT_EQ(app.game.GetHumanColor(), Black) << "the human plays the side to move";
  EXPECT_EQ(MovesText(), "1. e4");
  EXPECT_EQ(app.gameFiles.CurrentGame().startFen, fen);
  EXPECT_NE(app.gui.GetColorWindow(), nullptr) << "an unfinished game asks for a side";
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
  ASSERT_EQ(moves, "1. e4 e5");

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
      {std::string(chess::CPgnReader::MAX_FILE_BYTES + 10, 'x'), "larger than"},
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

  // The moves before the fault are offered, and opened only on Yes.
  EXPECT_FALSE(app.gameFiles.OpenGame(WriteFile("cut.pgn", "1. d4 d5 2. c4 {the Queen's")));
  EXPECT_TRUE(MessageBoxSays(L"Open the 2 moves that could be read?"));
  EXPECT_EQ(Board(), board);
  irr::SEvent yes{};
  yes.EventType = irr::EET_GUI_EVENT;
  yes.GUIEvent.EventType = irr::gui::EGET_MESSAGEBOX_YES;
  yes.GUIEvent.Caller = app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_OPEN_PART_BOX, true);
  ASSERT_NE(yes.GUIEvent.Caller, nullptr);
  app.eventReceiver.OnEvent(yes);
  EXPECT_EQ(MovesText(), "1. d4 d5\n2. c4");
}

TEST_F(GameFilesTest, FinishedGamesShowTheirEnd) {
  StartProgram("");
  StartGame(White);
  struct Case {
    const char *text;
    chess::GameEnd reason;
    const wchar_t *banner;
    const char *moves;
  } cases[] = {
      {"1. f3 e5 2. g4 Qh4# 0-1\n", chess::GameEnd::Checkmate, L"CHECK MATE!\nBlack wins", "1. f3 e5\n2. g4 Qh4#\n0-1"},
      {"1. f3 e5 2. g4 Qh4# *\n", chess::GameEnd::Checkmate, L"CHECK MATE!\nBlack wins", "1. f3 e5\n2. g4 Qh4#\n0-1"},
      {"[Result \"1-0\"]\n\n1. e4 e5 1-0\n", chess::GameEnd::Recorded, L"GAME OVER\n1-0", "1. e4 e5\n1-0"},
      {"1. d4 d5 1/2-1/2\n", chess::GameEnd::Recorded, L"GAME OVER\n1/2-1/2", "1. d4 d5\n1/2-1/2"},
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
    EXPECT_EQ(app.gui.GetColorWindow(), nullptr) << "a finished game asks for no side";
    EXPECT_FALSE(app.game.IsChoosingSide());
  }
  EXPECT_EQ(app.map.GetToken(TokenOn("d5"))->GetColor(), Black);
  Frames(1);
  gl_Exit();
  EXPECT_FALSE(platform::FileExists(folder + "/data/kelvar/autosave.pgn")) << "a finished game is not kept";
}

// After an unfinished game is opened nobody moves until the colour window is
// answered; then the human plays the chosen side, the engine opening from the
// loaded position when the human took the side not to move.
TEST_F(GameFilesTest, TheColourWindowChoosesTheSideOfAnOpenedGame) {
  const std::string italian = "1. e4 e5 2. Nf3 Nc6 *";
  const std::string fen = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3";
  struct Case {
    const char *name;
    std::string pgn;
    irr::s32 button;
    std::string position; // what the engine is told at the load
    bool engineOpens;     // a search follows the position once the side is chosen
    const char *moves;    // the history once the engine's move (if any) is in
    irr::s32 human;       // the colour the clicks play next
  } cases[] = {
      {"white, the side to move", italian, ID_BUTTON_WHITE, "position startpos moves e2e4 e7e5 g1f3 b8c6\n", false,
       "1. e4 e5\n2. Nf3 Nc6", White},
      {"black, the engine opens", italian, ID_BUTTON_BLACK, "position startpos moves e2e4 e7e5 g1f3 b8c6\n", true,
       "1. e4 e5\n2. Nf3 Nc6\n3. Bc4", Black},
      {"two players", italian, ID_BUTTON_TWO_PLAYERS, "position startpos moves e2e4 e7e5 g1f3 b8c6\n", false,
       "1. e4 e5\n2. Nf3 Nc6", White},
      {"white from a FEN, Black to move: the engine opens", "[SetUp \"1\"]\n[FEN \"" + fen + "\"]\n\n3. Bc4 *",
       ID_BUTTON_WHITE, "position fen " + fen + " moves f1c4\n", true, "3. Bc4 Nf6", White},
  };
  // The engine's moves of the cases where it opens, in order.
  StartProgram("bestmove f1c4 g8f6\n");
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const size_t before = Transcript().size();
    ASSERT_TRUE(app.gameFiles.OpenGame(WriteFile("game.pgn", c.pgn)));
    ASSERT_TRUE(FramesUntil([&] { return Transcript().find(c.position + "isready\n", before) != std::string::npos; }))
        << Transcript();
    ASSERT_NE(app.gui.GetColorWindow(), nullptr);
    EXPECT_TRUE(app.game.IsChoosingSide());

    // Meanwhile the board takes no click (on pawns beside the window), the
    // engine is asked nothing, and there is nothing to take back or resign.
    const std::string told = Transcript();
    ClickSquare("a2");
    ClickSquare("h7");
    Frames(20);
    EXPECT_EQ(app.map.GetSelectedToken(), -1);
    EXPECT_EQ(Transcript(), told);
    EXPECT_FALSE(app.game.CanTakeBack());
    EXPECT_FALSE(app.game.CanResign());
    EXPECT_FALSE(app.hint.Request());

    ASSERT_TRUE(ClickColorButton(c.button));
    EXPECT_EQ(app.gui.GetColorWindow(), nullptr);
    EXPECT_FALSE(app.game.IsChoosingSide());
    EXPECT_EQ(app.game.IsTwoPlayers(), c.button == ID_BUTTON_TWO_PLAYERS);
    if (c.engineOpens) {
      EXPECT_TRUE(FramesUntil([&] { return Transcript().find("go\n", told.size()) != std::string::npos; }));
      EXPECT_TRUE(FramesUntil(
          [] { return app.game.GetActivePlayer() == app.game.GetHumanColor() && !app.game.IsAwaitingEcho(); }));
    } else {
      Frames(20);
      EXPECT_EQ(Transcript(), told) << "the engine is not asked to move";
    }
    EXPECT_EQ(MovesText(), c.moves);
    EXPECT_EQ(app.game.GetHumanColor(), c.human);
    EXPECT_EQ(app.game.GetActivePlayer(), c.human);
    EXPECT_TRUE(app.game.CanResign());
  }
}

// Ctrl+O opens Irrlicht's file dialog in the games folder; a click on a game
// in its list and one on OK open that game. The working directory, on which
// every media path depends, is the run folder again as soon as the dialog
// closes, chosen or cancelled.
TEST_F(GameFilesTest, AGameClickedInTheLoadDialogIsOpened) {
  StartProgram("");
  const std::string games = folder + "/data/kelvar/games";
  fs::create_directories(games);
  std::ofstream(games + "/queens-gambit.pgn") << "1. d4 d5 2. c4 *\n";
  const std::string runFolder = fs::current_path().string();
  testing_support::LogCapture log(app.device);

  for (const bool choose : {false, true}) {
    SCOPED_TRACE(choose ? "chosen" : "cancelled");
    irr::SEvent ctrlO{};
    ctrlO.EventType = irr::EET_KEY_INPUT_EVENT;
    ctrlO.KeyInput.Key = irr::KEY_KEY_O;
    ctrlO.KeyInput.Control = true;
    ctrlO.KeyInput.PressedDown = true;
    EXPECT_TRUE(app.eventReceiver.OnEvent(ctrlO));
    irr::gui::IGUIElement *dialog = app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_LOAD_DIALOG, true);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(fs::current_path(), fs::path(games));

    // The dialog's parts: the list of the folder's entries and the buttons.
    irr::gui::IGUIListBox *list = nullptr;
    irr::gui::IGUIElement *ok = nullptr, *cancel = nullptr;
    for (irr::gui::IGUIElement *child : dialog->getChildren()) {
      if (child->getType() == irr::gui::EGUIET_LIST_BOX)
        list = static_cast<irr::gui::IGUIListBox *>(child);
      if (child->getType() == irr::gui::EGUIET_BUTTON && std::wstring(child->getText()) == L"OK")
        ok = child;
      if (child->getType() == irr::gui::EGUIET_BUTTON && std::wstring(child->getText()) == L"Cancel")
        cancel = child;
    }
    ASSERT_TRUE(list && ok && cancel);
    irr::s32 item = -1;
    for (irr::u32 i = 0; i < list->getItemCount(); ++i)
      if (std::wstring(list->getListItem(i)) == L"queens-gambit.pgn")
        item = irr::s32(i);
    ASSERT_GE(item, 0) << "the saved game is listed";

    if (choose) {
      // A click on the game's row, then on OK.
      const irr::core::rect<irr::s32> box = list->getAbsolutePosition();
      const irr::s32 x = box.getCenter().X;
      irr::s32 y = box.UpperLeftCorner.Y;
      while (y < box.LowerRightCorner.Y && list->getItemAt(x, y) != item)
        ++y;
      ASSERT_LT(y, box.LowerRightCorner.Y);
      testing_support::PostMouse(irr::EMIE_LMOUSE_PRESSED_DOWN, x, y + 2);
      testing_support::PostMouse(irr::EMIE_LMOUSE_LEFT_UP, x, y + 2);
      EXPECT_EQ(list->getSelected(), item);
    }
    const irr::core::position2di button = (choose ? ok : cancel)->getAbsolutePosition().getCenter();
    testing_support::PostMouse(irr::EMIE_LMOUSE_PRESSED_DOWN, button.X, button.Y);
    testing_support::PostMouse(irr::EMIE_LMOUSE_LEFT_UP, button.X, button.Y);
    EXPECT_EQ(fs::current_path(), fs::path(runFolder));
    EXPECT_EQ(app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_LOAD_DIALOG, true), nullptr);
    EXPECT_EQ(log.Contains("Kelvar: PGN loaded 3 plies from " + games + "/queens-gambit.pgn"), choose);
    EXPECT_EQ(app.game.GetState(), choose ? LocalGame : Idle);
    EXPECT_EQ(app.gui.GetColorWindow() != nullptr, choose) << "the loaded game asks for a side";
    Frames(2);
  }
  EXPECT_EQ(MovesText(), "1. d4 d5\n2. c4");
}

} // namespace

// Under-promotions in a file are played as written, on the board, in the
// history and towards the engine: not as queens.
TEST_F(GameFilesTest, UnderPromotionsInAFileArePlayedAsWritten) {
  StartProgram("");
  const std::string path = WriteFile("under.pgn", "1. a4 h5 2. a5 h4 3. a6 h3 4. axb7 hxg2 5. bxa8=N gxh1=R *\n");
  ASSERT_TRUE(app.gameFiles.OpenGame(path));
  ASSERT_NE(TokenOn("a8"), -1);
  ASSERT_NE(TokenOn("h1"), -1);
  EXPECT_EQ(app.map.GetToken(TokenOn("a8"))->GetType(), Knight);
  EXPECT_EQ(app.map.GetToken(TokenOn("h1"))->GetType(), Rook);
  EXPECT_NE(MovesText().find("5. bxa8=N gxh1=R"), std::string::npos) << MovesText();
  EXPECT_TRUE(EngineReceived("position startpos moves a2a4 h7h5 a4a5 h5h4 a5a6 h4h3 a6b7 h3g2 b7a8n g2h1r\n"))
      << Transcript();
}

namespace {

// A file of several games lists them all, a broken first one too; the one
// chosen opens, and saved again it keeps the file's tags, comments, NAGs and
// UTF-8 names, with only the moves played on and the result changed.
TEST_F(GameFilesTest, AFileOfSeveralGamesIsListedAndAChosenGameKeepsWhatItHolds) {
  StartProgram("bestmove b8c6\n");
  const std::string path =
      WriteFile("three.pgn", "[White \"Broken\"]\n\n1. e4 e5 2. Ke3 *\n\n"
                             "[Event \"Havana\"]\n[Site \"La Habana\"]\n[Date \"1921.03.15\"]\n[Round \"4\"]\n"
                             "[White \"José Raúl Capablanca\"]\n[Black \"Emanuel Lasker\"]\n[Result \"*\"]\n"
                             "[Annotator \"Ménard\"]\n\n{A classic.} 1. d4 $1 d5 {solid} 2. Nf3 e6?! *\n\n"
                             "[White \"C\"]\n[Black \"D\"]\n[Date \"2001.01.01\"]\n[Result \"1-0\"]\n\n1. c4 1-0\n");
  EXPECT_TRUE(app.gameFiles.OpenGame(path));
  CGameListWindow &list = app.gui.GetGameList();
  ASSERT_TRUE(list.IsOpen());
  ASSERT_EQ(list.GetList()->getItemCount(), 3u);
  EXPECT_NE(std::wstring(list.GetList()->getListItem(0)).find(L"broken at line 3"), std::wstring::npos);
  EXPECT_EQ(std::wstring(list.GetList()->getListItem(2)), L"C - D, 2001.01.01, 1-0");
  EXPECT_EQ(list.GetList()->getSelected(), 1) << "the first game that can be read";
  list.GetList()->setSelected(0);
  chess::PgnGameEntry none;
  std::string nowhere;
  EXPECT_FALSE(list.TakeChoice(none, nowhere)) << "a broken game is not opened";
  list.GetList()->setSelected(1);
  irr::SEvent open{};
  open.EventType = irr::EET_GUI_EVENT;
  open.GUIEvent.EventType = irr::gui::EGET_BUTTON_CLICKED;
  open.GUIEvent.Caller = app.guiEnvironment->getRootGUIElement()->getElementFromId(ID_GAME_LIST_OPEN, true);
  ASSERT_NE(open.GUIEvent.Caller, nullptr);
  app.eventReceiver.OnEvent(open);
  EXPECT_FALSE(list.IsOpen());
  EXPECT_EQ(MovesText(), "1. d4 d5\n2. Nf3 e6");
  ASSERT_TRUE(ClickColorButton(ID_BUTTON_WHITE));
  ClickSquare("b1");
  ClickSquare("c3");
  ASSERT_TRUE(FramesUntil([] { return app.game.GetRecord().GetPlyCount() == 6; }));

  std::string text, error;
  ASSERT_TRUE(chess::CPgnWriter::Write(app.gameFiles.CurrentGame(), text, error)) << error;
  for (const char *kept : {"[Event \"Havana\"]", "[Date \"1921.03.15\"]", "[White \"José Raúl Capablanca\"]",
                           "[Annotator \"Ménard\"]", "{A classic.}", "1. d4 $1 d5 {solid}", "e6 $6", "3. Nc3 Nc6 *"})
    EXPECT_NE(text.find(kept), std::string::npos) << kept << "\n" << text;
  EXPECT_EQ(text.find("Casual game"), std::string::npos) << text;
}

} // namespace

// The unfinished game kept for the next start: written after every change,
// offered again with its side and level, kept apart from other copies, never
// lost unread when damaged, and failures told to the player.
#include "tests/unit/game/GameFixture.h"

#include "chess/CPgnReader.h"
#include "game/CAutosave.h"
#include "platform/DataFiles.h"
#include "tests/support/LogCapture.h"
#include "ui/GuiIds.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class UnfinishedGameTest : public GameFixture {
protected:
  std::string Kept() const { return folder + "/data/kelvar/autosave.pgn"; }
  // The plies of the game in the file, or -1 if it cannot be read.
  static int PliesIn(const std::string &path) {
    std::string text, error;
    chess::PgnGame game;
    chess::PgnError fault;
    if (!platform::ReadSmallFile(path, 100000, text, error) || !chess::CPgnReader::Read(text, game, fault))
      return -1;
    return int(game.moves.size());
  }
  // Runs frames until the writer has put a game of that many plies in the
  // file (-1: until there is no file).
  bool KeptPliesBecome(int plies) {
    const std::string path = Kept();
    return FramesUntil([&] { return plies < 0 ? !platform::PathExists(path) : PliesIn(path) == plies; });
  }
  static void Answer(irr::s32 box, irr::gui::EGUI_EVENT_TYPE answer) {
    irr::SEvent event{};
    event.EventType = irr::EET_GUI_EVENT;
    event.GUIEvent.EventType = answer;
    event.GUIEvent.Caller = app.guiEnvironment->getRootGUIElement()->getElementFromId(box, true);
    ASSERT_NE(event.GUIEvent.Caller, nullptr) << "no box " << box;
    app.eventReceiver.OnEvent(event);
    event.GUIEvent.Caller->remove();
  }
};

// The file follows the game through every kind of change, with no quit.
TEST_F(UnfinishedGameTest, TheFileFollowsEveryMoveTakeBackLoadAndNewGame) {
  StartProgram("bestmove e7e5\nbestmove g8f6\n");
  EXPECT_EQ(app.unfinishedGame.GetPath(), Kept());
  StartGame(White);
  ClickSquare("e2");
  ClickSquare("e4");
  ASSERT_TRUE(KeptPliesBecome(2)) << "the human's move and the engine's answer";
  std::string text, error;
  ASSERT_TRUE(platform::ReadSmallFile(Kept(), 100000, text, error));
  for (const char *tag : {"[Event \"Casual game\"]", "[White \"Player\"]", "[Black \"Kelvar Test Engine\"]",
                          "[KelvarSide \"White\"]", "1. e4 e5 *"})
    EXPECT_NE(text.find(tag), std::string::npos) << tag << "\n" << text;
  EXPECT_NE(text.find("[KelvarLevel \"" + std::to_string(app.settings.Get().level) + "\"]"), std::string::npos);

  ASSERT_TRUE(FramesUntil([] { return app.game.CanTakeBack(); }));
  app.game.TakeBack();
  ASSERT_TRUE(KeptPliesBecome(-1)) << "taken back to the start: nothing left to keep";

  ASSERT_TRUE(app.gameFiles.OpenGame(WriteFile("four.pgn", "1. d4 d5 2. c4 e6 *\n")));
  ASSERT_TRUE(KeptPliesBecome(4)) << "a loaded game is kept at once";

  app.game.SetState(Idle); // abort
  ASSERT_TRUE(KeptPliesBecome(-1));
  gl_Exit();
  EXPECT_FALSE(platform::PathExists(Kept()));
}

// A resumed game goes on as the side it was played from, at its level; an
// older file without those tags asks for the side; No lets the game go. Each
// case starts the program in a process of its own.
struct ResumeCase {
  const char *name;
  const char *file;
  bool yes;
  bool asksSide;
  irr::s32 human;
  int level;
};

// Test names and listings show the case's name, not its bytes.
void PrintTo(const ResumeCase &c, std::ostream *out) { *out << c.name; }

class ResumeQuestion : public UnfinishedGameTest, public testing::WithParamInterface<ResumeCase> {};

TEST_P(ResumeQuestion, RestoresSideAndLevel) {
  const ResumeCase &c = GetParam();
  presetAutosave = c.file;
  StartProgram("");
  ASSERT_TRUE(app.unfinishedGame.IsAskingToResume());
  EXPECT_TRUE(MessageBoxSays(L"Resume the unfinished game?"));
  Press(c.yes ? irr::KEY_RETURN : irr::KEY_ESCAPE);
  EXPECT_FALSE(app.unfinishedGame.IsAskingToResume());
  if (!c.yes) {
    ASSERT_TRUE(KeptPliesBecome(-1)) << "No lets the game go";
    return;
  }
  EXPECT_EQ(app.game.GetState(), LocalGame);
  EXPECT_EQ(app.gui.GetColorWindow() != nullptr, c.asksSide);
  EXPECT_EQ(app.game.GetHumanColor(), c.human);
  if (c.level) {
    EXPECT_EQ(app.settings.Get().level, c.level);
  }
  EXPECT_TRUE(EngineReceived("position startpos moves d2d4"));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ResumeQuestion,
    testing::Values(ResumeCase{"BlackAtLevel2", "[KelvarSide \"Black\"]\n[KelvarLevel \"2\"]\n\n1. d4 d5 2. c4 *\n",
                               true, false, Black, 2},
                    ResumeCase{"TwoPlayers", "[KelvarSide \"Both\"]\n\n1. d4 *\n", true, false, Black, 0},
                    ResumeCase{"NoSideKept", "[Event \"Casual game\"]\n\n1. d4 d5 2. c4 *\n", true, true, Black, 0},
                    ResumeCase{"AnsweredNo", "1. d4 *\n", false, false, White, 0}),
    [](const testing::TestParamInfo<ResumeCase> &info) { return std::string(info.param.name); });

// A file that cannot be read is renamed aside, never deleted, and the moves
// read up to its fault are offered. Each case in a process of its own.
struct DamageCase {
  const char *name;
  std::string content; // empty: a folder stands at the path
  int offered;         // plies offered, 0 for no offer
};

void PrintTo(const DamageCase &c, std::ostream *out) { *out << c.name; }

class DamagedFile : public UnfinishedGameTest, public testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedFile, IsKeptAsideAndItsGoodMovesOffered) {
  const DamageCase &c = GetParam();
  StartProgram("", false);
  const std::string path = Kept();
  fs::create_directories(folder + "/data/kelvar");
  if (c.content.empty())
    fs::create_directories(path);
  else
    std::ofstream(path, std::ios::binary) << c.content;
  AdvanceMs(5001);
  Frames(2);
  std::vector<std::string> aside;
  for (const auto &entry : fs::directory_iterator(folder + "/data/kelvar"))
    if (entry.path().filename().string().rfind("autosave.pgn.broken-", 0) == 0)
      aside.push_back(entry.path().string());
  ASSERT_EQ(aside.size(), 1u) << "renamed aside";
  EXPECT_FALSE(platform::PathExists(path));
  if (!c.content.empty()) {
    std::string kept, error;
    ASSERT_TRUE(platform::ReadSmallFile(aside[0], 100000, kept, error));
    EXPECT_EQ(kept, c.content) << "kept as it was";
  }
  EXPECT_TRUE(MessageBoxSays(L"could not be read"));
  EXPECT_EQ(app.unfinishedGame.IsAskingToResume(), c.offered > 0);
  if (c.offered) {
    const int moves = (c.offered + 1) / 2;
    const std::wstring question = L"Resume the " + std::to_wstring(moves) + (moves == 1 ? L" move " : L" moves ");
    EXPECT_TRUE(MessageBoxSays(question));
    Press(irr::KEY_RETURN);
    EXPECT_EQ(int(app.game.GetRecord().GetPlyCount()), c.offered);
    ASSERT_TRUE(KeptPliesBecome(c.offered)) << "the good moves are kept again";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedFile,
    testing::Values(DamageCase{"CutMidMove",
                               "[Event \"x\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re", 10},
                    DamageCase{"CutInAComment", "1. d4 d5 2. c4 {the Queen's", 3},
                    DamageCase{"IllegalMove", "1. e4 e5 2. Ke3 *\n", 2},
                    DamageCase{"Binary",
                               std::string("\x7f"
                                           "ELF\x02\x01\x01\0\0\xff\xfe",
                                           12),
                               0},
                    DamageCase{"AFolder", "", 0}),
    [](const testing::TestParamInfo<DamageCase> &info) { return std::string(info.param.name); });

// A write that fails is told once, the last good file stays, and Quit then
// asks: Cancel stays in the game, No saves elsewhere, after which Quit goes.
TEST_F(UnfinishedGameTest, AFailedWriteIsToldAndQuitAsks) {
  StartProgram("bestmove e7e5\nbestmove b8c6\nbestmove g8f6\n");
  StartGame(White);
  ClickSquare("e2");
  ClickSquare("e4");
  ASSERT_TRUE(KeptPliesBecome(2));
  // Writes fail from now on: a folder stands where the file goes (root may
  // write in any folder, so permissions would not stop these tests).
  fs::remove(Kept());
  fs::create_directories(Kept() + "/x"); // a non-empty folder cannot be renamed over
  testing_support::LogCapture log(app.device);
  ClickSquare("d2");
  ClickSquare("d4");
  ASSERT_TRUE(FramesUntil([] { return MessageBoxSays(L"could not be kept"); }));
  EXPECT_TRUE(log.Contains("Kelvar: CUnfinishedGame autosave failed: cannot write " + Kept()));
  ASSERT_TRUE(FramesUntil([] { return app.game.GetRecord().GetPlyCount() == 4; }));
  ASSERT_TRUE(FramesUntil([&] { return log.Contains("Kelvar: CUnfinishedGame autosave failed: cannot write"); }));
  int boxes = 0; // message boxes sit in modal screens
  for (irr::gui::IGUIElement *screen : app.guiEnvironment->getRootGUIElement()->getChildren())
    for (irr::gui::IGUIElement *child : screen->getChildren())
      boxes += child->getType() == irr::gui::EGUIET_MESSAGE_BOX;
  EXPECT_EQ(boxes, 1) << "told once, not at every move";
  EXPECT_FALSE(app.unfinishedGame.ConfirmQuit());
  EXPECT_TRUE(MessageBoxSays(L"Cancel: go back to the game"));
  Answer(ID_QUIT_UNSAVED_BOX, irr::gui::EGET_MESSAGEBOX_CANCEL);
  EXPECT_TRUE(app.device->run()) << "Cancel keeps the program running";
  EXPECT_FALSE(app.unfinishedGame.ConfirmQuit());
  Answer(ID_QUIT_UNSAVED_BOX, irr::gui::EGET_MESSAGEBOX_NO);
  EXPECT_TRUE(MessageBoxSays(L"The game was saved to\n" + std::wstring(folder.begin(), folder.end())));
  EXPECT_TRUE(app.unfinishedGame.ConfirmQuit()) << "saved elsewhere: nothing is lost by quitting";
  int found = 0;
  for (const auto &entry : fs::directory_iterator(folder + "/data/kelvar/games"))
    found += PliesIn(entry.path().string()) == 4;
  EXPECT_EQ(found, 1);
}

// Two copies with the same home: each holds a slot of its own; the next
// start takes over a slot a copy left behind, its game first.
TEST(AutosaveSlots, RunningCopiesKeepFilesOfTheirOwn) {
  const std::string folder = testing::TempDir() + "kelvar-slots-" + std::to_string(getpid());
  fs::remove_all(folder);
  std::string error;
  CAutosave first, second, third;
  ASSERT_TRUE(first.Claim(folder, true, error)) << error;
  ASSERT_TRUE(second.Claim(folder, true, error)) << error;
  EXPECT_EQ(first.GetPath(), folder + "/autosave.pgn");
  EXPECT_EQ(second.GetPath(), folder + "/autosave-2.pgn");
  second.Save("1. c4 *\n", 1);
  ASSERT_TRUE(second.Flush(error)) << error;
  second.Release(); // that copy ends
  ASSERT_TRUE(third.Claim(folder, true, error));
  EXPECT_EQ(third.GetSlot(), 2) << "the game left behind comes first";
  third.Release();
  ASSERT_TRUE(third.Claim(folder, false, error));
  EXPECT_EQ(third.GetSlot(), 3) << "a copy opening a file of its own leaves that game alone";
  fs::remove_all(folder);
}

// A copy killed at random instants while it keeps writing: the file always
// reads back whole, with every move whose write had finished.
TEST(AutosaveSlots, AKillAtAnyInstantLeavesAWholeFile) {
  const std::string folder = testing::TempDir() + "kelvar-kill-" + std::to_string(getpid());
  const char *line[] = {"e4", "e5", "Nf3", "Nc6", "Bb5", "a6", "Ba4", "Nf6", "O-O", "Be7", "Re1", "b5"};
  std::mt19937 random(12345);
  for (int round = 0; round < 40; ++round) {
    fs::remove_all(folder);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipeFds[0]);
      CAutosave autosave;
      std::string error;
      if (!autosave.Claim(folder, true, error))
        _exit(3);
      for (int cycle = 0;; ++cycle) {
        std::string text = "[Event \"kill\"]\n\n";
        const int plies = cycle % 12 + 1;
        for (int i = 0; i < plies; ++i)
          text += (i % 2 ? "" : std::to_string(i / 2 + 1) + ". ") + line[i] + " ";
        autosave.Save(text + "*\n", size_t(plies));
        if (!autosave.Flush(error))
          _exit(4);
        const char done = char(plies);
        if (write(pipeFds[1], &done, 1) != 1)
          _exit(5);
      }
    }
    close(pipeFds[1]);
    usleep(useconds_t(2000 + random() % 30000));
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    char done = 0, last = 0;
    while (read(pipeFds[0], &done, 1) == 1)
      last = done;
    close(pipeFds[0]);
    if (last == 0)
      continue; // killed before the first write finished
    std::string text, error;
    chess::PgnGame game;
    chess::PgnError fault;
    ASSERT_TRUE(platform::ReadSmallFile(folder + "/autosave.pgn", 100000, text, error)) << error;
    ASSERT_TRUE(chess::CPgnReader::Read(text, game, fault)) << "round " << round << ": " << fault.reason;
    // The last finished write, or the one after it that was under way.
    const int plies = int(game.moves.size());
    EXPECT_TRUE(plies == last || plies == last % 12 + 1)
        << "round " << round << ": " << plies << " after " << int(last);
  }
  fs::remove_all(folder);
}

} // namespace

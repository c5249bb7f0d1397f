// The message boxes and the two text windows: help and moves history.
#include "ui/CGui.h"

#include "app/CApplication.h"
#include "ui/CGUITextWindow.h"
#include "ui/CGuiLayout.h"
#include "ui/GuiIds.h"

#include <cmath>
#include <vector>

using namespace irr;

namespace {

const char *const HELP_FILE = "./media/chess_helptext.txt";
const wchar_t *const HELP_MISSING = L"Helpfile not found.";

const wchar_t *const ABOUT_TEXT = L"Kelvar\n"
                                  L"Chess on a three-dimensional board, against a computer\n"
                                  L"opponent or between two players at one screen.\n"
                                  L"\n"
                                  L"The opponent is the Stockfish chess engine, free software\n"
                                  L"under the GNU General Public License, version 3.";

} // namespace

gui::IGUIWindow *CGui::ShowMessageBox(const wchar_t *caption, const wchar_t *text, s32 flags, s32 id) {
  gui::IGUIEnvironment *env = app.guiEnvironment;
  gui::IGUIWindow *box = env->addMessageBox(caption, text, true /*modal*/, flags, env->getRootGUIElement(), id);
  if (box && box->getCloseButton())
    box->getCloseButton()->setVisible(false);
  return box;
}

void CGui::ShowQuitDialog() {
  ShowMessageBox(L"Notfication", L"Do you really want to close the application?", gui::EMBF_YES | gui::EMBF_NO,
                 ID_QUIT_BOX);
}

void CGui::ShowAboutDialog() { ShowMessageBox(L"About the Program...", ABOUT_TEXT, gui::EMBF_OK, -1); }

void CGui::ShowEngineInfoDialog() {
  core::stringw info = app.engine.GetEngineInfo();
  // The level the engine plays now, which its handshake cannot tell.
  const CSettings &settings = app.settings.Get();
  info += L"\nLevel: ";
  info += CPlayerSettings::LevelText(settings.level).c_str();
  if (settings.levelAuto)
    info += L" (matching your rating)";
  info += L", think time ";
  info += settings.thinkMs;
  info += L" ms\nYour rating: ";
  info += core::stringw(int(std::lround(app.rating.Current().rating)));
  info += L" (RD ";
  info += core::stringw(int(std::lround(app.rating.Current().rd)));
  info += L")";
  ShowMessageBox(L"About the ChessEngine...", info.c_str(), gui::EMBF_OK, -1);
}

void CGui::ShowEngineMessage(const wchar_t *text) { ShowMessageBox(L"Chess Engine", text, gui::EMBF_OK, -1); }

void CGui::ShowEngineNoMoveDialog() {
  ShowMessageBox(L"Chess Engine", L"The engine has no move in this position", gui::EMBF_OK, -1);
}

core::stringw CGui::ReadHelpText() const {
  io::IFileSystem *files = app.device->getFileSystem();
  if (!files->existFile(HELP_FILE))
    return HELP_MISSING;
  io::IReadFile *file = files->createAndOpenFile(HELP_FILE);
  if (!file)
    return HELP_MISSING;
  const long size = file->getSize();
  std::vector<char> bytes(size > 0 ? size_t(size) : 0);
  const s32 got = bytes.empty() ? 0 : file->read(bytes.data(), u32(bytes.size()));
  file->drop();

  // One byte, one character; carriage returns go, so Windows line ends read
  // like Unix ones. Bytes above 127 are taken as Latin-1, not as negatives.
  core::stringw text;
  text.reserve(u32(got > 0 ? got : 0) + 1);
  for (s32 i = 0; i < got; ++i) {
    const unsigned char byte = static_cast<unsigned char>(bytes[size_t(i)]);
    if (byte != '\r')
      text.append(wchar_t(byte));
  }
  return text;
}

void CGui::ToggleHelpWindow() {
  if (helpWindow) {
    CGUITextWindow::Destroy(helpWindow);
    helpWindow = nullptr;
    return;
  }
  helpWindow = new CGUITextWindow(app.guiEnvironment, smallFont, CGuiLayout::HelpWindow(app.windowSize, scale));
  helpWindow->setText(ReadHelpText().c_str());
}

void CGui::ToggleMovesWindow() {
  if (movesWindow) {
    CGUITextWindow::Destroy(movesWindow);
    movesWindow = nullptr;
    PlaceBanner();
    return;
  }
  movesWindow = new CGUITextWindow(app.guiEnvironment, smallFont, CGuiLayout::MovesWindow(app.windowSize, scale));
  WriteMovesWindow(true);
  PlaceBanner();
}

void CGui::RefreshMovesWindow() { WriteMovesWindow(false); }

void CGui::WriteMovesWindow(bool whole) {
  if (!movesWindow)
    return;
  // Move pairs in standard notation, from the game's record, under the name
  // of the opening they follow.
  const chess::CMovesHistory::Change change = movesHistory.Follow(app.gameFiles.CurrentMoves());
  core::stringw heading = statusOpening;
  if (!heading.empty())
    heading += L"\n\n";
  if (heading != movesHeading) {
    movesHeading = heading;
    whole = true;
  }
  if (!movesHistory.IsComplete()) // a game the rules cannot replay is shown as sent
    movesWindow->setText(app.engine.GetMovesHistory().c_str());
  else if (whole || change == chess::CMovesHistory::Change::Replaced)
    movesWindow->setText((heading + core::stringw(movesHistory.GetText().c_str())).c_str());
  else if (change == chess::CMovesHistory::Change::Appended)
    movesWindow->AppendText(core::stringw(movesHistory.GetTail().c_str()).c_str());
  else
    return;
  movesWindow->ScrollToEnd();
}

// The message boxes and the two text windows: help and moves history.
#include "ui/CGui.h"

#include "app/CApplication.h"
#include "ui/CGUITextWindow.h"
#include "ui/CGuiLayout.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"

#include <cmath>
#include <vector>

using namespace irr;

namespace {

const char *const HELP_FILE = "./media/chess_helptext.txt";
const char *const HELP_MISSING = platform::NoTr("Helpfile not found.");

const char *const ABOUT_TEXT = platform::NoTr("Kelvar\n"
                                              "Chess on a three-dimensional board, against a computer\n"
                                              "opponent or between two players at one screen.\n"
                                              "\n"
                                              "The opponent is the Stockfish chess engine, free software\n"
                                              "under the GNU General Public License, version 3.");

} // namespace

std::string TranslateParagraphs(const std::string &text) {
  std::string translated;
  size_t start = 0;
  while (start < text.size()) {
    // A paragraph ends at a blank line; the blank lines stay as they were.
    size_t end = text.find("\n\n", start);
    if (end == std::string::npos)
      end = text.size();
    size_t last = end; // the file's last paragraph ends with its last line's newline
    while (last > start && text[last - 1] == '\n')
      --last;
    translated += platform::Tr(text.substr(start, last - start).c_str());
    const size_t next = text.find_first_not_of('\n', last);
    translated += text.substr(last, (next == std::string::npos ? text.size() : next) - last);
    start = next == std::string::npos ? text.size() : next;
  }
  return translated;
}

gui::IGUIWindow *CGui::ShowMessageBox(const wchar_t *caption, const wchar_t *text, s32 flags, s32 id) {
  gui::IGUIEnvironment *env = app.guiEnvironment;
  gui::IGUIWindow *box = env->addMessageBox(caption, text, true /*modal*/, flags, env->getRootGUIElement(), id);
  if (box && box->getCloseButton())
    box->getCloseButton()->setVisible(false);
  return box;
}

void CGui::ShowQuitDialog() {
  ShowMessageBox(TrW("Notification").c_str(), TrW("Do you really want to close the application?").c_str(),
                 gui::EMBF_YES | gui::EMBF_NO, ID_QUIT_BOX);
}

void CGui::ShowAboutDialog() {
  ShowMessageBox(TrW("About the Program...").c_str(), TrW(ABOUT_TEXT).c_str(), gui::EMBF_OK, -1);
}

void CGui::ShowEngineInfoDialog() {
  core::stringw info = app.engine.GetEngineInfo();
  // The level the engine plays now, which its handshake cannot tell.
  const CSettings &settings = app.settings.Get();
  info += L"\n";
  info += TrFormatW(settings.levelAuto ? platform::NoTr("Level: {1} (matching your rating), think time {2} ms")
                                       : platform::NoTr("Level: {1}, think time {2} ms"),
                    {Utf8(CPlayerSettings::LevelText(settings.level)), std::to_string(settings.thinkMs)});
  info += L"\n";
  info += TrFormatW("Your rating: {1} (RD {2})", {std::to_string(std::lround(app.rating.Current().rating)),
                                                  std::to_string(std::lround(app.rating.Current().rd))});
  ShowMessageBox(TrW("About the ChessEngine...").c_str(), info.c_str(), gui::EMBF_OK, -1);
}

void CGui::ShowEngineMessage(const wchar_t *text) {
  ShowMessageBox(TrW("Chess Engine").c_str(), text, gui::EMBF_OK, -1);
}

void CGui::ShowEngineNoMoveDialog() {
  ShowMessageBox(TrW("Chess Engine").c_str(), TrW("The engine has no move in this position").c_str(), gui::EMBF_OK, -1);
}

core::stringw CGui::ReadHelpText() const {
  io::IFileSystem *files = app.device->getFileSystem();
  if (!files->existFile(HELP_FILE))
    return TrW(HELP_MISSING);
  io::IReadFile *file = files->createAndOpenFile(HELP_FILE);
  if (!file)
    return TrW(HELP_MISSING);
  const long size = file->getSize();
  std::vector<char> bytes(size > 0 ? size_t(size) : 0);
  const s32 got = bytes.empty() ? 0 : file->read(bytes.data(), u32(bytes.size()));
  file->drop();

  // Carriage returns go, so Windows line ends read like Unix ones. Each
  // paragraph (text between blank lines) is one message of the catalogue.
  std::string text;
  for (s32 i = 0; i < got; ++i)
    if (bytes[size_t(i)] != '\r')
      text += bytes[size_t(i)];
  return GuiText(TranslateParagraphs(text));
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

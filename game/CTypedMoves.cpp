#include "game/CTypedMoves.h"

#include "app/CApplication.h"
#include "chess/MoveInput.h"
#include "ui/CGuiLayout.h"
#include "ui/GuiFocus.h"
#include "ui/GuiIds.h"
#include "ui/GuiText.h"
#include "ui/UiScale.h"

using namespace irr;

namespace {

const u32 NOTICE_MS = 5000;

std::string Narrow(const wchar_t *text) {
  std::string narrow;
  for (; text && *text; ++text)
    narrow += *text < 256 ? char(*text) : '?';
  return narrow;
}

// Why a typed text was refused, in the interface language: the pattern and
// the pieces are looked up, squares and the typed text stay as they are, and
// the candidates of an ambiguous text are joined anew.
std::string ShownReason(const chess::MoveInput &input) {
  static const char *const PIECES[] = {platform::NoTr("the pawn"),   platform::NoTr("the rook"),
                                       platform::NoTr("the bishop"), platform::NoTr("the queen"),
                                       platform::NoTr("the king"),   platform::NoTr("the knight")};
  std::vector<std::string> values = input.reasonValues;
  for (std::string &value : values)
    for (const char *piece : PIECES)
      if (value == piece)
        value = platform::Tr(piece);
  if (input.verdict == chess::MoveInput::Verdict::Ambiguous && values.size() == 2) {
    values[1].clear();
    for (const std::string &san : input.candidates)
      values[1] += (values[1].empty() ? "" : platform::Tr(" or ")) + san;
  }
  return chess::FillReason(platform::Tr(input.reasonPattern.c_str()), values);
}

} // namespace

void CTypedMoves::CreateBox() {
  gui::IGUIEnvironment *env = app.guiEnvironment;
  box =
      env->addEditBox(L"", CGuiLayout::MoveBox(app.windowSize, UiScale()), true, env->getRootGUIElement(), ID_MOVE_BOX);
  box->setMax(32);
  box->setToolTipText(TrW("Type a move (e4, Nf3, O-O, e7e8q) and press Enter; Tab goes in and out").c_str());
  box->setVisible(false);
}

void CTypedMoves::Update() {
  if (!app.guiEnvironment || app.game.GetState() == Startup)
    return;
  if (!box)
    CreateBox();
  const bool shown = app.game.GetState() == LocalGame && !app.game.IsGameOver();
  if (box->isVisible() != shown) {
    box->setVisible(shown);
    app.gui.SetMoveBoxShown(shown);
    if (!shown && HasFocus())
      app.guiEnvironment->removeFocus(box);
  }
  if (placedFor != app.windowSize) {
    // In the bottom right corner, level with the camera buttons and the
    // status line, clear of the board and the space around it.
    placedFor = app.windowSize;
    box->setRelativePosition(CGuiLayout::MoveBox(app.windowSize, UiScale()));
  }
}

bool CTypedMoves::HasFocus() const { return box && app.guiEnvironment->getFocus() == box; }

bool CTypedMoves::Submit(const std::string &text) {
  // The log keeps the English reason; the status line says it in the
  // interface language.
  auto refuse = [&](const std::string &reason, const std::string &shown) {
    LogMessage("typed move \"" + text + "\": refused (" + reason + ")");
    app.gui.ShowStatusNotice(GuiText(shown).c_str(), NOTICE_MS);
    return false;
  };
  if (!app.game.CanTypeMove()) {
    const char *reason = app.game.GetState() == LocalGame && !app.game.IsGameOver()
                             ? platform::NoTr("it is not your move")
                             : platform::NoTr("no game is being played");
    return refuse(reason, platform::Tr(reason));
  }
  const chess::MoveInput input = chess::ReadTypedMove(app.game.GetRecord().GetPosition(), text);
  if (input.verdict != chess::MoveInput::Verdict::Move)
    return refuse(input.reason, ShownReason(input));
  if (!app.game.PlayTypedMove(input.move))
    return refuse("the move could not be played", platform::Tr("the move could not be played"));
  LogMessage("typed move \"" + text + "\": played " + input.move.ToUci());
  return true;
}

bool CTypedMoves::OnKey(const SEvent::SKeyInput &key) {
  if (!box || !key.PressedDown)
    return false;
  if (key.Key == KEY_TAB && !key.Control && !DialogTakesKeys(app.guiEnvironment)) {
    if (HasFocus())
      app.guiEnvironment->removeFocus(box);
    else if (box->isVisible())
      app.guiEnvironment->setFocus(box);
    else
      return false;
    return true;
  }
  if (key.Key == KEY_ESCAPE && HasFocus()) {
    app.guiEnvironment->removeFocus(box);
    return true;
  }
  return false;
}

bool CTypedMoves::OnGuiEvent(const SEvent::SGUIEvent &event) {
  if (event.EventType != gui::EGET_EDITBOX_ENTER || !box || event.Caller != box)
    return false;
  const std::string text = Narrow(box->getText());
  if (Submit(text))
    box->setText(L"");
  return true;
}

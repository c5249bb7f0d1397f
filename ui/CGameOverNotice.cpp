#include "ui/CGameOverNotice.h"

#include "app/CApplication.h"
#include "ui/GuiText.h"
#include "ui/CGuiLayout.h"
#include "ui/UiScale.h"

using namespace irr;

namespace {

const video::SColor BANNER_COLOR(150, 220, 0, 0);

std::wstring Widen(const char *text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

// A message in the interface language.
std::wstring Message(const char *msgid) { return TrW(msgid).c_str(); }

// The reasons' words (GameVerdict::ReasonText) as the status line shows them.
[[maybe_unused]] const char *const REASON_WORDS[] = {platform::NoTr("checkmate"),
                                                     platform::NoTr("stalemate"),
                                                     platform::NoTr("repetition"),
                                                     platform::NoTr("fifty moves"),
                                                     platform::NoTr("insufficient material"),
                                                     platform::NoTr("resignation"),
                                                     platform::NoTr("as recorded"),
                                                     platform::NoTr("time forfeit"),
                                                     platform::NoTr("time forfeit, insufficient material")};

} // namespace

std::wstring CGameOverNotice::BannerText(const chess::GameVerdict &verdict) {
  switch (verdict.reason) {
  case chess::GameEnd::Checkmate:
    return Message(verdict.winner == White ? platform::NoTr("CHECK MATE!\nWhite wins")
                                           : platform::NoTr("CHECK MATE!\nBlack wins"));
  case chess::GameEnd::Stalemate:
    return Message(platform::NoTr("STALEMATE"));
  case chess::GameEnd::Repetition:
    return Message(platform::NoTr("DRAW BY REPETITION"));
  case chess::GameEnd::FiftyMoves:
    return Message(platform::NoTr("DRAW: FIFTY MOVES"));
  case chess::GameEnd::InsufficientMaterial:
    return Message(platform::NoTr("DRAW: NO MATING MATERIAL"));
  case chess::GameEnd::Resignation:
    return Message(verdict.winner == White ? platform::NoTr("BLACK RESIGNS") : platform::NoTr("WHITE RESIGNS"));
  case chess::GameEnd::Recorded:
    return Message(platform::NoTr("GAME OVER")) + L"\n" + Widen(verdict.ResultText());
  case chess::GameEnd::TimeForfeit:
    return Message(verdict.winner == White ? platform::NoTr("BLACK LOSES ON TIME\nWhite wins")
                                           : platform::NoTr("WHITE LOSES ON TIME\nBlack wins"));
  case chess::GameEnd::TimeForfeitInsufficientMaterial:
    return Message(platform::NoTr("TIME IS UP\nDraw: no mating material"));
  default:
    return L"";
  }
}

std::wstring CGameOverNotice::StatusText(const chess::GameVerdict &verdict) {
  return TrFormatW("Game Over: {1} ({2})", {verdict.ResultText(), platform::Tr(verdict.ReasonText())}).c_str();
}

void CGameOverNotice::Show(const chess::GameVerdict &verdict) {
  // Across the window, two lines high, the text centred: the longest banner
  // is wider than the old mate banner's box. The box is fixed at first use.
  const core::rect<s32> box = CGuiLayout::Banner(app.windowSize, UiScale());
  app.gui.ShowBanner(box, BannerText(verdict).c_str(), BANNER_COLOR);
  if (gui::IGUIStaticText *banner = app.gui.GetBannerText()) {
    banner->setWordWrap(true); // wrapped text centres each line on its own
    banner->setTextAlignment(gui::EGUIA_CENTER, gui::EGUIA_UPPERLEFT);
  }
  app.gui.SetBannerVisible(true);
  app.gui.SetStatusText(StatusText(verdict).c_str());
}

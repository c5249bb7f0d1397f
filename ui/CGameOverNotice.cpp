#include "ui/CGameOverNotice.h"

#include "app/CApplication.h"
#include "ui/CGuiLayout.h"
#include "ui/UiScale.h"

using namespace irr;

namespace {

const video::SColor BANNER_COLOR(150, 220, 0, 0);

std::wstring Widen(const char *text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

} // namespace

std::wstring CGameOverNotice::BannerText(const chess::GameVerdict &verdict) {
  switch (verdict.reason) {
  case chess::GameEnd::Checkmate:
    return verdict.winner == White ? L"CHECK MATE!\nWhite wins" : L"CHECK MATE!\nBlack wins";
  case chess::GameEnd::Stalemate:
    return L"STALEMATE";
  case chess::GameEnd::Repetition:
    return L"DRAW BY REPETITION";
  case chess::GameEnd::FiftyMoves:
    return L"DRAW: FIFTY MOVES";
  case chess::GameEnd::InsufficientMaterial:
    return L"DRAW: NO MATING MATERIAL";
  case chess::GameEnd::Resignation:
    return verdict.winner == White ? L"BLACK RESIGNS" : L"WHITE RESIGNS";
  case chess::GameEnd::Recorded:
    return L"GAME OVER\n" + Widen(verdict.ResultText());
  case chess::GameEnd::TimeForfeit:
    return verdict.winner == White ? L"BLACK LOSES ON TIME\nWhite wins" : L"WHITE LOSES ON TIME\nBlack wins";
  case chess::GameEnd::TimeForfeitInsufficientMaterial:
    return L"TIME IS UP\nDraw: no mating material";
  default:
    return L"";
  }
}

std::wstring CGameOverNotice::StatusText(const chess::GameVerdict &verdict) {
  return L"Game Over: " + Widen(verdict.ResultText()) + L" (" + Widen(verdict.ReasonText()) + L")";
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

// The evaluation bar beside the board during a review: a column whose light
// part, growing from the bottom, is White's winning chances in the position
// looked at, with the engine's figure written at the leading side's end.
#pragma once

#include "chess/ReviewMath.h"

#include <irrlicht.h>

#include <string>

class CEvalBar : public irr::gui::IGUIElement {
public:
  CEvalBar(irr::gui::IGUIEnvironment *environment, irr::gui::IGUIElement *parent, irr::s32 id,
           const irr::core::rect<irr::s32> &rect);

  // The position's evaluation; without one (not judged yet) the bar stands
  // even and shows no figure.
  void SetEvaluation(bool known, const chess::Evaluation &eval);
  // White's share of the bar, 0..1.
  double WhiteShare() const { return whiteShare; }
  const std::wstring &Label() const { return label; }

  void draw() override;

private:
  double whiteShare = 0.5;
  bool whiteLeads = true;
  std::wstring label;
};

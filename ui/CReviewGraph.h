// The evaluation graph of a review, drawn as a picture: White's winning
// chances over the game, White's advantage up, the marked moves as dots.
#pragma once

#include "chess/ReviewMath.h"

#include <irrlicht.h>

#include <cstddef>
#include <vector>

class CReviewGraph {
public:
  // Where White leads the area below the curve is light, where Black leads
  // the area above it is dark; a grey line marks the even game. Positions not
  // yet judged (known[i] false) are left out: the curve stops at the last
  // judged one. marks[ply] colours a dot on the position the move reached:
  // yellow ?!, orange ?, red ??.
  static void Draw(irr::video::IImage *image, const std::vector<double> &whiteWin, const std::vector<bool> &known,
                   const std::vector<chess::MoveMark> &marks);
  // The column of a position in a picture width pixels wide.
  static int XOfPosition(std::size_t index, int width, std::size_t positions);
  // The position whose column is nearest to x.
  static std::size_t PositionAtX(int x, int width, std::size_t positions);
  // The dot colour of a mark.
  static irr::video::SColor MarkColor(chess::MoveMark mark);
};

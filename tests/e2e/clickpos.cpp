// Tells an end-to-end test where a player clicks to make a move, as the game
// draws the board from a fixed viewpoint after the moves played so far: the
// pixel nearest the middle of the moving piece's drawn body, then the one
// nearest the middle of the target (the enemy piece standing there, else the
// square's bare surface). What is drawn comes from the meshes' triangles,
// not from the game's picking, so a click the game misreads fails the test.
// Usage: kelvar_clickpos [--fen FEN] white-side|white-top|black-side|black-top MOVE [PLAYED...]
// With --fen the moves are played from that position, as the game shows a
// game loaded from a file that starts there.
// Prints "x y" of the piece, then "x y" of the target; exit code 1 when the
// move is not legal after the moves played or a part of it is not in sight.
#include "game/CShownGame.h"
#include "scene/CGameToken.h"
#include "tests/support/NullDevice.h"
#include "tests/support/ScreenTruth.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

using irr::core::position2di;
using testing_support::Drawn;
using testing_support::ScreenTruth;

namespace {

const int SEARCH_RADIUS = 60; // pixels around the middle to look for a clear spot
const int CLEAR_MARGIN = 3;   // the spot's neighbours this far away show the same

bool ParseMove(const char *text, chess::Move &move) {
  if (chess::Move::FromUci(text, move))
    return true;
  fprintf(stderr, "not a move: %s\n", text);
  return false;
}

// Lets every glide and sinking piece reach its end at once.
void SettleAnimations() {
  irr::ITimer *timer = app.device->getTimer();
  timer->setTime(timer->getTime() + 10000);
  app.sceneManager->drawAll();
}

bool PrintClick(const ScreenTruth &truth, const Drawn &want, const position2di &middle) {
  position2di at;
  if (!truth.NearestShowing(want, middle, SEARCH_RADIUS, CLEAR_MARGIN, at)) {
    fprintf(stderr, "%s is not in sight\n", testing_support::DrawnName(want).c_str());
    return false;
  }
  printf("%d %d\n", at.X, at.Y);
  return true;
}

} // namespace

int main(int argc, char **argv) {
  const char *fen = nullptr;
  if (argc >= 3 && strcmp(argv[1], "--fen") == 0) {
    fen = argv[2];
    argc -= 2;
    argv += 2;
  }
  if (argc < 3) {
    fprintf(stderr, "usage: kelvar_clickpos [--fen FEN] VIEW MOVE [PLAYED...]\n");
    return 2;
  }
  if (chdir(KELVAR_RUN_DIR) != 0 || !testing_support::CreateNullDevice())
    return 2;
  app.device->getLogger()->setLogLevel(irr::ELL_NONE);
  if (!app.cameraRig.Init() || !app.map.Init())
    return 2;
  app.map.Reset();
  chess::Position start;
  std::string error;
  if (fen) {
    if (!start.SetFen(fen, error)) {
      fprintf(stderr, "FEN refused: %s\n", error.c_str());
      return 2;
    }
    app.map.SetUpPosition(start);
  }
  SettleAnimations();
  // The board follows the moves as the game shows them.
  CShownGame game;
  game.Start(start, false);
  chess::Move move;
  for (int i = 3; i < argc; ++i) {
    if (!ParseMove(argv[i], move))
      return 2;
    if (!game.Play(move.from, move.to, move.promotion == Pawn ? Queen : move.promotion)) {
      fprintf(stderr, "%s is not legal here\n", argv[i]);
      return 1;
    }
    SettleAnimations();
  }
  app.map.ClearSelection();
  if (!ParseMove(argv[2], move))
    return 2;

  const char *view = argv[1];
  const bool top = strstr(view, "top") != nullptr;
  strncmp(view, "black", 5) == 0 ? app.cameraRig.SetBlackView(top) : app.cameraRig.SetWhiteView(top);
  app.sceneManager->drawAll(); // the camera's matrices follow the view
  const ScreenTruth truth(true);

  irr::s32 mover = -1, taken = -1;
  if (!app.map.FindTokenAt(move.from, mover) || app.map.GetTokenColor(mover) != game.GetRecord().GetSideToMove()) {
    fprintf(stderr, "no piece of the side to move on %s\n", argv[2]);
    return 1;
  }
  const bool capture = app.map.FindTokenAt(move.to, taken);
  if (!PrintClick(truth, Drawn{mover, move.from}, truth.BodyCentre(mover)))
    return 1;
  const Drawn target = capture ? Drawn{taken, move.to} : Drawn{-1, move.to};
  const position2di middle =
      capture ? truth.BodyCentre(taken) : truth.Project(app.map.GetSquareWorldPosition(move.to.X, move.to.Y));
  return PrintClick(truth, target, middle) ? 0 : 1;
}

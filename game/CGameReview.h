// The review of a game: the engine judges every position in the background
// (a program of its own, at a fixed node count, full strength), the review
// window shows how far it has come, the evaluation graph, each side's
// accuracy and marks, and the moves; the player steps through the game on
// the board (Left/Right, Home/End, a move of the list, a point of the graph),
// sees the engine's better move at a marked move as an arrow and the
// evaluation bar beside the board, and may save the game with the review's
// notes. While the review is open the board is the review's: the game waits.
#pragma once

#include "chess/CGameAnalysis.h"
#include "chess/PgnGame.h"
#include "engine/CAnalysisRun.h"
#include "game/CReviewBoard.h"
#include "ui/CReviewWindow.h"

#include <irrlicht.h>

#include <cstddef>
#include <string>

class CEvalBar;

class CGameReview {
public:
  bool Init() { return true; }
  // Steps the analysis and brings the window up to it; opens the file named
  // on the command line once the start-up phase is over.
  void Update();
  // Ends a running analysis and its engine.
  void Exit();

  // Local Game > Review and the game-over banner's button: the game on the
  // board, once it has ended or while the player is to move. False, with a
  // message, when there is nothing to review or the engine owes a move.
  bool ReviewCurrentGame();
  // The command line's --review: the file's first game, once the game has started.
  void ReviewFileAfterStartup(const std::string &path) { pendingPath = path; }
  // Reviews a game read from source (a file name or "the game on the board").
  // False, with a message, for a game whose moves break the rules or an
  // engine program that cannot be started.
  bool Open(const chess::PgnGame &game, const std::string &source);
  // Stops the analysis; what was found so far stays on show.
  void Cancel();
  // Closes the window and gives the board back to the game.
  void Close();
  // Saves the reviewed game, with its evaluations, marks and accuracies, to
  // the games folder.
  void Save();
  // Shows a position of the reviewed game (0: the start).
  void ShowPosition(std::size_t index);

  bool IsOpen() const { return window.IsOpen(); }
  bool IsReviewed() const { return review.ok; }
  std::size_t GetShownPosition() const { return shown; }
  const CAnalysisRun &GetRun() const { return run; }
  const chess::GameReview &GetReview() const { return review; }
  const CReviewWindow &GetWindow() const { return window; }
  const CReviewBoard &GetBoard() const { return board; }
  const CEvalBar *GetEvalBar() const { return evalBar; }
  // The reviewed game with the review's notes (the game alone before the review is done).
  chess::PgnGame AnnotatedGame() const;

  // Input while the review is open; true when it was the review's.
  bool OnKey(const irr::SEvent::SKeyInput &key);
  bool OnGuiEvent(const irr::SEvent::SGUIEvent &event);
  bool OnLeftMouseDown(const irr::core::position2d<irr::s32> &point);

private:
  // The analysis has ended (done, failed): the review is worked out and shown.
  void Finish();
  void ShowProgress();
  // The text under the graph for the position shown.
  std::string PositionText(std::size_t index, bool translated) const;

  CAnalysisRun run;
  chess::GameReview review;
  chess::PgnGame game; // the game as it will be saved
  std::string source;
  CReviewWindow window;
  CReviewBoard board;
  CEvalBar *evalBar = nullptr;
  std::size_t shown = 0;
  std::size_t judgedShown = 0; // positions judged when the window was last brought up to date
  std::string pendingPath;
  bool bannerWasVisible = false;
};

// The arithmetic of a game review: engine evaluations as PGN comments and
// UCI engines write them, winning chances (Win%) from an evaluation, the
// accuracy of a move from the Win% it gave away, the marks of inaccurate
// moves, and each side's accuracy over a whole game, all as Lichess
// documents its own review.
#pragma once

#include <string>
#include <vector>

namespace chess {

// An engine's judgement of a position, always from White's side: centipawns
// (value > 0 good for White), or a forced mate (value > 0: White mates in
// value moves; value < 0: Black mates in -value moves). A mate never has
// value 0: a position where the side to move is already mated is written as
// a mate in 1 of the winner, which weighs the same in every sum here.
struct Evaluation {
  bool mate = false;
  int value = 0;

  static Evaluation Centipawns(int cp) { return {false, cp}; }
  static Evaluation MateIn(int moves) { return {true, moves}; }

  bool operator==(const Evaluation &o) const { return mate == o.mate && value == o.value; }
  bool operator!=(const Evaluation &o) const { return !(*this == o); }
};

// Reads the value of a PGN eval note: "0.31", "-1.20", "+2", "#3", "#-3"
// (pawns with up to two decimals, more are rounded). False, with error
// saying why, for anything else, "#0" and values beyond 100000 pawns.
bool ParseEvaluation(const std::string &text, Evaluation &eval, std::string &error);
// The value as Lichess writes it in its notes: "0.31", "-1.20", "#3", "#-3".
std::string FormatEvaluation(const Evaluation &eval);
// Finds "[%eval X]" in a comment (X may carry a ",depth" suffix, which is
// dropped) and reads X. False, with error, when there is none or it is broken.
bool FindEvaluationNote(const std::string &comment, Evaluation &eval, std::string &error);
// The note for a comment: "[%eval 0.31]".
std::string EvaluationNote(const Evaluation &eval);
// Reads the score of a UCI "info ... score cp N" or "score mate N" line,
// which is from the side to move, and turns it to White's side. A bound
// ("lowerbound", "upperbound") is read as the score. "mate 0" (the side to
// move is mated) becomes a mate in 1 of the other side. False, with error,
// for a line that is no info line or has no readable score.
bool EvaluationFromUciInfo(const std::string &line, int sideToMove, Evaluation &eval, std::string &error);

// White's winning chances in percent (0..100) for an evaluation: centipawns
// clamped to +-1000, a mate counted as +-1000.
double WinPercent(const Evaluation &eval);
// The accuracy (0..100) of a move that took the mover's Win% from winBefore
// to winAfter; a move that gains counts as one that loses nothing (100).
double MoveAccuracy(double winBefore, double winAfter);

enum class MoveMark { None, Inaccuracy, Mistake, Blunder };

// How bad the move of moverColor was, from the evaluations before and after
// it: losing 10 points of the mover's Win% or more is an inaccuracy, 20 a
// mistake, 30 a blunder; a move that lets in a forced mate against the mover
// where there was none is a blunder whatever the Win% says.
MoveMark Classify(const Evaluation &before, const Evaluation &after, int moverColor);
// The PGN numeric annotation glyph of a mark: 6 (?!), 2 (?), 4 (??); 0 for None.
int MarkNag(MoveMark mark);
// The suffix of a mark as players write it: "?!", "?", "??"; "" for None.
const char *MarkSuffix(MoveMark mark);

// One move of a reviewed game.
struct MoveReview {
  int color = 0;         // the mover
  double winBefore = 50; // the mover's Win% before the move
  double winAfter = 50;  // the mover's Win% after it
  double accuracy = 100; // MoveAccuracy of the two
  double weight = 0.5;   // the move's weight in its side's game accuracy
  MoveMark mark = MoveMark::None;
};

// One side's play over a game. A side that made no move has moves 0 and
// accuracy 0: there is nothing to judge, and a window shows no figure.
struct SideSummary {
  double accuracy = 0;
  int moves = 0;
  int inaccuracies = 0;
  int mistakes = 0;
  int blunders = 0;
};

struct GameReview {
  bool ok = false;
  std::string error;             // why the evaluations were refused, when not ok
  std::vector<double> whiteWin;  // White's Win% of every position, the start included
  std::vector<MoveReview> moves; // one per ply
  SideSummary sides[2];          // indexed by colour
};

// Reviews a game from one evaluation per position (before the first move,
// then after each move: plies + 1 values) whose first move was startSide's.
// A side's accuracy is the mean of the volatility-weighted and the harmonic
// mean of its moves' accuracies. A move's weight is the standard deviation
// of the window of clamp(plies / 10, 2, 8) Win% values that ends with the
// position after it (the first moves share the game's first window),
// clamped to [0.5, 12]; in the harmonic mean a move counts as at least 1%
// accurate. Refused, with error: no evaluation at all, a side other than
// White or Black, a mate with value 0.
GameReview Summarise(const std::vector<Evaluation> &evals, int startSide);

} // namespace chess

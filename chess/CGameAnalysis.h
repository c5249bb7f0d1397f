// A game under review: its positions in order, what the engine found in each
// (an evaluation and the best move), and, once every position is judged, the
// review of its moves and the notes it leaves in the game's PGN record. It
// knows nothing of engines: whoever drives the analysis asks which position
// is next and records what was found.
#pragma once

#include "chess/CGameRecord.h"
#include "chess/PgnGame.h"
#include "chess/ReviewMath.h"

#include <cstddef>
#include <string>
#include <vector>

namespace chess {

// What the engine found in one position.
struct PositionFinding {
  Evaluation eval;
  std::string bestMove; // UCI text ("e2e4"); empty where the side to move has no move
};

class CGameAnalysis {
public:
  // The positions of a game as a file holds it. False, with error, when a
  // move is not legal where it stands (the game cannot be reviewed).
  bool Start(const PgnGame &game, std::string &error);
  // The positions of a game as it was played.
  void Start(const CGameRecord &record);

  std::size_t Plies() const { return moves.size(); }
  // Plies + 1: the start position, then the position after each move.
  std::size_t PositionCount() const { return positions.size(); }
  const Position &PositionAt(std::size_t index) const { return positions[index]; }
  const Move &MoveAt(std::size_t ply) const { return moves[ply]; }
  // The move of ply in standard notation ("Nf3", "exd5+").
  std::string SanAt(std::size_t ply) const;
  int StartSide() const { return positions.front().GetSideToMove(); }

  // The first position not yet judged; PositionCount() once all are. A
  // position with no legal move (mate, stalemate) is judged at Start, from
  // the rules: the engine has nothing to search there.
  std::size_t NextToAnalyse() const;
  // Records the finding for a position.
  void Record(std::size_t index, const PositionFinding &finding);
  bool IsComplete() const { return NextToAnalyse() == PositionCount(); }
  std::size_t JudgedCount() const;
  const PositionFinding &FindingAt(std::size_t index) const { return findings[index]; }
  bool IsJudged(std::size_t index) const { return judged[index]; }

  // The review of every move; not ok (with error) before every position is judged.
  GameReview Review() const;
  // The engine's better move in place of ply's move, in standard notation,
  // when that move is marked and the engine preferred another; "" otherwise.
  std::string BetterMoveSan(const GameReview &review, std::size_t ply) const;
  // The better move as a move, when BetterMoveSan gives one.
  bool BetterMove(const GameReview &review, std::size_t ply, Move &move) const;

  // Writes the review into the game's record: after each move a comment
  // "[%eval X]" with the evaluation of the position it reached (none after a
  // move that ends the game by mate or stalemate), the mark's NAG (6, 2 or
  // 4, replacing any of those the move had), and the tags WhiteAccuracy and
  // BlackAccuracy with one decimal (for a side that moved). Other comments,
  // such as the clock's, are kept. game must hold the moves analysed.
  void Annotate(PgnGame &game, const GameReview &review) const;

  // "review done 7 plies in 2140 ms: white accuracy 81.3, black accuracy
  // 12.9; white 0/0/0, black 0/1/1": the summary as the log writes it
  // (inaccuracies/mistakes/blunders).
  static std::string SummaryLine(const GameReview &review, std::size_t plies, long long ms);

private:
  void JudgeEndings();

  std::vector<Position> positions;
  std::vector<Move> moves;
  std::vector<PositionFinding> findings;
  std::vector<bool> judged;
};

} // namespace chess

#include "chess/CGameAnalysis.h"

#include "chess/CSanNotation.h"
#include "chess/PgnCommands.h"

#include <algorithm>
#include <cstdio>

namespace chess {

namespace {

bool IsMarkNag(int nag) { return nag == 2 || nag == 4 || nag == 6; }

std::string OneDecimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

} // namespace

bool CGameAnalysis::Start(const PgnGame &game, std::string &error) {
  Position position;
  if (!game.startFen.empty() && !position.SetFen(game.startFen, error)) {
    error = "the start position is broken: " + error;
    return false;
  }
  positions.assign(1, position);
  moves.clear();
  for (size_t ply = 0; ply < game.moves.size(); ++ply) {
    Move move = game.moves[ply];
    if (!position.Play(move)) {
      // A promotion written without its piece is a queen, as the files have it.
      move.promotion = Queen;
      if (game.moves[ply].promotion != Pawn || !position.Play(move)) {
        error = "ply " + std::to_string(ply + 1) + " (" + (position.GetSideToMove() == White ? "White" : "Black") +
                "), " + game.moves[ply].ToUci() + ", is not legal";
        positions.assign(1, positions[0]);
        JudgeEndings();
        return false;
      }
    }
    moves.push_back(move);
    positions.push_back(position);
  }
  JudgeEndings();
  return true;
}

void CGameAnalysis::Start(const CGameRecord &record) {
  Position position = record.GetStartPosition();
  positions.assign(1, position);
  moves = record.GetMoves();
  for (Move &move : moves) {
    if (!position.Play(move)) {
      move.promotion = Queen;
      position.Play(move);
    }
    positions.push_back(position);
  }
  JudgeEndings();
}

void CGameAnalysis::JudgeEndings() {
  findings.assign(positions.size(), PositionFinding());
  judged.assign(positions.size(), false);
  for (size_t i = 0; i < positions.size(); ++i) {
    const Position &position = positions[i];
    if (position.HasLegalMove())
      continue;
    // Mated: a mate in 1 of the winner (ReviewMath's form); stalemate: even.
    if (position.IsInCheck())
      findings[i].eval = Evaluation::MateIn(position.GetSideToMove() == White ? -1 : 1);
    else
      findings[i].eval = Evaluation::Centipawns(0);
    judged[i] = true;
  }
}

std::string CGameAnalysis::SanAt(size_t ply) const { return CSanNotation::ToSan(positions[ply], moves[ply]); }

size_t CGameAnalysis::NextToAnalyse() const {
  return static_cast<size_t>(std::find(judged.begin(), judged.end(), false) - judged.begin());
}

void CGameAnalysis::Record(size_t index, const PositionFinding &finding) {
  if (index >= positions.size())
    return;
  findings[index] = finding;
  judged[index] = true;
}

size_t CGameAnalysis::JudgedCount() const {
  return static_cast<size_t>(std::count(judged.begin(), judged.end(), true));
}

GameReview CGameAnalysis::Review() const {
  if (!IsComplete()) {
    GameReview review;
    review.error = "position " + std::to_string(NextToAnalyse()) + " has not been judged";
    return review;
  }
  std::vector<Evaluation> evals;
  for (const PositionFinding &finding : findings)
    evals.push_back(finding.eval);
  return Summarise(evals, StartSide());
}

bool CGameAnalysis::BetterMove(const GameReview &review, size_t ply, Move &move) const {
  if (!review.ok || ply >= review.moves.size() || review.moves[ply].mark == MoveMark::None)
    return false;
  Move best;
  if (!Move::FromUci(findings[ply].bestMove, best) || !positions[ply].IsLegal(best))
    return false;
  if (best.from == moves[ply].from && best.to == moves[ply].to &&
      (best.promotion == moves[ply].promotion || moves[ply].promotion == Pawn))
    return false;
  move = best;
  return true;
}

std::string CGameAnalysis::BetterMoveSan(const GameReview &review, size_t ply) const {
  Move best;
  return BetterMove(review, ply, best) ? CSanNotation::ToSan(positions[ply], best) : "";
}

void CGameAnalysis::Annotate(PgnGame &game, const GameReview &review) const {
  const size_t plies = std::min(game.moves.size(), moves.size());
  for (size_t ply = 0; ply < plies; ++ply) {
    MoveNotes &notes = game.NotesAt(ply);
    DropCommands(notes, "[%eval");
    // A game's last position without a move has no engine figure to give.
    if (judged[ply + 1] && positions[ply + 1].HasLegalMove())
      notes.comments.insert(notes.comments.begin(), EvaluationNote(findings[ply + 1].eval));
    notes.nags.erase(std::remove_if(notes.nags.begin(), notes.nags.end(), IsMarkNag), notes.nags.end());
    if (review.ok && ply < review.moves.size() && review.moves[ply].mark != MoveMark::None)
      notes.nags.insert(notes.nags.begin(), MarkNag(review.moves[ply].mark));
  }
  if (!review.ok)
    return;
  if (review.sides[White].moves > 0)
    game.SetTag("WhiteAccuracy", OneDecimal(review.sides[White].accuracy));
  if (review.sides[Black].moves > 0)
    game.SetTag("BlackAccuracy", OneDecimal(review.sides[Black].accuracy));
}

std::string CGameAnalysis::SummaryLine(const GameReview &review, size_t plies, long long ms) {
  const SideSummary &w = review.sides[White], &b = review.sides[Black];
  auto counts = [](const SideSummary &side) {
    return std::to_string(side.inaccuracies) + "/" + std::to_string(side.mistakes) + "/" +
           std::to_string(side.blunders);
  };
  return "review done " + std::to_string(plies) + " plies in " + std::to_string(ms) + " ms: white accuracy " +
         OneDecimal(w.accuracy) + ", black accuracy " + OneDecimal(b.accuracy) + "; white " + counts(w) + ", black " +
         counts(b);
}

} // namespace chess

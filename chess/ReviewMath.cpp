#include "chess/ReviewMath.h"

#include "chess/Types.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace chess {

namespace {

// Win% and accuracy curves as Lichess publishes them.
constexpr double WIN_SLOPE = 0.00368208;
constexpr int WIN_CP_LIMIT = 1000;
constexpr double ACCURACY_SCALE = 103.1668;
constexpr double ACCURACY_DECAY = 0.04354;
constexpr double ACCURACY_OFFSET = 3.1669;

// Win% a move may give away before it earns a mark.
constexpr double INACCURACY_LOSS = 10;
constexpr double MISTAKE_LOSS = 20;
constexpr double BLUNDER_LOSS = 30;

// The volatility weights of the game accuracy: the window of Win% values
// around a move and the bounds of its standard deviation.
constexpr int MIN_WINDOW = 2;
constexpr int MAX_WINDOW = 8;
constexpr double MIN_WEIGHT = 0.5;
constexpr double MAX_WEIGHT = 12;
// In the harmonic mean a move counts as at least this accurate: one move of
// accuracy 0 would otherwise make the mean 0 whatever the rest of the game
// was, and a side's whole score would hang on a single move.
constexpr double HARMONIC_FLOOR = 1;

// Limits of what the readers accept: 100000 pawns, mate in 9999.
constexpr long MAX_PAWNS = 100000;
constexpr long MAX_MATE = 9999;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads an optionally signed whole number that fills text, up to limit in
// size; false for anything else.
bool ReadInteger(const std::string &text, long limit, long &number) {
  size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-'))
    negative = text[at++] == '-';
  if (at == text.size())
    return false;
  long magnitude = 0;
  for (; at < text.size(); ++at) {
    if (!IsDigit(text[at]))
      return false;
    magnitude = magnitude * 10 + (text[at] - '0');
    if (magnitude > limit)
      return false;
  }
  number = negative ? -magnitude : magnitude;
  return true;
}

// Reads "-1.20", "0.315", "+3", ".5" as centipawns, rounding the third
// decimal and beyond half away from zero. Done by hand: strtod follows the
// locale's decimal mark, and the files always use '.'.
bool ReadPawns(const std::string &text, int &cp) {
  size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-'))
    negative = text[at++] == '-';
  long pawns = 0;
  int wholeDigits = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at, ++wholeDigits) {
    pawns = pawns * 10 + (text[at] - '0');
    if (pawns > MAX_PAWNS)
      return false;
  }
  long hundredths = 0;
  int fractionDigits = 0;
  bool roundUp = false;
  if (at < text.size() && text[at] == '.')
    for (++at; at < text.size() && IsDigit(text[at]); ++at, ++fractionDigits) {
      if (fractionDigits < 2)
        hundredths = hundredths * 10 + (text[at] - '0');
      else if (fractionDigits == 2)
        roundUp = text[at] >= '5';
    }
  if (at != text.size() || wholeDigits + fractionDigits == 0)
    return false;
  if (fractionDigits == 1)
    hundredths *= 10;
  const long magnitude = pawns * 100 + hundredths + (roundUp ? 1 : 0);
  cp = static_cast<int>(negative ? -magnitude : magnitude);
  return true;
}

std::string Trim(const std::string &text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos)
    return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The mover's Win% for White's Win%.
double ForMover(double whiteWin, int moverColor) { return moverColor == White ? whiteWin : 100 - whiteWin; }

// Whether the evaluation is a forced mate by the side other than color.
bool MateAgainst(const Evaluation &eval, int color) {
  return eval.mate && (color == White ? eval.value < 0 : eval.value > 0);
}

// The population standard deviation of values[first, first + count).
double StandardDeviation(const std::vector<double> &values, size_t first, size_t count) {
  double mean = 0;
  for (size_t i = first; i < first + count; ++i)
    mean += values[i];
  mean /= static_cast<double>(count);
  double squares = 0;
  for (size_t i = first; i < first + count; ++i)
    squares += (values[i] - mean) * (values[i] - mean);
  return std::sqrt(squares / static_cast<double>(count));
}

} // namespace

bool ParseEvaluation(const std::string &text, Evaluation &eval, std::string &error) {
  if (!text.empty() && text[0] == '#') {
    long moves = 0;
    if (!ReadInteger(text.substr(1), MAX_MATE, moves)) {
      error = "\"" + text + "\" is no mate count";
      return false;
    }
    if (moves == 0) {
      error = "\"#0\" names no side";
      return false;
    }
    eval = Evaluation::MateIn(static_cast<int>(moves));
    return true;
  }
  int cp = 0;
  if (!ReadPawns(text, cp)) {
    error = "\"" + text + "\" is no evaluation in pawns";
    return false;
  }
  eval = Evaluation::Centipawns(cp);
  return true;
}

std::string FormatEvaluation(const Evaluation &eval) {
  if (eval.mate)
    return "#" + std::to_string(eval.value);
  const long magnitude = std::labs(static_cast<long>(eval.value));
  const long hundredths = magnitude % 100;
  return std::string(eval.value < 0 ? "-" : "") + std::to_string(magnitude / 100) + (hundredths < 10 ? ".0" : ".") +
         std::to_string(hundredths);
}

bool FindEvaluationNote(const std::string &comment, Evaluation &eval, std::string &error) {
  static const std::string MARK = "[%eval";
  const size_t at = comment.find(MARK + " ");
  if (at == std::string::npos) {
    error = "the comment has no [%eval] note";
    return false;
  }
  const size_t start = at + MARK.size();
  const size_t end = comment.find(']', start);
  if (end == std::string::npos) {
    error = "the [%eval] note is not closed";
    return false;
  }
  std::string value = Trim(comment.substr(start, end - start));
  const size_t comma = value.find(',');
  if (comma != std::string::npos) {
    long depth = 0;
    if (!ReadInteger(Trim(value.substr(comma + 1)), MAX_PAWNS, depth) || depth < 0) {
      error = "the [%eval] note has a broken depth: \"" + value + "\"";
      return false;
    }
    value = Trim(value.substr(0, comma));
  }
  return ParseEvaluation(value, eval, error);
}

std::string EvaluationNote(const Evaluation &eval) { return "[%eval " + FormatEvaluation(eval) + "]"; }

bool EvaluationFromUciInfo(const std::string &line, int sideToMove, Evaluation &eval, std::string &error) {
  if (sideToMove != White && sideToMove != Black) {
    error = "the side to move is neither White nor Black";
    return false;
  }
  std::istringstream words(line);
  std::string word;
  if (!(words >> word) || word != "info") {
    error = "not an info line";
    return false;
  }
  while (words >> word) {
    // "string" takes the rest of the line as free text.
    if (word == "string")
      break;
    if (word != "score")
      continue;
    std::string kind, number;
    long value = 0;
    const bool isCp = words >> kind && kind == "cp";
    if (!(isCp || kind == "mate") || !(words >> number) ||
        !ReadInteger(number, isCp ? MAX_PAWNS * 100 : MAX_MATE, value)) {
      error = "unreadable score in \"" + line + "\"";
      return false;
    }
    if (!isCp && value == 0) {
      // The side to move is mated: the other side has won.
      eval = Evaluation::MateIn(sideToMove == White ? -1 : 1);
      return true;
    }
    const int white = static_cast<int>(sideToMove == White ? value : -value);
    eval = isCp ? Evaluation::Centipawns(white) : Evaluation::MateIn(white);
    return true;
  }
  error = "the info line has no score";
  return false;
}

double WinPercent(const Evaluation &eval) {
  int cp = 0;
  if (eval.mate)
    cp = eval.value > 0 ? WIN_CP_LIMIT : eval.value < 0 ? -WIN_CP_LIMIT : 0;
  else
    cp = std::clamp(eval.value, -WIN_CP_LIMIT, WIN_CP_LIMIT);
  return 50 + 50 * (2 / (1 + std::exp(-WIN_SLOPE * cp)) - 1);
}

double MoveAccuracy(double winBefore, double winAfter) {
  const double loss = std::max(0.0, winBefore - winAfter);
  return std::clamp(ACCURACY_SCALE * std::exp(-ACCURACY_DECAY * loss) - ACCURACY_OFFSET, 0.0, 100.0);
}

MoveMark Classify(const Evaluation &before, const Evaluation &after, int moverColor) {
  if (MateAgainst(after, moverColor) && !MateAgainst(before, moverColor))
    return MoveMark::Blunder;
  const double loss = ForMover(WinPercent(before), moverColor) - ForMover(WinPercent(after), moverColor);
  if (loss >= BLUNDER_LOSS)
    return MoveMark::Blunder;
  if (loss >= MISTAKE_LOSS)
    return MoveMark::Mistake;
  if (loss >= INACCURACY_LOSS)
    return MoveMark::Inaccuracy;
  return MoveMark::None;
}

int MarkNag(MoveMark mark) {
  switch (mark) {
  case MoveMark::Inaccuracy:
    return 6;
  case MoveMark::Mistake:
    return 2;
  case MoveMark::Blunder:
    return 4;
  case MoveMark::None:
    break;
  }
  return 0;
}

const char *MarkSuffix(MoveMark mark) {
  switch (mark) {
  case MoveMark::Inaccuracy:
    return "?!";
  case MoveMark::Mistake:
    return "?";
  case MoveMark::Blunder:
    return "??";
  case MoveMark::None:
    break;
  }
  return "";
}

GameReview Summarise(const std::vector<Evaluation> &evals, int startSide) {
  GameReview review;
  if (evals.empty()) {
    review.error = "no evaluation: even a game of no move has its start position";
    return review;
  }
  if (startSide != White && startSide != Black) {
    review.error = "the side of the first move is neither White nor Black";
    return review;
  }
  for (size_t i = 0; i < evals.size(); ++i)
    if (evals[i].mate && evals[i].value == 0) {
      review.error = "evaluation " + std::to_string(i) + " is a mate that names no side";
      return review;
    }

  for (const Evaluation &eval : evals)
    review.whiteWin.push_back(WinPercent(eval));
  const size_t plies = evals.size() - 1;

  // Each move is weighed by how much the Win% swings around it: the standard
  // deviation of a window of consecutive Win% values that ends with the
  // position after the move. The first moves, which have fewer values
  // before them than a window holds, share the game's first window.
  const size_t window =
      std::min(static_cast<size_t>(std::clamp(static_cast<int>(plies / 10), MIN_WINDOW, MAX_WINDOW)), plies + 1);

  double weighted[2] = {0, 0}, weights[2] = {0, 0}, inverses[2] = {0, 0};
  for (size_t ply = 0; ply < plies; ++ply) {
    MoveReview move;
    move.color = (startSide + static_cast<int>(ply)) % 2;
    move.winBefore = ForMover(review.whiteWin[ply], move.color);
    move.winAfter = ForMover(review.whiteWin[ply + 1], move.color);
    move.accuracy = MoveAccuracy(move.winBefore, move.winAfter);
    move.mark = Classify(evals[ply], evals[ply + 1], move.color);
    const size_t first = ply + 2 >= window ? ply + 2 - window : 0;
    move.weight = std::clamp(StandardDeviation(review.whiteWin, first, window), MIN_WEIGHT, MAX_WEIGHT);
    review.moves.push_back(move);

    SideSummary &side = review.sides[move.color];
    ++side.moves;
    side.inaccuracies += move.mark == MoveMark::Inaccuracy;
    side.mistakes += move.mark == MoveMark::Mistake;
    side.blunders += move.mark == MoveMark::Blunder;
    weighted[move.color] += move.accuracy * move.weight;
    weights[move.color] += move.weight;
    inverses[move.color] += 1 / std::max(move.accuracy, HARMONIC_FLOOR);
  }

  // A side's accuracy is the mean of its volatility-weighted mean and the
  // harmonic mean of its moves' accuracies; the weights are at least
  // MIN_WEIGHT and the inverses at least 1/100, so neither sum is zero once
  // the side has moved.
  for (int color : {White, Black}) {
    SideSummary &side = review.sides[color];
    if (side.moves == 0)
      continue;
    const double harmonic = side.moves / inverses[color];
    side.accuracy = (weighted[color] / weights[color] + harmonic) / 2;
  }
  review.ok = true;
  return review;
}

} // namespace chess

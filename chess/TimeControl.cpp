#include "chess/TimeControl.h"

#include <cctype>

namespace chess {

namespace {

constexpr int64_t MS_PER_SECOND = 1000;
constexpr int64_t MAX_SECONDS = 24 * 3600;
constexpr int64_t MAX_INCREMENT_SECONDS = 3600;
constexpr int MAX_MOVES = 200;
// More digits than this cannot be a value in range, leading zeros aside.
constexpr size_t MAX_DIGITS = 12;

// Reads the whole decimal number text[pos..end) stops at (one digit at least,
// no sign); false when there is none or it has too many digits to be in range.
bool ReadNumber(const std::string &text, size_t &pos, int64_t &value) {
  const size_t start = pos;
  value = 0;
  size_t significant = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
    value = significant < MAX_DIGITS ? value * 10 + (text[pos] - '0') : value;
    significant += (significant > 0 || text[pos] != '0') ? 1 : 0;
    ++pos;
  }
  return pos > start && significant <= MAX_DIGITS;
}

// Reads one field "[moves/]seconds[+increment]"; false with the reason.
bool ParseField(const std::string &field, TimePeriod &period, std::string &reason) {
  const std::string quoted = "\"" + field + "\"";
  if (field.empty()) {
    reason = "an empty period";
    return false;
  }
  if (field == "?") {
    reason = "the time control is unknown (\"?\")";
    return false;
  }
  if (field[0] == '*') {
    reason = "a sandglass (" + quoted + ") is not supported";
    return false;
  }
  size_t pos = 0;
  int64_t first = 0;
  if (!ReadNumber(field, pos, first)) {
    reason = quoted + " does not start with a whole number of seconds or moves";
    return false;
  }
  int64_t moves = 0, seconds = first, increment = 0;
  if (pos < field.size() && field[pos] == '/') {
    moves = first;
    ++pos;
    if (!ReadNumber(field, pos, seconds)) {
      reason = quoted + " has no whole number of seconds after its move count";
      return false;
    }
  }
  if (pos < field.size() && field[pos] == '+') {
    ++pos;
    if (!ReadNumber(field, pos, increment)) {
      reason = quoted + " has no whole number of seconds after '+'";
      return false;
    }
  }
  if (pos != field.size()) {
    reason = quoted + " has \"" + field.substr(pos) + "\" where it should end";
    return false;
  }
  if (field.find('/') != std::string::npos && (moves < 1 || moves > MAX_MOVES)) {
    reason = quoted + ": the move count must be 1 to " + std::to_string(MAX_MOVES);
    return false;
  }
  if (seconds < 1 || seconds > MAX_SECONDS) {
    reason = quoted + ": the time must be 1 to " + std::to_string(MAX_SECONDS) + " seconds";
    return false;
  }
  if (increment > MAX_INCREMENT_SECONDS) {
    reason = quoted + ": the increment must be at most " + std::to_string(MAX_INCREMENT_SECONDS) + " seconds";
    return false;
  }
  period.moves = int(moves);
  period.baseMs = seconds * MS_PER_SECOND;
  period.incrementMs = increment * MS_PER_SECOND;
  return true;
}

// A time for the player: whole hours as "2 h", whole minutes as "90 min"
// (an hour and a half stays in minutes), anything else in seconds, with the
// milliseconds as decimals when there are any ("1.5 s").
std::string DescribeTime(int64_t ms) {
  if (ms > 0 && ms % (3600 * MS_PER_SECOND) == 0)
    return std::to_string(ms / (3600 * MS_PER_SECOND)) + " h";
  if (ms > 0 && ms % (60 * MS_PER_SECOND) == 0)
    return std::to_string(ms / (60 * MS_PER_SECOND)) + " min";
  std::string text = std::to_string(ms / MS_PER_SECOND);
  if (int64_t part = ms % MS_PER_SECOND) {
    std::string decimals = std::to_string(1000 + part).substr(1);
    while (decimals.back() == '0')
      decimals.pop_back();
    text += "." + decimals;
  }
  return text + " s";
}

} // namespace

bool ParseIncrementKind(const std::string &text, IncrementKind &kind) {
  if (text == "fischer")
    kind = IncrementKind::Fischer;
  else if (text == "bronstein")
    kind = IncrementKind::Bronstein;
  else
    return false;
  return true;
}

const char *IncrementKindName(IncrementKind kind) { return kind == IncrementKind::Bronstein ? "bronstein" : "fischer"; }

bool TimeControl::Parse(const std::string &text, TimeControl &out, std::string &reason) {
  if (text.empty() || text == "-") {
    out.periods.clear();
    return true;
  }
  std::vector<TimePeriod> read;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(':', start);
    const std::string field = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    TimePeriod period;
    if (!ParseField(field, period, reason))
      return false;
    read.push_back(period);
    if (end == std::string::npos)
      break;
    if (period.moves == 0) {
      reason = "\"" + field + "\" lasts the rest of the game, so no period can follow it";
      return false;
    }
    start = end + 1;
  }
  out.periods = read;
  return true;
}

std::string TimeControl::ToString() const {
  if (periods.empty())
    return "-";
  std::string text;
  for (const TimePeriod &period : periods) {
    if (!text.empty())
      text += ':';
    if (period.moves > 0)
      text += std::to_string(period.moves) + "/";
    text += std::to_string(period.baseMs / MS_PER_SECOND);
    if (period.incrementMs / MS_PER_SECOND > 0)
      text += "+" + std::to_string(period.incrementMs / MS_PER_SECOND);
  }
  return text;
}

std::string TimeControl::Describe() const {
  if (periods.empty())
    return "none";
  std::string text;
  for (const TimePeriod &period : periods) {
    if (!text.empty())
      text += ", then ";
    if (period.moves > 0)
      text += std::to_string(period.moves) + (period.moves == 1 ? " move in " : " moves in ");
    text += DescribeTime(period.baseMs);
    if (period.incrementMs > 0)
      text += " + " + DescribeTime(period.incrementMs);
  }
  if (periods.back().moves > 0)
    text += ", repeating";
  return text;
}

size_t TimeControl::PeriodAfter(int movesMade) const {
  int left = movesMade;
  for (size_t i = 0; i < periods.size(); ++i) {
    if (periods[i].moves <= 0 || left < periods[i].moves || i + 1 == periods.size())
      return i;
    left -= periods[i].moves;
  }
  return 0;
}

} // namespace chess

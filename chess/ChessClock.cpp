#include "chess/ChessClock.h"

#include "chess/Types.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace chess {

namespace {

constexpr int64_t MS_PER_SECOND = 1000;
constexpr int64_t MS_PER_MINUTE = 60 * MS_PER_SECOND;
constexpr int64_t MS_PER_HOUR = 60 * MS_PER_MINUTE;
// Below this a face and a clock comment show tenths of a second.
constexpr int64_t TENTHS_BELOW_MS = 10 * MS_PER_SECOND;

bool IsSide(int color) { return color == White || color == Black; }

// Where a side stands after movesMade moves: its period and the moves it has
// made in that period (a last period with a move count starts over each time
// its moves are made).
struct PeriodPlace {
  size_t index = 0;
  int movesIn = 0;
};

PeriodPlace PlaceAfter(const TimeControl &control, int movesMade) {
  PeriodPlace place;
  const std::vector<TimePeriod> &periods = control.Periods();
  int left = movesMade;
  for (size_t i = 0; i < periods.size(); ++i) {
    const int moves = periods[i].moves;
    if (moves <= 0 || left < moves) {
      place = {i, left};
      break;
    }
    if (i + 1 == periods.size()) {
      place = {i, left % moves};
      break;
    }
    left -= moves;
  }
  return place;
}

// "h:mm:ss" with the hours as they come.
std::string HoursMinutesSeconds(int64_t ms) {
  const int64_t seconds = ms / MS_PER_SECOND;
  char text[40];
  std::snprintf(text, sizeof text, "%lld:%02d:%02d", static_cast<long long>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

// "s.t": whole seconds and the tenth they are in, for times below ten seconds.
std::string SecondsAndTenth(int64_t ms) {
  return std::to_string(ms / MS_PER_SECOND) + "." + std::to_string(ms % MS_PER_SECOND / 100);
}

// Reads the digits at text[pos] (at least min, at most max) as a number.
bool ReadDigits(const std::string &text, size_t &pos, size_t min, size_t max, int64_t &value) {
  const size_t start = pos;
  value = 0;
  while (pos < text.size() && pos - start < max && std::isdigit(static_cast<unsigned char>(text[pos])))
    value = value * 10 + (text[pos++] - '0');
  return pos - start >= min && !(pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])));
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

void ChessClock::Start(const TimeControl &newControl, IncrementKind newKind, int side, int64_t nowMs) {
  Clear();
  control = newControl;
  kind = newKind;
  if (control.IsNone())
    return;
  const TimePeriod &first = control.Periods().front();
  for (Face &face : faces)
    face = Face{first.baseMs + (kind == IncrementKind::Fischer ? first.incrementMs : 0), 0};
  sideToMove = side == Black ? Black : White;
  running = sideToMove;
  turnStartMs = nowMs;
}

void ChessClock::Resume(const TimeControl &newControl, IncrementKind newKind, int startSide,
                        const std::vector<int64_t> &leftAfterPly, int64_t nowMs) {
  Start(newControl, newKind, startSide, nowMs);
  if (!IsOn())
    return;
  for (int64_t left : leftAfterPly) {
    history.push_back(Before{{faces[0], faces[1]}, sideToMove});
    Face &face = faces[sideToMove];
    const PeriodPlace place = PlaceAfter(control, face.movesMade);
    const TimePeriod &period = control.Periods()[place.index];
    ++face.movesMade;
    if (left >= 0)
      face.remainingMs = left;
    else if (period.moves > 0 && place.movesIn + 1 == period.moves)
      face.remainingMs += control.Periods()[control.PeriodAfter(face.movesMade)].baseMs;
    leftAfter.push_back(left);
    sideToMove = OtherColor(sideToMove);
  }
  running = sideToMove;
}

void ChessClock::Clear() {
  control = TimeControl();
  kind = IncrementKind::Fischer;
  faces[0] = faces[1] = Face();
  running = NO_SIDE;
  sideToMove = White;
  turnStartMs = 0;
  history.clear();
  leftAfter.clear();
}

int64_t ChessClock::Remaining(int color, int64_t nowMs) const {
  if (!IsSide(color))
    return 0;
  int64_t left = faces[color].remainingMs;
  if (color == running)
    left -= std::max<int64_t>(0, nowMs - turnStartMs);
  return std::max<int64_t>(0, left);
}

int ChessClock::Flagged(int64_t nowMs) const {
  if (running == NO_SIDE)
    return NO_SIDE;
  return faces[running].remainingMs - std::max<int64_t>(0, nowMs - turnStartMs) <= 0 ? running : NO_SIDE;
}

int64_t ChessClock::Moved(int64_t nowMs) {
  if (running == NO_SIDE)
    return -1;
  history.push_back(Before{{faces[0], faces[1]}, sideToMove});
  Face &face = faces[running];
  const PeriodPlace place = PlaceAfter(control, face.movesMade);
  const TimePeriod &period = control.Periods()[place.index];
  // A move made after the flag fell is charged no more than the time there
  // was, and a delay gives back no more than was charged.
  const int64_t used = std::min(std::max<int64_t>(0, nowMs - turnStartMs), std::max<int64_t>(0, face.remainingMs));
  int64_t left = face.remainingMs - used;
  left += kind == IncrementKind::Fischer ? period.incrementMs : std::min(used, period.incrementMs);
  ++face.movesMade;
  if (period.moves > 0 && place.movesIn + 1 == period.moves)
    left += control.Periods()[control.PeriodAfter(face.movesMade)].baseMs;
  face.remainingMs = left;
  leftAfter.push_back(left);
  sideToMove = OtherColor(running);
  running = sideToMove;
  turnStartMs = nowMs;
  return left;
}

void ChessClock::Stop(int64_t nowMs) {
  if (running == NO_SIDE)
    return;
  faces[running].remainingMs = Remaining(running, nowMs);
  running = NO_SIDE;
}

void ChessClock::Continue(int64_t nowMs) {
  if (!IsOn() || running != NO_SIDE)
    return;
  running = sideToMove;
  turnStartMs = nowMs;
}

void ChessClock::TakeBack(size_t plies, int64_t nowMs) {
  const size_t count = std::min(plies, history.size());
  if (!IsOn() || count == 0)
    return;
  const Before &before = history[history.size() - count];
  faces[0] = before.faces[0];
  faces[1] = before.faces[1];
  sideToMove = before.sideToMove;
  history.resize(history.size() - count);
  leftAfter.resize(leftAfter.size() - count);
  running = sideToMove;
  turnStartMs = nowMs;
}

int ChessClock::MovesToGo(int color) const {
  if (!IsOn() || !IsSide(color))
    return 0;
  const PeriodPlace place = PlaceAfter(control, faces[color].movesMade);
  const int moves = control.Periods()[place.index].moves;
  return moves > 0 ? moves - place.movesIn : 0;
}

int64_t ChessClock::IncrementOf(int color) const {
  return IsOn() && IsSide(color) ? control.Periods()[PeriodOf(color)].incrementMs : 0;
}

int64_t ChessClock::LowTimeMs(int color) const {
  return IsOn() && IsSide(color) ? control.Periods()[PeriodOf(color)].baseMs / 10 : 0;
}

size_t ChessClock::PeriodOf(int color) const {
  return IsOn() && IsSide(color) ? control.PeriodAfter(faces[color].movesMade) : 0;
}

std::string ClockFaceText(int64_t ms) {
  ms = std::max<int64_t>(0, ms);
  if (ms >= MS_PER_HOUR)
    return HoursMinutesSeconds(ms);
  if (ms >= TENTHS_BELOW_MS) {
    const int64_t seconds = ms / MS_PER_SECOND;
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
    return text;
  }
  return "0:0" + SecondsAndTenth(ms);
}

std::string ClockComment(int64_t ms) {
  if (ms < 0)
    return "";
  if (ms >= TENTHS_BELOW_MS)
    return "[%clk " + HoursMinutesSeconds(ms) + "]";
  return "[%clk 0:00:0" + SecondsAndTenth(ms) + "]";
}

bool ReadClockComment(const std::string &comment, int64_t &ms) {
  static const std::string TAG = "[%clk";
  size_t pos = comment.find(TAG);
  while (pos != std::string::npos && !(pos + TAG.size() < comment.size() && IsBlank(comment[pos + TAG.size()])))
    pos = comment.find(TAG, pos + 1);
  if (pos == std::string::npos)
    return false;
  pos += TAG.size();
  while (pos < comment.size() && IsBlank(comment[pos]))
    ++pos;
  int64_t hours = 0, minutes = 0, seconds = 0, fraction = 0;
  size_t fractionDigits = 0;
  if (!ReadDigits(comment, pos, 1, 6, hours) || pos >= comment.size() || comment[pos++] != ':' ||
      !ReadDigits(comment, pos, 2, 2, minutes) || pos >= comment.size() || comment[pos++] != ':' ||
      !ReadDigits(comment, pos, 2, 2, seconds) || minutes >= 60 || seconds >= 60)
    return false;
  if (pos < comment.size() && comment[pos] == '.') {
    const size_t start = ++pos;
    for (; pos < comment.size() && std::isdigit(static_cast<unsigned char>(comment[pos])); ++pos)
      if (pos - start < 3)
        fraction = fraction * 10 + (comment[pos] - '0');
    fractionDigits = std::min<size_t>(pos - start, 3);
    if (fractionDigits == 0)
      return false;
  }
  while (pos < comment.size() && IsBlank(comment[pos]))
    ++pos;
  if (pos >= comment.size() || comment[pos] != ']')
    return false;
  for (size_t i = fractionDigits; i < 3; ++i)
    fraction *= 10;
  ms = ((hours * 60 + minutes) * 60 + seconds) * MS_PER_SECOND + fraction;
  return true;
}

} // namespace chess

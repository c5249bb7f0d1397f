#include "chess/ClockNotes.h"

#include "chess/ChessClock.h"

#include <algorithm>
#include <string>

namespace chess {

namespace {

const std::string CLOCK_MARK = "[%clk";

// The comment without its clock annotations and the blanks they leave.
std::string WithoutClock(std::string comment) {
  for (size_t at = comment.find(CLOCK_MARK); at != std::string::npos; at = comment.find(CLOCK_MARK, at)) {
    const size_t end = comment.find(']', at);
    comment.erase(at, end == std::string::npos ? std::string::npos : end + 1 - at);
  }
  const size_t first = comment.find_first_not_of(' ');
  if (first == std::string::npos)
    return "";
  return comment.substr(first, comment.find_last_not_of(' ') - first + 1);
}

} // namespace

void SetClockNote(MoveNotes &notes, int64_t ms) {
  std::vector<std::string> kept;
  for (const std::string &comment : notes.comments) {
    const std::string rest = comment.find(CLOCK_MARK) == std::string::npos ? comment : WithoutClock(comment);
    if (!rest.empty())
      kept.push_back(rest);
  }
  kept.push_back(ClockComment(ms));
  notes.comments = kept;
}

std::vector<int64_t> ClockNotesOf(const PgnGame &game) {
  std::vector<int64_t> left(game.moves.size(), -1);
  for (size_t ply = 0; ply < game.moves.size(); ++ply)
    for (const std::string &comment : game.NotesOf(ply).comments) {
      int64_t ms = 0;
      if (ReadClockComment(comment, ms))
        left[ply] = ms;
    }
  return left;
}

} // namespace chess

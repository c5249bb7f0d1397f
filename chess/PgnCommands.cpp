#include "chess/PgnCommands.h"

#include <vector>

namespace chess {

namespace {

// The comment without its commands of one kind and the blanks they leave.
std::string Without(std::string comment, const std::string &mark) {
  for (size_t at = comment.find(mark); at != std::string::npos; at = comment.find(mark, at)) {
    const size_t end = comment.find(']', at);
    comment.erase(at, end == std::string::npos ? std::string::npos : end + 1 - at);
  }
  const size_t first = comment.find_first_not_of(' ');
  if (first == std::string::npos)
    return "";
  return comment.substr(first, comment.find_last_not_of(' ') - first + 1);
}

} // namespace

void DropCommands(MoveNotes &notes, const std::string &mark) {
  std::vector<std::string> kept;
  for (const std::string &comment : notes.comments) {
    const std::string rest = comment.find(mark) == std::string::npos ? comment : Without(comment, mark);
    if (!rest.empty())
      kept.push_back(rest);
  }
  notes.comments = kept;
}

} // namespace chess

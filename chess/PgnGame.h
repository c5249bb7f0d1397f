// One game as a PGN file holds it: tag pairs, the start position, the moves
// with their annotations (NAGs and comments) and the result.
#pragma once

#include "chess/Move.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace chess {

// What a file says about one move: its numeric annotation glyphs and the
// brace comments written after it.
struct MoveNotes {
  // NAGs in file order, 0-255; the suffix marks read as NAGs ("!" is 1, "?" 2,
  // "!!" 3, "??" 4, "!?" 5, "?!" 6).
  std::vector<int> nags;
  // The text between the braces of each comment, in file order. A line break
  // inside a comment is layout, not text: it reads as one blank.
  std::vector<std::string> comments;

  bool IsEmpty() const { return nags.empty() && comments.empty(); }
  bool operator==(const MoveNotes &o) const { return nags == o.nags && comments == o.comments; }
  bool operator!=(const MoveNotes &o) const { return !(*this == o); }
};

// The light view of a game a chooser lists.
struct PgnSummary {
  std::string white;  // the White tag, or "?"
  std::string black;  // the Black tag, or "?"
  std::string date;   // the Date tag, or "?"
  std::string result; // the game's result ("*" for a game cut short)
  std::size_t plies = 0;
};

struct PgnGame {
  // Tag pairs in file order (names are case-sensitive, as in PGN).
  std::vector<std::pair<std::string, std::string>> tags;
  // The start position in FEN; empty for the standard start position.
  std::string startFen;
  std::vector<Move> moves;
  // notes[i] annotates moves[i]. It may be shorter than moves (code that
  // plays on from a game may push moves alone): a ply without an entry has
  // no notes. Entries beyond the last move mean nothing and are not written.
  std::vector<MoveNotes> notes;
  // Comments before the first move.
  std::vector<std::string> gameComments;
  // "1-0", "0-1", "1/2-1/2", or "*" for a game still going on.
  std::string result = "*";

  // The value of a tag, or null.
  const std::string *FindTag(const std::string &name) const {
    for (const auto &tag : tags)
      if (tag.first == name)
        return &tag.second;
    return nullptr;
  }
  // Replaces the tag's value, or appends the tag.
  void SetTag(const std::string &name, const std::string &value) {
    for (auto &tag : tags)
      if (tag.first == name) {
        tag.second = value;
        return;
      }
    tags.emplace_back(name, value);
  }
  bool IsFinished() const { return result != "*"; }

  // The notes of a ply (0-based); empty notes for a ply without any.
  const MoveNotes &NotesOf(std::size_t ply) const {
    static const MoveNotes none;
    return ply < notes.size() ? notes[ply] : none;
  }
  // The notes of a ply, to fill in; the list grows to reach it.
  MoveNotes &NotesAt(std::size_t ply) {
    if (notes.size() <= ply)
      notes.resize(ply + 1);
    return notes[ply];
  }
  // Plays on: appends a move without notes, keeping notes beside moves.
  void AppendMove(const Move &move) {
    notes.resize(moves.size());
    moves.push_back(move);
    notes.emplace_back();
  }
  // Takes back to the first plies moves; their notes go with them.
  void TruncateMoves(std::size_t plies) {
    if (plies < moves.size())
      moves.resize(plies);
    if (plies < notes.size())
      notes.resize(plies);
  }

  PgnSummary Summary() const {
    const std::string *white = FindTag("White"), *black = FindTag("Black"), *date = FindTag("Date");
    return {white ? *white : "?", black ? *black : "?", date ? *date : "?", result, moves.size()};
  }

  // Same tags, start, moves, notes and result; a missing notes entry equals
  // empty notes.
  bool operator==(const PgnGame &o) const {
    if (tags != o.tags || startFen != o.startFen || moves != o.moves || gameComments != o.gameComments ||
        result != o.result)
      return false;
    for (std::size_t ply = 0; ply < moves.size(); ++ply)
      if (NotesOf(ply) != o.NotesOf(ply))
        return false;
    return true;
  }
  bool operator!=(const PgnGame &o) const { return !(*this == o); }
};

} // namespace chess

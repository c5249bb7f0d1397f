// Names of chess openings by position, read from a file of ECO
// classifications in PGN (each entry a line of moves tagged with its ECO
// code, opening and variation names). Positions are matched, not move
// orders, so a game that transposes into a known line gets its name.
#pragma once

#include "chess/CGameRecord.h"
#include "chess/CPgnReader.h"
#include "chess/Position.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace chess {

struct OpeningName {
  std::string eco;       // "C60"
  std::string opening;   // "Ruy Lopez (Spanish opening)"
  std::string variation; // empty when the entry names none

  bool operator==(const OpeningName &o) const {
    return eco == o.eco && opening == o.opening && variation == o.variation;
  }
  bool operator!=(const OpeningName &o) const { return !(*this == o); }
};

// What a lookup of a line of moves found.
struct OpeningMatch {
  bool found = false;    // some position of the line is in the book
  OpeningName name;      // the name of the deepest such position
  std::size_t ply = 0;   // plies from the line's start to that position
  std::size_t plies = 0; // plies that could be followed (all unless a move was illegal)
  std::string error;     // the illegal move that stopped the lookup, if any
};

class COpeningBook {
public:
  // Reads an ECO file, replacing what the book held. Every position along
  // every entry's line is indexed. A position where an entry's line ends
  // takes that entry's name; where several end, the one of the longest line
  // wins, the first in the file among equals. A position that is only passed
  // through takes the name of the last named position before it on the line
  // (the name a game following that line carries there); among several
  // lines, the one whose named position lies deepest, the first among equals.
  // A position between a line's start and its first named position takes
  // the name of that line's entry, unless any other rule names it; the start
  // itself (the standard start position, or an entry's FEN) takes no name
  // from the line, so the start position is no opening. Positions are told
  // apart by Position::RepetitionKey. Broken entries and entries without an Opening tag are skipped and
  // counted. False, with error saying why and the book empty, for a file
  // the PGN reader refuses or one without any usable entry.
  bool Load(const std::string &pgnText, std::string &error);

  // Entries indexed by the last Load.
  std::size_t GetEntryCount() const { return names.size(); }
  // Distinct positions known.
  std::size_t GetPositionCount() const { return index.size(); }
  // Entries the last Load skipped: the line of the fault (of the entry, for
  // one without an Opening tag) and the reason.
  const std::vector<PgnError> &GetSkipped() const { return skipped; }

  // The name of exactly this position; false when the book does not know it.
  bool FindPosition(const Position &position, OpeningName &name) const;
  // Follows moves from start and names the deepest position the book knows,
  // the start included: a line that leaves the book keeps the last name
  // found. An illegal move ends the lookup there, with error naming it.
  OpeningMatch Lookup(const Position &start, const std::vector<Move> &moves) const;
  // Lookup over a game from its start position; false when no position of
  // the game is in the book.
  bool Find(const CGameRecord &record, OpeningName &name) const;

private:
  // The name a position carries and how it came by it, to choose among the
  // entries that reach it.
  struct Slot {
    // How the name came to the position, weakest first: from a line that
    // goes on to be named later, from the last named position before it on a
    // line, from a line that ends there.
    enum Kind : std::uint8_t { Ahead, Passes, Ends };
    std::uint32_t entry = 0; // index in names
    std::uint32_t depth = 0; // plies of the line (Ends) or to the named position (Passes)
    Kind kind = Ahead;
  };

  // Offers a name for a position; kept when it beats the one there.
  void Offer(std::uint64_t key, const Slot &slot);

  std::vector<OpeningName> names;
  std::unordered_map<std::uint64_t, Slot> index; // by Position::RepetitionKey
  std::vector<PgnError> skipped;
};

} // namespace chess

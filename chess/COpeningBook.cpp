#include "chess/COpeningBook.h"

#include <utility>

namespace chess {

namespace {

// The repetition keys of every position along a game's line, its start
// included; false when a move does not replay (the reader replayed them, so
// only a reader fault would do that).
bool LineKeys(const PgnGame &game, std::vector<std::uint64_t> &keys, std::string &error) {
  Position position;
  if (!game.startFen.empty() && !position.SetFen(game.startFen, error))
    return false;
  keys.assign(1, position.RepetitionKey());
  for (const Move &move : game.moves) {
    if (!position.Play(move)) {
      error = "move " + move.ToUci() + " does not replay";
      return false;
    }
    keys.push_back(position.RepetitionKey());
  }
  return true;
}

std::string TagOr(const PgnGame &game, const char *name) {
  const std::string *value = game.FindTag(name);
  return value ? *value : std::string();
}

} // namespace

void COpeningBook::Offer(std::uint64_t key, const Slot &slot) {
  const auto placed = index.emplace(key, slot);
  if (placed.second)
    return;
  Slot &held = placed.first->second;
  // The stronger kind wins, then the deeper; among equals the first stays.
  if (slot.kind > held.kind || (slot.kind == held.kind && slot.depth > held.depth))
    held = slot;
}

bool COpeningBook::Load(const std::string &pgnText, std::string &error) {
  names.clear();
  index.clear();
  skipped.clear();

  std::vector<PgnGameEntry> games;
  PgnError readError;
  if (!CPgnReader::ReadAll(pgnText, games, readError)) {
    error = "line " + std::to_string(readError.line) + ": " + readError.reason;
    return false;
  }

  std::vector<std::vector<std::uint64_t>> lines;
  for (const PgnGameEntry &entry : games) {
    if (!entry.ok) {
      skipped.push_back(entry.error);
      continue;
    }
    OpeningName name{TagOr(entry.game, "ECO"), TagOr(entry.game, "Opening"), TagOr(entry.game, "Variation")};
    if (name.opening.empty()) {
      skipped.push_back({entry.line, "the entry has no Opening tag"});
      continue;
    }
    std::vector<std::uint64_t> keys;
    std::string reason;
    if (!LineKeys(entry.game, keys, reason)) {
      skipped.push_back({entry.line, reason});
      continue;
    }
    names.push_back(std::move(name));
    lines.push_back(std::move(keys));
  }
  if (names.empty()) {
    error = "the file holds no usable opening (" + std::to_string(skipped.size()) + " entries skipped)";
    skipped.clear();
    return false;
  }

  // First the positions where lines end, each entry's own position; then the
  // positions lines pass through, which need to know the first.
  for (std::uint32_t entry = 0; entry < lines.size(); ++entry)
    Offer(lines[entry].back(), {entry, static_cast<std::uint32_t>(lines[entry].size() - 1), Slot::Ends});
  for (std::uint32_t entry = 0; entry < lines.size(); ++entry) {
    const std::vector<std::uint64_t> &keys = lines[entry];
    bool named = false;
    Slot last;
    for (std::uint32_t ply = 0; ply + 1 < keys.size(); ++ply) {
      const auto held = index.find(keys[ply]);
      if (held != index.end() && held->second.kind == Slot::Ends) {
        named = true;
        last = {held->second.entry, ply, Slot::Passes};
      } else if (named) {
        Offer(keys[ply], last);
      } else if (ply > 0) {
        // The line's start comes before any of its moves: no name of its own.
        Offer(keys[ply], {entry, 0, Slot::Ahead});
      }
    }
  }
  return true;
}

bool COpeningBook::FindPosition(const Position &position, OpeningName &name) const {
  const auto held = index.find(position.RepetitionKey());
  if (held == index.end())
    return false;
  name = names[held->second.entry];
  return true;
}

OpeningMatch COpeningBook::Lookup(const Position &start, const std::vector<Move> &moves) const {
  OpeningMatch match;
  Position position = start;
  for (std::size_t ply = 0;; ++ply) {
    OpeningName name;
    if (FindPosition(position, name)) {
      match.found = true;
      match.name = std::move(name);
      match.ply = ply;
    }
    match.plies = ply;
    if (ply == moves.size())
      break;
    if (!position.Play(moves[ply])) {
      match.error = "move " + std::to_string(ply + 1) + " (" + moves[ply].ToUci() + ") is not legal";
      break;
    }
  }
  return match;
}

bool COpeningBook::Find(const CGameRecord &record, OpeningName &name) const {
  const OpeningMatch match = Lookup(record.GetStartPosition(), record.GetMoves());
  if (match.found)
    name = match.name;
  return match.found;
}

} // namespace chess

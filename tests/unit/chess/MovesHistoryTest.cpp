// The moves history followed move by move: the same text as the whole game
// written at once, growing only at its end, and rebuilt for another game.
#include "chess/CMovesHistory.h"
#include "chess/CPgnWriter.h"
#include "tests/unit/chess/ChessTestSupport.h"

#include <gtest/gtest.h>

using namespace chess;
using chess_testing::Uci;

namespace {

using Change = CMovesHistory::Change;

// The moves list written in one go, as the history shows it (no line feed at the end).
std::string Written(const PgnGame &game) {
  std::string text;
  EXPECT_TRUE(CPgnWriter::MovesList(game, text));
  if (!text.empty() && text.back() == '\n')
    text.pop_back();
  return text;
}

PgnGame Prefix(const PgnGame &game, size_t plies, const std::string &result = "*") {
  PgnGame part;
  part.startFen = game.startFen;
  part.moves.assign(game.moves.begin(), game.moves.begin() + std::ptrdiff_t(plies));
  part.result = result;
  return part;
}

// Games followed one ply at a time read exactly as the game written at once,
// and each step only appends.
TEST(MovesHistoryTest, FollowedMoveByMoveItReadsAsTheWholeGameWritten) {
  const char *starts[] = {"", "r3k2r/pppq1ppp/2n2n2/3pp3/1b1PP3/2N2N2/PPPQ1PPP/R3K2R b KQkq - 4 9",
                          "8/P6k/8/8/8/8/6Kp/8 w - - 0 60"};
  unsigned seed = 11;
  for (const char *start : starts)
    for (int game = 0; game < 2; ++game) {
      const PgnGame full = chess_testing::RandomGame(start, 90, seed++);
      CMovesHistory history;
      // A new history is the empty game from the standard start.
      EXPECT_EQ(history.Follow(Prefix(full, 0)), *start ? Change::Replaced : Change::None);
      for (size_t plies = 1; plies <= full.moves.size(); ++plies) {
        const std::string before = history.GetText();
        ASSERT_EQ(history.Follow(Prefix(full, plies)), Change::Appended) << start << " ply " << plies;
        ASSERT_EQ(history.GetText(), before + history.GetTail());
        ASSERT_EQ(history.GetText(), Written(Prefix(full, plies))) << start << " ply " << plies;
      }
      EXPECT_EQ(history.Follow(full), full.IsFinished() ? Change::Appended : Change::None);
      EXPECT_EQ(history.GetText(), Written(full));
      EXPECT_TRUE(history.IsComplete());
    }
}

TEST(MovesHistoryTest, WhatChangesTheText) {
  PgnGame italian;
  for (const char *uci : {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4"})
    italian.moves.push_back(Uci(uci));
  PgnGame fromFen = Prefix(italian, 0);
  fromFen.startFen = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3";
  fromFen.moves.push_back(italian.moves[4]);
  PgnGame otherMove = Prefix(italian, 2);
  otherMove.moves.push_back(Uci("d2d4"));
  PgnGame illegal = Prefix(italian, 3);
  illegal.moves.push_back(italian.moves[2]); // the knight's move again, from an empty square

  struct Case {
    const char *name;
    PgnGame before, after;
    Change change;
    std::string text, tail;
    bool complete;
  } cases[] = {
      {"the same game", Prefix(italian, 3), Prefix(italian, 3), Change::None, "1. e4 e5\n2. Nf3", "", true},
      {"black's move ends the line", Prefix(italian, 3), Prefix(italian, 4), Change::Appended, "1. e4 e5\n2. Nf3 Nc6",
       " Nc6", true},
      {"white's move opens a line", Prefix(italian, 4), italian, Change::Appended, "1. e4 e5\n2. Nf3 Nc6\n3. Bc4",
       "\n3. Bc4", true},
      {"two moves at once", Prefix(italian, 2), Prefix(italian, 4), Change::Appended, "1. e4 e5\n2. Nf3 Nc6",
       "\n2. Nf3 Nc6", true},
      {"the result comes last", Prefix(italian, 4), Prefix(italian, 4, "1-0"), Change::Appended,
       "1. e4 e5\n2. Nf3 Nc6\n1-0", "\n1-0", true},
      {"a result alone", Prefix(italian, 0), Prefix(italian, 0, "1/2-1/2"), Change::Appended, "1/2-1/2", "1/2-1/2",
       true},
      {"a move taken back", Prefix(italian, 4), Prefix(italian, 2), Change::Replaced, "1. e4 e5", "", true},
      {"the result taken back", Prefix(italian, 4, "0-1"), Prefix(italian, 4), Change::Replaced, "1. e4 e5\n2. Nf3 Nc6",
       "", true},
      {"a new game", italian, Prefix(italian, 0), Change::Replaced, "", "", true},
      {"another start", Prefix(italian, 0), fromFen, Change::Replaced, "3. Bc4", "", true},
      {"another move at the same ply", Prefix(italian, 3), otherMove, Change::Replaced, "1. e4 e5\n2. d4", "", true},
      {"an illegal move stops the text", Prefix(italian, 3), illegal, Change::Replaced, "1. e4 e5\n2. Nf3", "", false},
  };
  for (const Case &c : cases) {
    CMovesHistory history;
    history.Follow(c.before);
    EXPECT_EQ(history.Follow(c.after), c.change) << c.name;
    EXPECT_EQ(history.GetText(), c.text) << c.name;
    EXPECT_EQ(history.GetTail(), c.tail) << c.name;
    EXPECT_EQ(history.IsComplete(), c.complete) << c.name;
  }
}

} // namespace

// The move the engine owes the game: whether a search is owed, how far it
// has gone (a long one is cut short), its answer from its arrival until the
// game takes it as squares, and the move handed out last, which the game may
// still refuse. Kept apart from the conversation with the engine program,
// which only decides whether an answer counts.
#pragma once

#include "app/KelvarTypes.h"

#include <string>

class CEngineSearch {
public:
  // "info currmove" lines before a search is cut short.
  static constexpr int CURRMOVE_LIMIT = 5;

  // True while the engine owes a move (a search or a hand-back's answer).
  bool IsOwed() const { return owed; }
  // A search was asked for, or asked for again.
  void Owe() { owed = true; }
  // Nothing is owed any more, and an answer not yet taken is dropped: the
  // position changed, or there is no engine to answer.
  void Drop() {
    owed = false;
    answer.clear();
    currMoves = 0;
  }
  // As Drop, and the move handed out last can no longer be refused: a new game.
  void Reset() {
    Drop();
    handedOut.clear();
  }

  // An "info currmove" line came. True, once per CURRMOVE_LIMIT of them
  // during an owed search, when the search is to be stopped.
  bool CurrMove();
  // Starts the count of "info currmove" lines afresh: a search ended, or a
  // new engine process came.
  void ClearCurrMoves() { currMoves = 0; }
  // The owed move came (checked already): it waits for Take.
  void Answered(const std::string &move) {
    owed = false;
    answer = move;
  }
  // The answer waiting for Take; empty if there is none.
  const std::string &Answer() const { return answer; }
  // An answer not yet taken is dropped (it broke the rules).
  void DropAnswer() { answer.clear(); }

  // If an answer is waiting, gives its squares once and returns true. An
  // answer without a move ("(none)", the null move 0000) gives squares off
  // the board; a promotion letter names the piece (a queen when there is none).
  bool Take(BoardSquare &from, BoardSquare &to, irr::s32 &promotion);
  // The move handed out last, once; empty if there is none to refuse.
  std::string TakeHandedOut() {
    std::string move;
    move.swap(handedOut);
    return move;
  }

private:
  bool owed = false;
  int currMoves = 0;
  std::string answer;    // the answer's move text, until handed out
  std::string handedOut; // the move text handed out last
};

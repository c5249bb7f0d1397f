// The game controller: the program's phase, the human's colour, whose turn it
// is, and how a game ends. The engine's side of a turn is CEngineTurn's, a
// game taken over from a file CGameTakeover's.
#pragma once

#include "app/KelvarTypes.h"
#include "chess/CGameJudge.h"
#include "chess/CGameRecord.h"
#include "game/CEngineTurn.h"
#include "game/CGameTakeover.h"
#include "game/CHumanInput.h"
#include "game/CShownGame.h"

#include <string>
#include <vector>

#include <cstdint>

class CGame {
public:
  bool Init() { return true; }
  void Update();
  void Exit() {}
  void SetState(irr::s32 s);
  irr::s32 GetState() const { return state; }
  void SetHumanColor(irr::s32 c) { humanColor = c; }
  irr::s32 GetHumanColor() const { return humanColor; }
  // Two people on one board: both sides move by clicks, the engine is never
  // asked for a move. Takes effect with the next game.
  void SetTwoPlayers(bool on) { twoPlayers = on; }
  bool IsTwoPlayers() const { return twoPlayers; }
  void SetActivePlayer(irr::s32 c);
  // The colour window's answer: the human's colour, or two players. Starts a
  // new game, or plays on a game taken over from a file from where it
  // stands; the engine then moves first if the human took the side not to move.
  void OnColorChosen(irr::s32 color, bool twoPlayersChosen);
  // A game taken over from a file waits for the colour window's answer.
  bool IsChoosingSide() const { return takeover.IsChoosingSide(); }
  // Takes over a game from elsewhere (a file) as CGameTakeover::Start does;
  // an unfinished one waits in the colour window for the player's side.
  bool ContinueGame(const chess::Position &start, const std::string &startFen, const std::vector<chess::Move> &moves,
                    const std::string &result);
  irr::s32 GetActivePlayer() const { return activePlayer; }
  bool IsAwaitingEcho() const { return engineTurn.IsAwaitingEcho(); }
  // The human's clicks, kept clicks and promotion choice.
  CHumanInput &Input() { return input; }
  const CHumanInput &Input() const { return input; }
  // The human may act on the board: a game runs, it is a human's turn, and
  // nothing (a verdict, a stuck engine, the colour question) stops play.
  bool IsHumanTurn() const;
  // Only the engine's answer to its hand-back is awaited: the human is to
  // move on the board, and a click now is kept for when the turn has passed.
  bool IsEngineTurnEnding() const;
  // Lights a piece of the side to move and the squares it may go to.
  void SelectPiece(irr::s32 token);
  // The human's move from a click (or a promotion choice): played, judged,
  // handed to the engine.
  void PlayHumanMove(const BoardSquare &from, const BoardSquare &target, irr::s32 promotion);

  // The moves of the game in progress (or of the one just ended).
  const chess::CGameRecord &GetRecord() const { return shownGame.GetRecord(); }
  uint64_t GetRevision() const { return shownGame.GetRevision(); }
  uint64_t GetGameId() const { return shownGame.GetGameId(); }
  // How the game ended; reason None while it goes on.
  const chess::GameVerdict &GetVerdict() const { return verdict; }
  bool IsGameOver() const { return state == LocalGame && verdict.IsOver(); }
  // Whether the engine answered with no move it could play.
  bool IsEngineStuck() const { return engineTurn.IsStuck(); }

  // Take back: on the human's turn, after the game has ended, or when the
  // engine had no move, and only while a move of the human is on the board
  // and the engine owes no move.
  bool CanTakeBack() const;
  // Undoes the human's last move and the engine's answer to it (one move in
  // a two-player game), so that the human is to move again.
  void TakeBack();
  // A review of the game on the board can start: it has ended, or the
  // player is to move (nothing is owed by the engine, no promotion waits).
  bool CanReview() const;
  // A move typed by the player: played as a click would play it, on the
  // player's turn only (no promotion window open, no review on the board).
  // False, with nothing changed, otherwise or when it is not legal.
  bool PlayTypedMove(const chess::Move &move);
  bool CanTypeMove() const;
  // Resigning: while a game is running and has not ended.
  bool CanResign() const { return state == LocalGame && !verdict.IsOver() && !IsChoosingSide(); }
  // The human (in a two-player game, the side to move) resigns.
  void Resign();
  // The clock of color ran out: the game is lost on time, or drawn when the
  // other side could never mate.
  void OnFlagFell(irr::s32 color);

private:
  // They act for the controller in its turns: the engine's, and a game's takeover.
  friend class CEngineTurn;
  friend class CGameTakeover;

  void ForgetTurnState();
  // Plays a move through the record, shows it on the board, logs it and
  // judges the new position. The mover is left selected.
  bool PlayMove(const BoardSquare &from, const BoardSquare &to, irr::s32 promotion = Queen);
  // Announces the verdict: log line, banner, status line, tone; the engine
  // learns the final position and searches nothing more.
  void EndGame();
  // The engine link gave up on its engine: a game in progress goes on as a
  // two-player game.
  void OnEngineGivenUp();

  irr::s32 state = Startup;
  irr::s32 humanColor = White;
  irr::s32 activePlayer = White;
  bool twoPlayers = false;
  CHumanInput input{*this};
  CEngineTurn engineTurn{*this};
  CGameTakeover takeover{*this};
  uint32_t startupTick = 0;
  CShownGame shownGame;
  chess::GameVerdict verdict;
};

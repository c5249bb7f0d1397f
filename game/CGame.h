// The game controller: the program's phase, the human's colour, whose turn it
// is, the engine's side of each turn, and how a game ends.
#pragma once

#include "app/KelvarTypes.h"
#include "rules/CGameJudge.h"
#include "rules/CGameRecord.h"

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
  irr::s32 GetActivePlayer() const { return activePlayer; }
  bool IsAwaitingEcho() const { return awaitingEcho; }
  void OnLeftMouseDown();
  void OnRightMouseDown();

  // The moves of the game in progress (or of the one just ended).
  const CGameRecord &GetRecord() const { return record; }
  // How the game ended; reason None while it goes on.
  const GameVerdict &GetVerdict() const { return verdict; }
  bool IsGameOver() const { return state == LocalGame && verdict.IsOver(); }
  // Whether the engine answered with no move it could play.
  bool IsEngineStuck() const { return engineStuck; }

  // Take back: on the human's turn, after the game has ended, or when the
  // engine had no move, and only while a move of the human is on the board.
  bool CanTakeBack() const;
  // Undoes the human's last move and the engine's answer to it (one move in
  // a two-player game), so that the human is to move again.
  void TakeBack();
  // Resigning: while a game is running and has not ended.
  bool CanResign() const { return state == LocalGame && !verdict.IsOver(); }
  // The human (in a two-player game, the side to move) resigns.
  void Resign();

private:
  void EngineTurn();
  // Plays a move through the record, logs it and judges the new position.
  bool PlayMove(const BoardSquare &from, const BoardSquare &to);
  // Announces the verdict: log line, banner, status line, tone; the engine
  // learns the final position and searches nothing more.
  void EndGame();
  // The engine answered with nothing playable: the player keeps control.
  void OnEngineHasNoMove();
  bool IsHumanTurn() const;

  irr::s32 state = Startup;
  irr::s32 humanColor = White;
  irr::s32 activePlayer = White;
  bool awaitingEcho = false;
  bool twoPlayers = false;
  bool engineStuck = false;
  uint32_t startupTick = 0;
  CGameRecord record;
  GameVerdict verdict;
};

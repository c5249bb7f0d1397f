// The game spoken, for a player who does not see the board: with speech on in
// the settings ([access] speech, the Config window's "Speak moves") every move
// played (the player's and the engine's) and the game's end are said as they
// happen, and keys say more: L the last move again, P the pieces of the side
// to move, K both clocks. Every phrase is logged as `say "<text>"`. The
// words go to a speech client (speech-dispatcher unless a test gives
// another); without a server the game goes on silently, and says so once in
// the log. Turning speech on takes effect at once, without a restart.
#pragma once

#include "access/CSpeechClient.h"

#include <irrlicht.h>

#include <functional>
#include <memory>
#include <string>

namespace chess {
class CGameRecord;
struct GameVerdict;
} // namespace chess

class CSpeech {
public:
  using ClientMaker = std::function<std::unique_ptr<CSpeechClient>()>;

  // With speech on, connects to the speech server (without waiting for it).
  bool Init();
  // Follows the setting and logs a server that could not be reached.
  void Update();
  // Closes the connection.
  void Exit();

  // Where the client comes from when speech is turned on; tests set it
  // before the program starts. Null restores speech-dispatcher.
  void SetClientMaker(ClientMaker maker) { clientMaker = std::move(maker); }

  bool IsOn() const;
  // A move has just been played: the record's last move is said.
  void MovePlayed(const chess::CGameRecord &record);
  // The game is over: said after the move that ended it, not over it.
  void GameEnded(const chess::GameVerdict &verdict, const chess::CGameRecord &record);
  // L, P and K with speech on, when no text is typed and no window or
  // dialog takes the keys; true when the key was speech's.
  bool OnKey(const irr::SEvent::SKeyInput &key);
  // The keys' phrases: the last move again ("No move yet." before the
  // first), the pieces of the side to move, the clocks ("No clock in this
  // game." without one).
  void RepeatLastMove();
  void SayPieces();
  void SayClocks();

  // Logs text and hands it to the client, when speech is on. interrupt
  // silences what is still being said.
  void Say(const std::string &text, bool interrupt = true);

private:
  // Opens a client when speech has been turned on, silences it when turned
  // off, and logs once when the client could not reach a server.
  void FollowSetting();

  ClientMaker clientMaker;
  std::unique_ptr<CSpeechClient> client;
  bool wasOn = false;
  bool failureLogged = false;
};

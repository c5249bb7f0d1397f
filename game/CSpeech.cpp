#include "game/CSpeech.h"

#include "access/CSpeechDispatcher.h"
#include "app/CApplication.h"
#include "chess/CGameRecord.h"
#include "chess/SpokenText.h"
#include "ui/GuiFocus.h"

using namespace irr;

bool CSpeech::Init() {
  wasOn = false;
  FollowSetting(); // the server may take a moment to start: the sooner the better
  return true;
}

void CSpeech::Update() { FollowSetting(); }

void CSpeech::Exit() {
  client.reset();
  wasOn = false;
}

bool CSpeech::IsOn() const { return app.settings.Get().speech; }

void CSpeech::FollowSetting() {
  const bool on = IsOn();
  std::string reason;
  if (on && !wasOn) {
    // A client that found no server is replaced: the server may be there now.
    if (!client || client->GetState(reason) == CSpeechClient::State::Failed) {
      client.reset();
      client = clientMaker ? clientMaker() : std::make_unique<CSpeechDispatcher>();
      failureLogged = false;
      client->Open();
    }
  } else if (!on && wasOn && client) {
    client->Cancel(); // the connection stays for the next time speech is turned on
  }
  wasOn = on;
  if (client && !failureLogged && client->GetState(reason) == CSpeechClient::State::Failed) {
    failureLogged = true;
    LogMessage("speech: no speech server (" + reason + "); the game stays silent");
  }
}

void CSpeech::Say(const std::string &text, bool interrupt) {
  if (!IsOn() || text.empty())
    return;
  FollowSetting(); // turned on in the Config window since the last frame
  LogMessage("say \"" + text + "\"");
  if (client)
    client->Say(text, interrupt);
}

void CSpeech::MovePlayed(const chess::CGameRecord &record) {
  if (IsOn())
    Say(chess::SpokenLastMove(record));
}

void CSpeech::GameEnded(const chess::GameVerdict &verdict, const chess::CGameRecord &record) {
  if (IsOn())
    Say(chess::SpokenGameEnd(verdict, record.GetSideToMove()), false);
}

void CSpeech::RepeatLastMove() {
  const std::string move = chess::SpokenLastMove(app.game.GetRecord());
  Say(move.empty() ? "No move yet." : move);
}

void CSpeech::SayPieces() {
  const chess::CGameRecord &record = app.game.GetRecord();
  Say(chess::SpokenPieces(record.GetPosition(), record.GetSideToMove()));
}

void CSpeech::SayClocks() {
  if (!app.clock.IsOn()) {
    Say("No clock in this game.");
    return;
  }
  Say(chess::SpokenClocks(app.clock.Remaining(chess::White), app.clock.Remaining(chess::Black)));
}

bool CSpeech::OnKey(const SEvent::SKeyInput &key) {
  if (!key.PressedDown || key.Control || !IsOn() || DialogTakesKeys(app.guiEnvironment))
    return false;
  switch (key.Key) {
  case KEY_KEY_L:
    RepeatLastMove();
    return true;
  case KEY_KEY_P:
    SayPieces();
    return true;
  case KEY_KEY_K:
    SayClocks();
    return true;
  default:
    return false;
  }
}

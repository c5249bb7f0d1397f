#include "game/CRatedGame.h"

void CRatedGame::Start(bool twoPlayers, int gameLevel, bool fromFile) {
  reason.clear();
  level = gameLevel;
  if (twoPlayers)
    MakeCasual(platform::NoTr("two players"));
  else if (fromFile)
    MakeCasual(platform::NoTr("the game was continued from earlier moves"));
}

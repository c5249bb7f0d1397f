#include "game/CRatedGame.h"

void CRatedGame::Start(bool twoPlayers, int gameLevel, bool fromFile) {
  reason.clear();
  level = gameLevel;
  if (twoPlayers)
    MakeCasual("two players");
  else if (fromFile)
    MakeCasual("the game was continued from earlier moves");
}

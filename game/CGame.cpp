// Placeholder until the game controller is built.
#include "game/CGame.h"

void CGame::Update() {}
void CGame::SetState(irr::s32 s) { state = s; }
void CGame::SetActivePlayer(irr::s32 c) { activePlayer = c; }
void CGame::OnLeftMouseDown() {}
void CGame::OnRightMouseDown() {}

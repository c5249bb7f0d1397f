// Placeholder until the engine link is built.
#include "engine/CCEManager.h"

bool CCEManager::Init() { return true; }
void CCEManager::Update() {}
void CCEManager::Exit() {}
bool CCEManager::WriteToEngine(const char *) { return false; }
bool CCEManager::ReadFromEngine(irr::core::stringc &) { return false; }
irr::core::stringw CCEManager::GetEngineInfo() { return engineInfo; }
bool CCEManager::WaitReady() { return false; }
void CCEManager::Reset() {}
void CCEManager::SubmitMove(const BoardSquare &, const BoardSquare &, bool) {}
bool CCEManager::ProcessEngineResult(BoardSquare &, BoardSquare &) { return false; }
bool CCEManager::RequestInitialMove() { return false; }

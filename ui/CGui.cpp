// Placeholder until the interface is built: every operation does nothing.
#include "ui/CGui.h"

bool CGui::Init() { return true; }
void CGui::Update() {}
void CGui::Draw() {}
void CGui::Exit() {}
bool CGui::CreateMenus() { return true; }
void CGui::ShowQuitDialog() {}
void CGui::ShowAboutDialog() {}
void CGui::ShowEngineInfoDialog() {}
void CGui::ToggleHelpWindow() {}
void CGui::ToggleMovesWindow() {}
void CGui::RefreshMovesWindow() {}
bool CGui::CreateCameraButtons() { return true; }
bool CGui::IsPointerOverGui() const { return false; }
void CGui::SetStatusText(irr::core::stringw) {}
void CGui::OnGameStateChanged(irr::s32) {}
void CGui::ShowBanner(const irr::core::rect<irr::s32> &, const wchar_t *, irr::video::SColor) {}
void CGui::SetBannerVisible(bool) {}
void CGui::ResetGameDisplay() {}
void CGui::ShowColorWindow() {}
void CGui::CloseColorWindow() {}
void CGui::ShowSplash(bool) {}

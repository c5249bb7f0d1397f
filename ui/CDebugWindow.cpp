// Placeholder until the debug window is built.
#include "ui/CDebugWindow.h"

void CDebugWindow::Update() {}
void CDebugWindow::Toggle() {}

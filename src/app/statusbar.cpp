// The 100 ms tick: caret position, quote button and undo state; status panel double-clicks.

#include "app/frmMain.h"

void frmMain::Timer1_Timer() {}

void frmMain::StatusBar1_PanelDblClick(int) {}

// The Edit menu: its enabling, the two-level undo and the adapter's edit commands.

#include "app/frmMain.h"

void frmMain::mnuEdit_Click() {}

void frmMain::mnuUndo_Click() {}

void frmMain::mnuCut_Click() {}

void frmMain::mnuCopy_Click() {}

void frmMain::mnuAllcopy_Click() {}

void frmMain::mnuPaste_Click() {}

void frmMain::mnuDelete_Click() {}

void frmMain::mnuSelectall_Click() {}

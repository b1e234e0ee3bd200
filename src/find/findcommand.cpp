// Opening the find and replace dialog.

#include "app/frmMain.h"

void frmMain::mnuSearchFind_Click() {}

// Opening the date and boilerplate dialog on one of its pages.

#include "app/frmMain.h"

void frmMain::mnuDateform_Click() {}

void frmMain::mnuInsert_Click() {}

// Character conversion of the selection and the date-time stamp.

#include "app/frmMain.h"

void frmMain::mnuChara_Click() {}

void frmMain::mnuChar_Click(int) {}

void frmMain::mnuDate_Click() {}

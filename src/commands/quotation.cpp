// Quoting text line by line with the quote mark.

#include "app/frmMain.h"

void frmMain::mnuIncopy_Click() {}

void frmMain::mnuInhari_Click() {}

void frmMain::mnuInyou_Click() {}

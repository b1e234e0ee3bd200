// File commands: New, Open, insert at the caret, the save commands and leaving the program.

#include "app/frmMain.h"

void frmMain::mnuFile_Click() {}

void frmMain::mnuNew_Click() {}

void frmMain::mnuOpen_Click() {}

void frmMain::ReadOpenedFile() {}

void frmMain::mnuSelopen_Click() {}

void frmMain::mnuUwa_Click() {}

void frmMain::mnuSave_Click() {}

void frmMain::mnuSelsave_Click() {}

void frmMain::mnuNoe_Click() {}

void frmMain::mnuEndno_Click() {}

#pragma once

class QWidget;

// Switches the input method of a widget that just got the focus, as its input-method mode asks
// (4: full-width hiragana on). Platforms without such control leave the input method alone.
void applyImeMode(QWidget *widget, int mode);

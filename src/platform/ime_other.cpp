#include "platform/ime.h"

// Where neither the Windows input-method calls nor a Linux input-method framework on D-Bus is
// there, a program has no portable way to turn the input method on, so the mode is only kept.
void applyImeMode(QWidget *, int) {}

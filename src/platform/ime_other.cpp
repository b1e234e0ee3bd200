#include "platform/ime.h"

// Input methods on X11 and Wayland are switched by the user's own input-method framework; there
// is no portable way for a program to turn one on, so the mode is only kept.
void applyImeMode(QWidget *, int) {}

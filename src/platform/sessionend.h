#pragma once

#include <functional>

class QObject;

// Calls onEnd (once, on the user-interface thread) when the desktop session ends or the
// program is asked to terminate, so the window can close the normal way and keep the user's text.
void installSessionEndHandler(QObject *context, std::function<void()> onEnd);

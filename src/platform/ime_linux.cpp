#include "platform/ime.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QWidget>

namespace {

// Without an address libdbus would try to launch a bus of its own, and the GUI thread would wait
// for it; a session that has no bus has no input method to talk to either.
bool hasSessionBus()
{
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(QDir(runtime).filePath(QStringLiteral("bus")));
}

// fcitx5 turns on the input method of the input context that had the focus last. Qt's module
// creates the window's context and reports the focus over a connection of its own, after the
// widget has the focus (at the first focus the context does not even exist yet), so the call
// waits a moment for that to arrive first.
constexpr int contextSettleMs = 300;

void activateFcitx()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage activate = QDBusMessage::createMethodCall(QStringLiteral("org.fcitx.Fcitx5"), QStringLiteral("/controller"),
                                                           QStringLiteral("org.fcitx.Fcitx.Controller1"),
                                                           QStringLiteral("Activate"));
    // An installed fcitx5 that is not running must not be started by the bus for a user of
    // another input method.
    activate.setAutoStartService(false);
    // Sent without waiting for an answer: with no fcitx5 on the bus the call is simply lost.
    bus.send(activate);
}

} // namespace

void applyImeMode(QWidget *widget, int mode)
{
    if (mode != 4 || !widget || !hasSessionBus())
        return;
    QTimer::singleShot(contextSettleMs, widget, [widget] {
        if (widget->hasFocus())
            activateFcitx();
    });
}

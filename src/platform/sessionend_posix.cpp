#include "platform/sessionend.h"

#include <QSocketNotifier>

#include <memory>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe work here: the notifier does the rest on the UI thread.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[0], &byte, 1);
}

} // namespace

void installSessionEndHandler(QObject *context, std::function<void()> onEnd)
{
    auto shared = std::make_shared<std::function<void()>>(std::move(onEnd));
    auto fire = [shared] {
        if (*shared) {
            auto f = std::move(*shared);
            *shared = nullptr;
            f();
        }
    };

    // Logging out sends SIGTERM (and a closing terminal SIGHUP). The X session manager's
    // commit request is not used: it also comes for mere checkpoints, not only at the end.
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [fire] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[1], &byte, 1);
        fire();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(sig, &action, nullptr);
}

#include "platform/sessionend.h"

#include <QGuiApplication>
#include <QSessionManager>

#include <memory>

void installSessionEndHandler(QObject *context, std::function<void()> onEnd)
{
    auto shared = std::make_shared<std::function<void()>>(std::move(onEnd));
    QObject::connect(qGuiApp, &QGuiApplication::commitDataRequest, context,
                     [shared](QSessionManager &) {
                         if (*shared) {
                             auto f = std::move(*shared);
                             *shared = nullptr;
                             f();
                         }
                     },
                     Qt::DirectConnection);
}

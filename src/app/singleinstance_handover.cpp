#include "app/singleinstance_handover.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

// Tells a hand-over from anything else that might connect, and lets the format change later.
constexpr quint32 Magic = 0x71375a01;
constexpr char Confirmation = '1';

} // namespace

QString handOverSocketName(const QString &dataDir)
{
    // The same folder spelt another way, or through a link, must meet the same socket.
    const QFileInfo info(dataDir);
    QString key = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
#ifdef Q_OS_WIN
    key = QDir::toNativeSeparators(key).toCaseFolded();
#endif
    const QByteArray hash = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha256).toHex();
    const QString name = QStringLiteral("q7Zibo-%1").arg(QString::fromLatin1(hash.left(32)));
#ifdef Q_OS_WIN
    return name;
#else
    // A user's runtime folder is private to the user and emptied at log-out.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)).filePath(name);
#endif
}

HandOverServer::HandOverServer(const QString &dataDir, QObject *parent)
    : QObject(parent), name_(handOverSocketName(dataDir)), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &HandOverServer::takeConnection);
}

bool HandOverServer::listen()
{
    if (server_->isListening())
        return true;
    // With an access option Qt binds elsewhere and renames the socket into place, which
    // replaces one left by a copy that did not end normally; where that is not done, the old
    // one is removed here (the lock is ours, so nobody answers there).
    if (!server_->listen(name_)) {
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_)) {
            qWarning("q7Zibo: cannot listen on %ls (%ls); a second start cannot hand over its file",
                     qUtf16Printable(name_), qUtf16Printable(server_->errorString()));
            return false;
        }
    }
    return true;
}

void HandOverServer::takeConnection()
{
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        readRequest(socket);
    }
}

void HandOverServer::readRequest(QLocalSocket *socket)
{
    QDataStream in(socket);
    in.setVersion(QDataStream::Qt_6_0);
    in.startTransaction();
    quint32 magic = 0;
    HandOverRequest request;
    in >> magic >> request.path >> request.nameUnusable;
    if (!in.commitTransaction())
        return; // the rest has not arrived yet
    if (magic != Magic) {
        socket->abort();
        return;
    }
    // Confirmed first: the second copy may end while this copy shows what the file brought.
    socket->write(&Confirmation, 1);
    socket->flush();
    emit requested(request);
}

bool handOverToRunningCopy(const QString &dataDir, const HandOverRequest &request, int timeoutMs)
{
#ifdef Q_OS_WIN
    // Only the process the user started may hand the foreground on.
    ::AllowSetForegroundWindow(ASFW_ANY);
#endif
    const QString name = handOverSocketName(dataDir);
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(name);
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        if (deadline.hasExpired()) {
            qWarning("q7Zibo: no running copy answers on %ls (%ls)", qUtf16Printable(name),
                     qUtf16Printable(socket.errorString()));
            return false;
        }
        QThread::msleep(50);
    }
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << Magic << request.path << request.nameUnusable;
    socket.write(message);
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime()))))
            return false;
    while (socket.bytesAvailable() < 1)
        if (!socket.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
            qWarning("q7Zibo: the running copy did not confirm the hand-over");
            return false;
        }
    return socket.read(1) == QByteArray(1, Confirmation);
}

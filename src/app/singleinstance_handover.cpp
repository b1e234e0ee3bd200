#include "app/singleinstance_handover.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Tells a hand-over from anything else that might connect, and lets the format change later.
constexpr quint32 Magic = 0x71375a01;
constexpr char Confirmation = '1';

#ifndef Q_OS_WIN
// Whoever may create files where the socket lies could take its name first and be handed the
// files this user opens: only a folder of this user's that no one else may enter will do.
bool isPrivateFolder(const QString &folder)
{
    struct stat st;
    return ::lstat(QFile::encodeName(folder).constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && (st.st_uid == ::geteuid() || ::geteuid() == 0) && (st.st_mode & 077) == 0;
}

// Made by root in a user's data folder (as the lock file is), our folder goes to that user, or
// the user's own later starts could neither listen nor hand over there.
void giveToParentsOwner(const QString &folder)
{
    struct stat parent;
    if (::stat(QFile::encodeName(QFileInfo(folder).path()).constData(), &parent) == 0 && parent.st_uid != 0
        && ::chown(QFile::encodeName(folder).constData(), parent.st_uid, parent.st_gid) != 0)
        qWarning("q7Zibo: cannot give %ls to its folder's owner", qUtf16Printable(folder));
}

// The socket's folder: the session's runtime folder when it is private, else one of our own in
// the data directory (without a session, from su or cron, there is no runtime folder to trust).
QString socketFolder(const QString &dataDir)
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(runtime))
        return QDir::cleanPath(runtime);
    return QDir(dataDir).filePath(QStringLiteral(".q7Zibo-handover"));
}
#endif

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
    return QDir(socketFolder(key)).filePath(name);
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
#ifndef Q_OS_WIN
    const QString folder = QFileInfo(name_).path();
    if (QDir().mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) && ::geteuid() == 0)
        giveToParentsOwner(folder);
    if (!isPrivateFolder(folder)) {
        qWarning("q7Zibo: %ls is not a private folder; a second start cannot hand over its file",
                 qUtf16Printable(folder));
        return false;
    }
#endif
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
    // Taken after this slot has returned: what the file brings may open a message box, whose
    // event loop would otherwise run inside the socket's signal and could delete the socket
    // under it once the second copy has gone.
    QMetaObject::invokeMethod(this, [this, request] { emit requested(request); }, Qt::QueuedConnection);
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
#ifndef Q_OS_WIN
        // The folder may not be there yet; one that is not private is never used.
        if (isPrivateFolder(QFileInfo(name).path()))
#endif
        {
            socket.connectToServer(name);
            if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
                break;
        }
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

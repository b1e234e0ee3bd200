#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// What a second start asks of the running copy for the same data directory: to come to the
// front, and to take a file as a start would when it names one.
struct HandOverRequest {
    QString path;               // absolute; empty: only come to the front
    bool nameUnusable = false;  // the name held bytes the system's encoding cannot decode
};

// The running copy's end: a local socket in a folder only the user may enter (the session's
// runtime folder, or one in the data directory), named from the data directory, so that it is
// found by any later start that meets the same lock. Requests are emitted from the event loop,
// never from inside the socket's own signal.
class HandOverServer final : public QObject {
    Q_OBJECT
public:
    explicit HandOverServer(const QString &dataDir, QObject *parent = nullptr);

    // Starts listening. A socket left by a copy that was killed is replaced: the lock says no
    // other copy for this directory lives. False, logged, when even that fails; the program
    // then runs without taking hand-overs.
    bool listen();

signals:
    void requested(const HandOverRequest &request);

private:
    void takeConnection();
    void readRequest(QLocalSocket *socket);

    QString name_;
    QLocalServer *server_ = nullptr;
};

// The socket's name for a data directory: a full path in a private folder where sockets are
// files, a pipe name on Windows.
QString handOverSocketName(const QString &dataDir);

// The second start's end: hands the request over and waits until the running copy confirmed
// it. The running copy may still be setting up its socket, so a refused connection is tried
// again until timeoutMs has passed. False when nobody took it.
bool handOverToRunningCopy(const QString &dataDir, const HandOverRequest &request, int timeoutMs = 3000);

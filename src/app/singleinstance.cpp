#include "singleinstance.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QtEndian>

namespace app {

namespace {

constexpr int kLengthBytes = 8;
/// No path comes near this; it only keeps a broken sender from making us allocate gigabytes.
constexpr quint64 kLargestMessage = 16 * 1024 * 1024;
/// How long a second start waits for a first instance that holds the lock but does not
/// answer yet (it is starting or closing).
constexpr int kWaitForFirstMs = 10000;
constexpr int kRetryMs = 100;
constexpr int kConnectMs = 1000;
constexpr int kWriteMs = 5000;

QString runtimeFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

} // namespace

TSingleInstance::TSingleInstance(QObject* parent)
    : TSingleInstance(defaultLockPath(), defaultServerName(), parent) {}

TSingleInstance::TSingleInstance(const QString& lockPath, const QString& serverName,
                                 QObject* parent)
    : QObject(parent), m_serverName(serverName), m_lock(lockPath) {
    // A running first instance keeps its lock however old it is; only a dead owner's lock
    // is stale.
    m_lock.setStaleLockTime(0);
}

TSingleInstance::~TSingleInstance() {
    stopListening();
}

void TSingleInstance::stopListening() {
    if (m_server)
        m_server->close();
}

QString TSingleInstance::defaultLockPath() {
    return runtimeFolder() + QStringLiteral("/Varlo.lock");
}

QString TSingleInstance::defaultServerName() {
    // A full path in the user's private runtime folder: no other user can reach or take it.
    return runtimeFolder() + QStringLiteral("/Varlo.socket");
}

bool TSingleInstance::becomeFirst() {
    const QDeadlineTimer deadline(kWaitForFirstMs);
    for (;;) {
        if (m_lock.tryLock(0))
            return listen();
        // Without a lock file at all (a folder we cannot write) there is no way to tell; run
        // rather than refuse to start.
        if (m_lock.error() != QLockFile::LockFailedError)
            return listen();
        if (answers(m_serverName) || deadline.hasExpired())
            return false;
        QThread::msleep(kRetryMs);
    }
}

bool TSingleInstance::listen() {
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left behind belongs to a crashed instance.
    QLocalServer::removeServer(m_serverName);
    if (!m_server->listen(m_serverName))
        qWarning("Varlo: cannot listen on %s: %s; later starts open their own window",
                 qPrintable(m_serverName), qPrintable(m_server->errorString()));
    connect(m_server.get(), &QLocalServer::newConnection, this,
            &TSingleInstance::acceptConnections);
    return true;
}

void TSingleInstance::acceptConnections() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        m_pending.insert(socket, {});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            readMessage(socket);
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void TSingleInstance::readMessage(QLocalSocket* socket) {
    if (!m_pending.contains(socket))
        return;
    QByteArray& buffer = m_pending[socket];
    buffer += socket->readAll();
    if (buffer.size() < kLengthBytes)
        return;
    const quint64 length = qFromBigEndian<quint64>(buffer.constData());
    if (length > kLargestMessage) {
        m_pending.remove(socket);
        socket->abort();
        return;
    }
    if (quint64(buffer.size()) < kLengthBytes + length)
        return;
    const QString path = QString::fromUtf8(buffer.mid(kLengthBytes, qsizetype(length)));
    // One path per connection: later bytes are ignored.
    m_pending.remove(socket);
    socket->disconnectFromServer();
    emit pathReceived(path);
}

bool TSingleInstance::answers(const QString& serverName) {
    QLocalSocket probe;
    probe.connectToServer(serverName);
    const bool connected = probe.waitForConnected(kConnectMs);
    probe.abort();
    return connected;
}

bool TSingleInstance::handOver(const QString& path, const QString& serverName) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(kConnectMs))
        return false;
    const QByteArray text = path.toUtf8();
    QByteArray message(kLengthBytes, '\0');
    qToBigEndian<quint64>(quint64(text.size()), message.data());
    message += text;
    if (socket.write(message) != message.size())
        return false;
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(kWriteMs))
            return false;
    socket.disconnectFromServer();
    return true;
}

} // namespace app

#pragma once

#include <QHash>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

namespace app {

/// Keeps Varlo to one running instance per user: the first start holds a lock file in the
/// user's runtime folder and listens on a local socket; a later start finds the lock taken,
/// hands its path over the socket and ends.
///
/// A message is the path's UTF-8 length as 8 bytes (big-endian) followed by its UTF-8 bytes.
class TSingleInstance : public QObject {
    Q_OBJECT
public:
    /// The lock file and socket of the current user.
    explicit TSingleInstance(QObject* parent = nullptr);
    /// A lock file and socket of the caller's choice (tests).
    TSingleInstance(const QString& lockPath, const QString& serverName, QObject* parent = nullptr);
    ~TSingleInstance() override;

    static QString defaultLockPath();
    static QString defaultServerName();
    QString serverName() const { return m_serverName; }

    /// Takes the lock and starts listening; true when this is the first instance. A lock
    /// left by a process that no longer runs is taken over. While another instance holds
    /// the lock but does not answer (it is starting or closing) this waits; when that
    /// instance goes away meanwhile, this one becomes the first.
    bool becomeFirst();

    /// Stops taking hand-offs but keeps the lock, for the close sequence: a start meanwhile
    /// waits and becomes the first instance once this one has gone, instead of handing its
    /// path to a program that will never read it.
    void stopListening();

    /// Sends `path` to the first instance listening on `serverName`; returns once the bytes
    /// are written, true when all of them were.
    static bool handOver(const QString& path, const QString& serverName);

signals:
    /// The first instance was handed a path by a later start.
    void pathReceived(const QString& path);

private:
    bool listen();
    void acceptConnections();
    void readMessage(QLocalSocket* socket);
    static bool answers(const QString& serverName);

    QString m_serverName;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
    QHash<QLocalSocket*, QByteArray> m_pending; ///< bytes received so far, per connection
};

} // namespace app

#pragma once

#include "cachesync.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

namespace library {

/// What the main window talks to when it opens a folder or a playlist, so that the plain
/// folder scanner and the cache-backed scanner are interchangeable.
///
/// start() and stop() return at once; the work runs on worker threads. Every signal is
/// emitted on the owner's thread and only for the current scan: once stop() (or the next
/// start()) returns, nothing of the old scan arrives any more. A scan emits cleared and
/// runningChanged(true) when it starts, then its files in batches, and at its end (complete
/// or stopped) runningChanged(false), readErrors when files could not be read, finished and
/// an empty statusText, in this order.
class TBaseScanner : public QObject {
    Q_OBJECT
public:
    explicit TBaseScanner(QObject* parent = nullptr);

    /// Stops any running scan, then lists `path`: a folder (with its subfolders when
    /// `recursive`) for the files whose extension (without dot, any case) is in `extensions`,
    /// or a playlist file when `playlistMode` is set. An empty extension list keeps the
    /// previous one.
    virtual void start(const QString& path, bool recursive, const QStringList& extensions,
                       bool playlistMode) = 0;
    /// Ends the running scan: the files found so far have been delivered; no later signal of
    /// it arrives. Does nothing when no scan runs.
    virtual void stop() = 0;
    virtual bool isRunning() const { return m_running; }

signals:
    /// A scan starts: the owner empties its list.
    void cleared();
    /// Newly found files, in scan order; the receiver takes them over. Batched so that the
    /// first rows appear at once and a large folder does not flood the owner.
    void filesFound(const QList<library::FileHandle>& files);
    /// What the scan is working on (a folder or a playlist path); empty when it ends.
    void statusText(const QString& text);
    void runningChanged(bool running);
    /// The scan ended, completely or after a stop.
    void finished();
    /// The playlist of a playlist scan was read (its files have been delivered).
    void playlistRead(const QString& path);
    /// The files that could not be read, once at the end of a scan; each message is
    /// "Error reading file <path>: <error>".
    void readErrors(const QStringList& messages);

protected:
    /// Owner thread: a new scan begins (emits cleared and runningChanged(true)).
    void beginScan();
    /// Owner thread: ends the running scan, handing over what is held back first; nothing
    /// when no scan runs.
    void finishScan();
    /// Owner thread: a file of the running scan.
    void addFile(FileHandle file);
    /// Owner thread: hands over the files held back now, e.g. before a signal that refers to
    /// their rows.
    void flushFiles();
    /// Owner thread: a file of the running scan could not be read; reported at the end.
    void addReadError(const QString& path, const QString& error);

private:
    bool m_running = false;
    QList<FileHandle> m_pending;
    QStringList m_errors;
    QElapsedTimer m_sinceFlush;
    QTimer m_flushTimer;
};

} // namespace library

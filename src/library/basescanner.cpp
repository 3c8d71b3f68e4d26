#include "basescanner.h"

namespace library {

namespace {

/// A batch is handed over when it is this large or this old, so rows appear steadily
/// without one signal per file.
constexpr qsizetype kBatchSize = 256;
constexpr int kBatchMs = 50;

} // namespace

TBaseScanner::TBaseScanner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<library::FileHandle>();
    m_flushTimer.setSingleShot(true);
    m_flushTimer.setInterval(kBatchMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &TBaseScanner::flushFiles);
}

void TBaseScanner::beginScan() {
    m_running = true;
    m_pending.clear();
    m_errors.clear();
    m_sinceFlush.invalidate(); // the first file is handed over at once
    emit cleared();
    emit runningChanged(true);
}

void TBaseScanner::finishScan() {
    if (!m_running)
        return;
    flushFiles();
    m_running = false;
    emit runningChanged(false);
    if (!m_errors.isEmpty())
        emit readErrors(std::exchange(m_errors, {}));
    emit finished();
    emit statusText(QString());
}

void TBaseScanner::addFile(FileHandle file) {
    m_pending << std::move(file);
    if (m_pending.size() >= kBatchSize || !m_sinceFlush.isValid() ||
        m_sinceFlush.elapsed() >= kBatchMs)
        flushFiles();
    else if (!m_flushTimer.isActive())
        m_flushTimer.start();
}

void TBaseScanner::flushFiles() {
    m_flushTimer.stop();
    if (m_pending.isEmpty())
        return;
    m_sinceFlush.start();
    emit filesFound(std::exchange(m_pending, {}));
}

void TBaseScanner::addReadError(const QString& path, const QString& error) {
    m_errors << QStringLiteral("Error reading file %1: %2").arg(path, error);
}

} // namespace library

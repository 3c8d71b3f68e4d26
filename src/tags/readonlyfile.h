#pragma once

#include "status.h"

#include <QIODevice>
#include <QString>

namespace tags {

/// A file opened for reading that keeps its first and last 64 KiB in memory.
///
/// Tag readers look at both ends of a file in many small reads (headers, footers, frame
/// syncs); served from memory, reading a file costs one open, one fstat and one or two
/// preads instead of dozens of system calls.
class ReadOnlyFile : public QIODevice {
public:
    explicit ReadOnlyFile(QString path);
    ~ReadOnlyFile() override;

    /// Opens the file; false with errorString() set when it cannot be read.
    bool openForReading();
    /// Closes the device and the file handle.
    void close() override;
    qint64 size() const override { return m_size; }
    bool isSequential() const override { return false; }
    /// Modification time of the open file, nanoseconds since the epoch.
    qint64 modifiedNs() const { return m_modifiedNs; }
    const QString& fileName() const { return m_path; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    bool readFully(qint64 offset, char* data, qint64 length);
    void closeHandle();

    QString m_path;
    int m_fd = -1;
    qint64 m_size = 0;
    qint64 m_modifiedNs = 0;
    QByteArray m_head;
    QByteArray m_tail;
    qint64 m_tailStart = 0;
};

/// Opens `file`; a NotFound or OpenFailed status with a message naming the file when it
/// cannot be read.
Status openForReading(ReadOnlyFile& file);

} // namespace tags

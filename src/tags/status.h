#pragma once

#include <QString>

namespace tags {

/// What went wrong, for callers that react differently to kinds of failure.
enum class ErrorCode {
    None,
    NotFound,    ///< the file does not exist
    OpenFailed,  ///< the file exists but cannot be opened
    ReadFailed,  ///< an I/O error while reading
    WriteFailed, ///< an I/O error while writing (disk full, read-only ...)
    InvalidData, ///< the bytes are not what the format expects
    Unsupported, ///< a format or variant Varlo does not handle
};

/// Result of an operation that can fail: a code and a message meant for the user.
/// Nothing in the tag layer throws; every failure travels as a Status.
class Status {
public:
    Status() = default;
    static Status success() { return {}; }
    static Status error(ErrorCode code, QString message) {
        return Status(code, std::move(message));
    }

    bool ok() const { return m_code == ErrorCode::None; }
    explicit operator bool() const { return ok(); }
    ErrorCode code() const { return m_code; }
    const QString& message() const { return m_message; }

private:
    Status(ErrorCode code, QString message) : m_code(code), m_message(std::move(message)) {}
    ErrorCode m_code = ErrorCode::None;
    QString m_message;
};

} // namespace tags

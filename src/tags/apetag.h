#pragma once

#include "status.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

namespace tags {

/// One item of an APE tag: a key and its value bytes as stored.
struct APEItem {
    /// The value type of bits 1-2 of the item flags (APEv2); APEv1 items are always text.
    enum Kind { Text = 0, Binary = 1, Locator = 2, Reserved = 3 };

    QString key;
    Kind kind = Text;
    QByteArray value; ///< UTF-8 for text and locators, raw bytes otherwise

    /// The values of a text or locator item (several values are separated by NUL);
    /// empty for binary items.
    QStringList values() const;

    bool operator==(const APEItem&) const = default;
};

/// An APEv1/APEv2 tag at the end of an MPEG file, optionally followed by Lyrics3v2 and
/// ID3v1. A tag counts only when it validates completely: footer and (flagged) header say
/// "APETAGEX", its size fits in the file and its items fill it exactly. Anything less is
/// treated as audio, so a damaged tag is never cut.
class TAPEtag {
public:
    static constexpr qint64 kFooterSize = 32; ///< also the size of the optional header
    /// Tags larger than this are not read (nor cut): far beyond any real tag, and it keeps
    /// a forged size field from allocating gigabytes.
    static constexpr qint64 kMaxTagSize = 64 << 20;

    /// Looks for a valid tag at the end of the device (before Lyrics3v2/ID3v1, if any).
    /// Returns the footer's size field (items and footer, no header), 0 when there is none.
    static qint64 find(QIODevice& device);
    /// Cuts a validated tag (with its header) out of the file, keeping whatever follows it.
    /// A file without a valid tag is left alone, which counts as success.
    static Status remove(const QString& path);

    /// Reads the tag at the end of the device. No tag is success with exists() false; a tag
    /// whose footer is there but does not validate is InvalidData. Either way the object is
    /// left empty unless a valid tag was read.
    Status read(QIODevice& device);

    bool exists() const { return m_exists; }
    int version() const { return m_version; }  ///< 1000 or 2000
    qint64 size() const { return m_size; }     ///< footer size field
    qint64 offset() const { return m_offset; } ///< first byte of the tag, header included
    qint64 length() const { return m_length; } ///< bytes of the tag, header included
    const QList<APEItem>& items() const { return m_items; }
    /// The first item with this key, compared without regard to case; nullptr when none.
    const APEItem* item(const QString& key) const;

    bool operator==(const TAPEtag&) const = default;

private:
    bool m_exists = false;
    int m_version = 0;
    qint64 m_size = 0;
    qint64 m_offset = 0;
    qint64 m_length = 0;
    QList<APEItem> m_items;
};

} // namespace tags

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

namespace tags {

/// One "NAME=value" comment of a Vorbis comment header. It is kept as its stored bytes so a
/// comment nobody edits is written back byte for byte, whatever its encoding.
struct VorbisComment {
    QByteArray raw;

    static VorbisComment make(const QString& name, const QString& value);
    /// The same comment with a new value; the stored name keeps its letter case.
    VorbisComment withValue(const QString& value) const;
    /// The part before the first "=", trimmed; empty when there is no "=".
    QString name() const;
    /// The part after the first "=" (the whole text when there is none), as stored.
    QString value() const;
    /// The value as shown: cut before the first NUL and trimmed.
    QString shownValue() const;

    bool operator==(const VorbisComment&) const = default;
};

/// The Vorbis comment header: vendor string and every comment in stored order, offered as
/// Varlo's named properties. Repeated names form positional groups: the 1st, 2nd and 3rd
/// TITLE are Title, SubTitle and Content, and so on. Comments no property maps to, and
/// repeats beyond a group, are kept untouched in their places.
class VorbisComments {
public:
    /// Takes a comment header packet. False, and nothing taken, when it is not one or a
    /// length in it runs past its end.
    bool parse(QByteArrayView packet);
    /// The comment header packet. Without `keepBlankGroupEntries` the blank TITLE, ARTIST,
    /// ALBUM and DATE entries that hold later entries in their positions are left out.
    QByteArray toPacket(bool keepBlankGroupEntries) const;

    QString vendor() const { return QString::fromUtf8(m_vendor); }
    const QList<VorbisComment>& comments() const { return m_comments; }
    /// Takes the vendor string and the bytes after the last comment from `other`.
    void takeFramingFrom(const VorbisComments& other);

    static bool hasProperty(const QString& property);
    /// The names of the comment properties, in table order (the read-only Vendor excluded).
    static QStringList properties();
    QString field(const QString& property) const;
    /// Sets a comment property to the trimmed text. A position beyond the stored entries of its
    /// group gets blank entries in front so that it is read back in the same role; a blank value
    /// removes the entry unless later entries of the same name depend on its position.
    void setField(const QString& property, const QString& text);
    /// Removes every comment that a property maps to, DESCRIPTION included.
    void clearFields();
    /// True when at least one comment of a mapped name is stored.
    bool hasMappedComment() const;
    /// True when every comment property reads blank.
    bool allFieldsBlank() const;

    bool operator==(const VorbisComments&) const = default;

    /// One row of the property table.
    struct Mapping;

private:
    static const Mapping* mappingOf(const QString& property);
    static bool isMappedName(const QString& name);
    QList<qsizetype> occurrences(const QString& name) const;
    QString storedName(const Mapping& mapping) const;
    void insertAtPosition(const QString& name, int position, const QString& value);
    void removeTrailingBlanks(const Mapping& mapping, const QString& name);

    QByteArray m_vendor;
    QList<VorbisComment> m_comments;
    QByteArray m_tail = QByteArray(1, '\x01'); ///< the framing bit and whatever follows it
};

} // namespace tags

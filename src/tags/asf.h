#pragma once

#include "asfattribute.h"
#include "status.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

/// The header object of Advanced Systems Format files (WMA, WMV): its attribute objects
/// taken apart into records, everything else kept as the bytes it was read as.
namespace tags::asf {

/// The size field of the header object when `bytes` begin with one (30 bytes suffice).
std::optional<quint64> headerObjectSize(QByteArrayView bytes);

/// Values from the file properties object and the first audio stream's WAVEFORMATEX.
struct StreamProperties {
    quint64 fileSize = 0;     ///< as the header claims it
    quint64 playDuration = 0; ///< 100 ns units, preroll included
    quint64 preroll = 0;      ///< milliseconds
    quint32 flags = 0;
    quint32 maxBitrate = 0;
    quint16 channels = 0;
    quint32 sampleRate = 0;
    quint32 averageBytesPerSecond = 0;
};

/// The ASF header object of one file. Parses from bytes, changes attributes, and serialises
/// back; objects that were not changed are written back byte for byte.
class Header {
public:
    /// Parses the header object at the start of `bytes` (bytes after it are ignored).
    Status parse(QByteArrayView bytes);

    qint64 size() const { return m_size; }
    const StreamProperties& properties() const { return m_properties; }
    const QList<Attribute>& attributes() const { return m_attributes; }

    /// The record a name reads from: the first one for the whole file and the default
    /// language, looking in the content description, extended content description, metadata
    /// and metadata library objects in turn. Empty content description fields do not count.
    const Attribute* find(const QString& name) const;

    /// Gives `name` the value `text`; a blank text removes every record `find` would read. An
    /// existing record keeps its object and type when the text converts to it; a new one
    /// goes to the content description (Title, Author, Copyright, Description) or the
    /// extended content description, typed `type` when the text converts. Values too long
    /// for those objects move to the metadata library. False when no object can take it.
    bool setText(const QString& name, const QString& text, ValueType type);

    /// The object a record lives in.
    Place placeOf(const Attribute& record) const { return m_objects[record.owner].place; }

    bool isModified() const;

    /// The header object with the changes made. It keeps its old size when the padding can
    /// absorb the difference; otherwise it grows or shrinks and the file properties object
    /// gets the new file size (`fileSize` is the present size of the whole file).
    QByteArray serialise(qint64 fileSize) const;

private:
    struct Child {
        QUuid guid;
        QByteArray raw;  ///< the object as read (empty for objects created here)
        int object = -1; ///< the attribute object it is, if any
    };
    struct AttributeObject {
        Place place;
        bool dirty = false;
    };

    Status parseChildren(QByteArrayView bytes, QList<Child>& children, bool inExtension);
    /// Takes apart the objects Varlo reads; `topLevelIndex` is -1 inside the extension.
    Status parseChild(Child& child, qsizetype topLevelIndex);
    Status parseAttributeObject(Place place, QByteArrayView body, Child& child);
    Status parseExtension(QByteArrayView object);
    Status parseFileProperties(QByteArrayView object);
    void parseStreamProperties(QByteArrayView object);

    Attribute* findRecord(const QString& name);
    void removeRecord(Attribute* record);
    bool addRecord(const QString& name, ValueType type, const QByteArray& value, Place place);
    /// The first object at `place` with room for one more record, created when there is none.
    int objectFor(Place place);
    int createObject(Place place);

    QByteArray serialiseChild(const Child& child) const;
    QByteArray serialiseAttributes(int owner) const;
    QByteArray serialiseExtension() const;
    bool extensionChanged() const;

    qint64 m_size = 0;
    QByteArray m_reserved; ///< the two reserved bytes of the header object
    QList<Child> m_children;
    qsizetype m_extension = -1;     ///< index of the header extension in m_children
    QByteArray m_extensionReserved; ///< reserved GUID and word of the header extension
    QList<Child> m_extensionChildren;
    qsizetype m_fileProperties = -1;
    bool m_hasAudio = false;
    QList<AttributeObject> m_objects;
    QList<Attribute> m_attributes;
    StreamProperties m_properties;
};

} // namespace tags::asf

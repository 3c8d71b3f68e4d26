#include "tags/asf.h"

#include <QTest>
#include <QtEndian>

using namespace tags;
using namespace tags::asf;

namespace {

// Object GUIDs as published in the ASF standard.
const char* const kHeaderGuid = "{75B22630-668E-11CF-A6D9-00AA0062CE6C}";
const char* const kFilePropertiesGuid = "{8CABDCA1-A947-11CF-8EE4-00C00C205365}";
const char* const kContentDescriptionGuid = "{75B22633-668E-11CF-A6D9-00AA0062CE6C}";
const char* const kExtendedContentGuid = "{D2D0A440-E307-11D2-97F0-00A0C95EA850}";
const char* const kHeaderExtensionGuid = "{5FBF03B5-A92E-11CF-8EE3-00C00C205365}";
const char* const kMetadataLibraryGuid = "{44231C94-9498-49D1-A141-1D134E457054}";
const char* const kPaddingGuid = "{1806D474-CADF-4509-A4BA-9AABCB96AAE8}";

constexpr quint64 kFileSize = 100000;

template <typename T> QByteArray le(T value) {
    QByteArray out(sizeof(T), '\0');
    qToLittleEndian(value, out.data());
    return out;
}

QByteArray utf16(const QString& text) {
    QByteArray out;
    for (QChar ch : text + QChar(0))
        out += le<quint16>(ch.unicode());
    return out;
}

QByteArray object(const char* guid, const QByteArray& body) {
    return guidToBytes(QUuid::fromString(QLatin1String(guid))) + le<quint64>(24 + body.size()) +
           body;
}

QByteArray fileProperties(quint32 flags = 2) {
    return object(kFilePropertiesGuid, QByteArray(16, '\0') + le<quint64>(kFileSize) +
                                           QByteArray(16, '\0') + le<quint64>(52'000'000) +
                                           le<quint64>(0) + le<quint64>(2000) + le<quint32>(flags) +
                                           QByteArray(12, '\0'));
}

QByteArray header(const QList<QByteArray>& children) {
    const QByteArray body = children.join();
    return guidToBytes(QUuid::fromString(QLatin1String(kHeaderGuid))) +
           le<quint64>(30 + body.size()) + le<quint32>(children.size()) + "\x01\x02" + body;
}

QByteArray extendedContent(const QString& name, ValueType type, const QByteArray& value) {
    return object(kExtendedContentGuid, le<quint16>(1) + le<quint16>(utf16(name).size()) +
                                            utf16(name) + le<quint16>(quint16(type)) +
                                            le<quint16>(value.size()) + value);
}

QByteArray extension(const QByteArray& children) {
    return object(kHeaderExtensionGuid, QByteArray(16, '\x11') + le<quint16>(6) +
                                            le<quint32>(children.size()) + children);
}

QByteArray libraryRecord(const QString& name, ValueType type, const QByteArray& value,
                         quint16 language = 0, quint16 stream = 0) {
    return le<quint16>(language) + le<quint16>(stream) + le<quint16>(utf16(name).size()) +
           le<quint16>(quint16(type)) + le<quint32>(value.size()) + utf16(name) + value;
}

QByteArray paddingObject(int size) {
    return object(kPaddingGuid, QByteArray(size - 24, '\0'));
}

/// Serialises and parses again, as a save followed by a read does.
Header roundTrip(const Header& header) {
    Header again;
    const Status status = again.parse(header.serialise(kFileSize));
    if (!status)
        qWarning() << status.message();
    return again;
}

} // namespace

class TestAsf : public QObject {
    Q_OBJECT
private slots:
    void streamValues() {
        Header parsed;
        QVERIFY(parsed.parse(header({fileProperties()})).ok());
        QCOMPARE(parsed.properties().playDuration, 52'000'000ull);
        QCOMPARE(parsed.properties().preroll, 2000ull);
        QCOMPARE(parsed.properties().fileSize, kFileSize);
    }

    void newAttributePlace_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("place");
        QTest::addColumn<int>("storedType");
        const int unicode = int(ValueType::Unicode);
        QTest::newRow("Title") << "Title"
                               << "T" << unicode << int(Place::ContentDescription) << unicode;
        QTest::newRow("Description") << "Description"
                                     << "D" << unicode << int(Place::ContentDescription) << unicode;
        QTest::newRow("other string") << "WM/Mood"
                                      << "M" << unicode << int(Place::ExtendedContent) << unicode;
        QTest::newRow("DWORD") << "PCDJ GAIN"
                               << "25000" << int(ValueType::DWord) << int(Place::ExtendedContent)
                               << int(ValueType::DWord);
        QTest::newRow("DWORD slot, text")
            << "PCDJ GAIN"
            << "loud" << int(ValueType::DWord) << int(Place::ExtendedContent) << unicode;
        QTest::newRow("over 64 KiB") << "WM/Lyrics" << QString(40000, 'x') << unicode
                                     << int(Place::MetadataLibrary) << unicode;
        QTest::newRow("long Title")
            << "Title" << QString(40000, 'x') << unicode << int(Place::MetadataLibrary) << unicode;
    }
    void newAttributePlace() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(int, type);
        QFETCH(int, place);
        QFETCH(int, storedType);
        Header parsed;
        QVERIFY(parsed.parse(header({fileProperties(), paddingObject(100)})).ok());
        QVERIFY(parsed.setText(name, text, ValueType(type)));
        const Header again = roundTrip(parsed);
        const Attribute* record = again.find(name);
        QVERIFY(record);
        QCOMPARE(record->text(), text);
        QCOMPARE(int(again.placeOf(*record)), place);
        QCOMPARE(int(record->type), storedType);
    }

    void existingRecordKeepsObjectAndType_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("valueSize");
        const QByteArray guid = guidToBytes(
            QUuid::fromString(QStringLiteral("{D1607DBC-E323-4BE2-86A1-48A42A28441E}")));
        QTest::newRow("GUID in the metadata library")
            << header({fileProperties(),
                       extension(object(kMetadataLibraryGuid,
                                        le<quint16>(1) +
                                            libraryRecord("WM/Mood", ValueType::Guid, guid)))})
            << "WM/Mood"
            << "{00000000-0000-0000-0000-00000000002A}" << int(ValueType::Guid) << 16;
        QTest::newRow("BOOL in the extended content is 4 bytes")
            << header({fileProperties(), extendedContent("IsVBR", ValueType::Bool, le<quint32>(0))})
            << "IsVBR"
            << "1" << int(ValueType::Bool) << 4;
        QTest::newRow("BOOL in the metadata library is 2 bytes")
            << header({fileProperties(),
                       extension(object(kMetadataLibraryGuid,
                                        le<quint16>(1) + libraryRecord("IsVBR", ValueType::Bool,
                                                                       le<quint16>(1))))})
            << "IsVBR"
            << "0" << int(ValueType::Bool) << 2;
        QTest::newRow("string in the content description")
            << header({fileProperties(), object(kContentDescriptionGuid,
                                                le<quint16>(4) + QByteArray(8, '\0') + utf16("A"))})
            << "Title"
            << "Ünïcödé" << int(ValueType::Unicode) << 16;
    }
    void existingRecordKeepsObjectAndType() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(int, type);
        QFETCH(int, valueSize);
        Header parsed;
        QVERIFY(parsed.parse(bytes).ok());
        const Place place = parsed.placeOf(*parsed.find(name));
        QVERIFY(parsed.setText(name, text, ValueType::Unicode));
        const Header again = roundTrip(parsed);
        const Attribute* record = again.find(name);
        QVERIFY(record);
        QCOMPARE(record->text(), text);
        QCOMPARE(int(record->type), type);
        QCOMPARE(record->value.size(), valueSize);
        QCOMPARE(again.placeOf(*record), place);
    }

    void boundValuesAreNotSlotValues() {
        const QByteArray records =
            le<quint16>(2) + libraryRecord("WM/Mood", ValueType::Unicode, utf16("French"), 1) +
            libraryRecord("WM/Mood", ValueType::Unicode, utf16("Stream"), 0, 1);
        Header parsed;
        QVERIFY(
            parsed
                .parse(header({fileProperties(), extension(object(kMetadataLibraryGuid, records))}))
                .ok());
        QVERIFY(!parsed.find("WM/Mood"));
        QVERIFY(parsed.setText("WM/Mood", "Calm", ValueType::Unicode));
        QVERIFY(parsed.setText("WM/Mood", "", ValueType::Unicode));
        const Header again = roundTrip(parsed);
        QCOMPARE(again.attributes().size(), 2);
        QCOMPARE(again.attributes()[0].text(), QString("French"));
        QCOMPARE(again.attributes()[1].text(), QString("Stream"));
    }

    void padding_data() {
        QTest::addColumn<int>("paddingSize");
        QTest::addColumn<int>("textLength");
        QTest::addColumn<quint32>("flags");
        QTest::addColumn<bool>("sameSize");
        QTest::addColumn<quint64>("fileSizeField");
        // a new string of n characters takes an extended content object of 54 + 2n bytes
        const auto ecd = [](int n) { return 54 + 2 * n; };
        QTest::newRow("absorbed") << 200 << 20 << 2u << true << kFileSize;
        QTest::newRow("absorbed to the last byte") << ecd(20) << 20 << 2u << true << kFileSize;
        QTest::newRow("too little left for a padding object")
            << ecd(20) + 10 << 20 << 2u << false << kFileSize + ecd(20) + 1024 - (ecd(20) + 10);
        QTest::newRow("grows") << 100 << 400 << 2u << false << kFileSize + ecd(400) + 1024 - 100;
        QTest::newRow("broadcast: size field is not valid")
            << 100 << 400 << 1u << false << kFileSize;
    }
    void padding() {
        QFETCH(int, paddingSize);
        QFETCH(int, textLength);
        QFETCH(quint32, flags);
        QFETCH(bool, sameSize);
        QFETCH(quint64, fileSizeField);
        const QByteArray bytes = header({fileProperties(flags), paddingObject(paddingSize)});
        Header parsed;
        QVERIFY(parsed.parse(bytes).ok());
        QVERIFY(parsed.setText("WM/Writer", QString(textLength, 'w'), ValueType::Unicode));
        const QByteArray out = parsed.serialise(kFileSize);
        QCOMPARE(out.size() == bytes.size(), sameSize);
        Header again;
        QVERIFY(again.parse(out).ok());
        QCOMPARE(again.size(), out.size());
        QCOMPARE(again.properties().fileSize, fileSizeField);
        QCOMPARE(again.find("WM/Writer")->text(), QString(textLength, 'w'));
    }

    void damaged_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = header({fileProperties()});
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header size beyond the bytes") << good.left(good.size() - 1);
        QByteArray zeroChild = good;
        qToLittleEndian<quint64>(0, zeroChild.data() + 46);
        QTest::newRow("child of size 0") << zeroChild;
        QByteArray hugeChild = good;
        qToLittleEndian<quint64>(~0ull, hugeChild.data() + 46);
        QTest::newRow("child of size 2^64-1") << hugeChild;
        QTest::newRow("no file properties") << header({paddingObject(30)});
        QTest::newRow("file properties cut short")
            << header({object(kFilePropertiesGuid, QByteArray(40, '\0'))});
        QTest::newRow("extended content count too high")
            << header({fileProperties(), object(kExtendedContentGuid, le<quint16>(65535))});
        QTest::newRow("value length past the object")
            << header({fileProperties(),
                       object(kExtendedContentGuid, le<quint16>(1) + le<quint16>(2) + "a\0" +
                                                        le<quint16>(0) + le<quint16>(60000))});
        QTest::newRow("content description lengths past the object")
            << header({fileProperties(),
                       object(kContentDescriptionGuid, le<quint16>(65535) + QByteArray(8, '\0'))});
        QTest::newRow("library value length 4 GiB")
            << header({fileProperties(),
                       extension(object(kMetadataLibraryGuid,
                                        le<quint16>(1) + QByteArray(8, '\0') + le<quint32>(~0u)))});
        QTest::newRow("extension data size past its object")
            << header({fileProperties(),
                       object(kHeaderExtensionGuid, QByteArray(18, '\0') + le<quint32>(1000))});
    }
    void damaged() {
        QFETCH(QByteArray, bytes);
        Header parsed;
        const Status status = parsed.parse(bytes);
        QVERIFY(!status.ok());
        QCOMPARE(status.code(), ErrorCode::InvalidData);
    }
};

QTEST_GUILESS_MAIN(TestAsf)
#include "tst_asf.moc"

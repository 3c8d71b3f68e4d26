#include "tags/apetag.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace tags;

namespace {

const QString kData = QStringLiteral(VARLO_TEST_DATA "/ape/");
const QString kPeers = QStringLiteral(VARLO_PEER_DATA "/");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TAPEtag readTag(QByteArray bytes, Status* status = nullptr) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TAPEtag tag;
    const Status result = tag.read(buffer);
    if (status)
        *status = result;
    return tag;
}

/// A Python interpreter that can import mutagen, or empty.
QString pythonWithMutagen() {
    for (const QString& candidate : {QStandardPaths::findExecutable(QStringLiteral("python3")),
                                     QStringLiteral("/usr/bin/python3")}) {
        if (candidate.isEmpty())
            continue;
        QProcess process;
        process.start(candidate, {QStringLiteral("-c"), QStringLiteral("import mutagen.apev2")});
        if (process.waitForFinished(30000) && process.exitCode() == 0)
            return candidate;
    }
    return {};
}

/// Runs a Python snippet on a file and returns its standard output.
QByteArray runPython(const QString& python, const char* script, const QString& path) {
    QProcess process;
    process.start(python, {QStringLiteral("-c"), QString::fromUtf8(script), path});
    process.waitForFinished(30000);
    return process.readAllStandardOutput();
}

/// Items as mutagen sees them: [key, kind, hex of the value bytes], sorted; null without tag.
const char* const kMutagenItems = R"(
import json, sys
from mutagen.apev2 import APEv2, APENoHeaderError
try:
    tag = APEv2(sys.argv[1])
except APENoHeaderError:
    print("null"); sys.exit()
items = [[k, v.kind, (v.value if v.kind == 1 else str(v).encode()).hex()] for k, v in tag.items()]
print(json.dumps(sorted(items)))
)";

QJsonArray ourItems(const TAPEtag& tag) {
    QList<QJsonArray> items;
    for (const APEItem& item : tag.items())
        items << QJsonArray{item.key, int(item.kind), QString::fromLatin1(item.value.toHex())};
    std::sort(items.begin(), items.end(), [](const QJsonArray& a, const QJsonArray& b) {
        return a[0].toString() < b[0].toString();
    });
    QJsonArray result;
    for (const QJsonArray& item : items)
        result << item;
    return result;
}

void patch(QByteArray& bytes, qint64 at, const QByteArray& with) {
    bytes.replace(at, with.size(), with);
}

QByteArray le32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

class TestApeTag : public QObject {
    Q_OBJECT
private slots:
    void readsTags_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("itemCount");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("v2 with header")
            << kData + "ape-v2.mp3" << 4 << "title" << QStringList{"Tïtle ♫"};
        QTest::newRow("v2 before ID3v1")
            << kData + "ape-v2-id3v1.mp3" << 4 << "Artist" << QStringList{"One", "Two"};
        QTest::newRow("v1 before ID3v1")
            << kData + "ape-v1-id3v1.mp3" << 2 << "Year" << QStringList{"1999"};
        QTest::newRow("taglib ape")
            << kPeers + "taglib/ape.mp3" << 1 << "TITLE" << QStringList{"Title"};
        QTest::newRow("taglib ape+id3v1")
            << kPeers + "taglib/ape-id3v1.mp3" << 1 << "TITLE" << QStringList{"Title"};
        QTest::newRow("taglib id3v2+ape")
            << kPeers + "taglib/ape-id3v2.mp3" << 1 << "TITLE" << QStringList{"Title"};
        QTest::newRow("before Lyrics3v2") << kPeers + "mutagen/apev2-lyricsv2.mp3" << 3
                                          << "MP3GAIN_MINMAX" << QStringList{"000,179"};
        QTest::newRow("overstated item count tolerated")
            << kPeers + "mutagen/145-invalid-item-count.apev2" << 17 << "BPM" << QStringList{"71"};
        QTest::newRow("junk before header")
            << kPeers + "mutagen/brokentag.apev2" << 4 << "Album" << QStringList{"A test case"};
        QTest::newRow("header and footer flags")
            << kPeers + "mutagen/oldtag.apev2" << 4 << "Title" << QStringList{"Some Music"};
        QTest::newRow("no tag: plain MP3") << kData + "plain.mp3" << -1 << "" << QStringList{};
        QTest::newRow("no tag: APE followed by ID3v2")
            << kPeers + "mutagen/audacious-trailing-id32-apev2.mp3" << -1 << "" << QStringList{};
    }
    void readsTags() {
        QFETCH(QString, path);
        QFETCH(int, itemCount);
        QFETCH(QString, key);
        QFETCH(QStringList, values);
        const QByteArray bytes = readFile(path);
        QVERIFY(!bytes.isEmpty());
        Status status;
        const TAPEtag tag = readTag(bytes, &status);
        QVERIFY2(status.ok(), qPrintable(status.message()));
        QCOMPARE(tag.exists(), itemCount >= 0);
        if (itemCount < 0)
            return;
        QCOMPARE(tag.items().size(), itemCount);
        QVERIFY(tag.item(key));
        QCOMPARE(tag.item(key)->values(), values);
        QVERIFY(tag.offset() >= 0 && tag.offset() + tag.length() <= bytes.size());
    }

    void binaryItemKeepsBytes() {
        const TAPEtag tag = readTag(readFile(kData + "ape-v2.mp3"));
        const APEItem* cover = tag.item(QStringLiteral("Cover Art (Front)"));
        QVERIFY(cover);
        QCOMPARE(cover->kind, APEItem::Binary);
        QCOMPARE(cover->value, QByteArray("cover.png\0\x89PNG\r\n\x1a\n\0\xff", 20));
        QVERIFY(cover->values().isEmpty());
        QCOMPARE(tag.item(QStringLiteral("Homepage"))->kind, APEItem::Locator);
    }

    // Patches a valid tag (APEv2 with header before ID3v1, or APEv1 without header) and
    // expects the reader to refuse it rather than guess.
    void damagedTagsAreRejected_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("region");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QByteArray>("bytes");
        const QString v2 = QStringLiteral("ape-v2-id3v1.mp3");
        const QString v1 = QStringLiteral("ape-v1-id3v1.mp3");
        QTest::newRow("size beyond the file") << v2 << "footer" << 12 << le32(100000);
        QTest::newRow("size below the footer") << v2 << "footer" << 12 << le32(31);
        QTest::newRow("unknown version") << v2 << "footer" << 8 << le32(3000);
        QTest::newRow("item count understated") << v2 << "footer" << 16 << le32(3);
        QTest::newRow("header preamble broken") << v2 << "header" << 0 << QByteArray("X");
        QTest::newRow("header size differs") << v2 << "header" << 12 << le32(160);
        QTest::newRow("value overruns the tag") << v2 << "items" << 0 << le32(0xFFFFFFF0);
        QTest::newRow("key with a control byte") << v2 << "items" << 8 << QByteArray("\x01");
        QTest::newRow("v1 size one short") << v1 << "footer" << 12 << le32(65);
        QTest::newRow("v1 size one long") << v1 << "footer" << 12 << le32(67);
    }
    void damagedTagsAreRejected() {
        QFETCH(QString, file);
        QFETCH(QString, region);
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        QByteArray data = readFile(kData + file);
        const TAPEtag valid = readTag(data);
        QVERIFY(valid.exists());
        const qint64 footer = valid.offset() + valid.length() - TAPEtag::kFooterSize;
        const qint64 items = footer - valid.size() + TAPEtag::kFooterSize;
        const qint64 base = region == "footer"   ? footer
                            : region == "header" ? valid.offset()
                                                 : items;
        patch(data, base + offset, bytes);

        Status status;
        const TAPEtag tag = readTag(data, &status);
        QCOMPARE(status.code(), ErrorCode::InvalidData);
        QVERIFY(!tag.exists());
        QVERIFY(tag.items().isEmpty());
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(TAPEtag::find(buffer), 0);
    }

    void findReturnsFooterSize() {
        QFile file(kData + "ape-v2-id3v1.mp3");
        QVERIFY(file.open(QIODevice::ReadOnly));
        // 4 items of 129 bytes plus the 32-byte footer; the header is not counted.
        QCOMPARE(TAPEtag::find(file), 161);
    }

    void removeCutsExactlyTheTag_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray plain = readFile(kData + "plain.mp3");
        const auto id3v1Of = [](const QString& name) { return readFile(kData + name).right(128); };
        QTest::newRow("v2 keeps ID3v1")
            << kData + "ape-v2-id3v1.mp3" << plain + id3v1Of("ape-v2-id3v1.mp3");
        QTest::newRow("v1 keeps ID3v1")
            << kData + "ape-v1-id3v1.mp3" << plain + id3v1Of("ape-v1-id3v1.mp3");
        QTest::newRow("v2 alone") << kData + "ape-v2.mp3" << plain;
        QTest::newRow("no tag") << kData + "plain.mp3" << plain;
        // The junk block before the header is not part of the validated tag and stays.
        const QByteArray broken = readFile(kPeers + "mutagen/brokentag.apev2");
        QTest::newRow("junk before header")
            << kPeers + "mutagen/brokentag.apev2" << broken.left(broken.size() - 152);
    }
    void removeCutsExactlyTheTag() {
        QFETCH(QString, path);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("file.mp3"));
        QVERIFY(QFile::copy(path, copy));
        const Status status = TAPEtag::remove(copy);
        QVERIFY2(status.ok(), qPrintable(status.message()));
        QCOMPARE(readFile(copy), expected);
    }

    void damagedTagIsNeverCut() {
        QByteArray data = readFile(kData + "ape-v2-id3v1.mp3");
        const TAPEtag valid = readTag(data);
        patch(data, valid.offset() + 12, le32(160)); // header disagrees with footer
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("damaged.mp3"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(data);
        file.close();
        QVERIFY(TAPEtag::remove(path).ok());
        QCOMPARE(readFile(path), data);
    }

    void removeMissingFileFails() {
        QCOMPARE(TAPEtag::remove(QStringLiteral("/nonexistent/file.mp3")).code(),
                 ErrorCode::NotFound);
    }

    void agreesWithMutagen_data() {
        QTest::addColumn<QString>("path");
        for (const char* name : {"ape-v2.mp3", "ape-v2-id3v1.mp3", "ape-v1-id3v1.mp3", "plain.mp3"})
            QTest::newRow(name) << kData + name;
        for (const char* name :
             {"taglib/ape.mp3", "taglib/ape-id3v1.mp3", "taglib/ape-id3v2.mp3", "taglib/xing.mp3",
              "mutagen/apev2-lyricsv2.mp3", "mutagen/145-invalid-item-count.apev2",
              "mutagen/brokentag.apev2", "mutagen/oldtag.apev2",
              "mutagen/audacious-trailing-id32-apev2.mp3"})
            QTest::newRow(name) << kPeers + name;
    }
    void agreesWithMutagen() {
        QFETCH(QString, path);
        const QString python = pythonWithMutagen();
        if (python.isEmpty())
            QSKIP("python3 with mutagen is not installed");
        const QJsonDocument theirs =
            QJsonDocument::fromJson(runPython(python, kMutagenItems, path));
        const TAPEtag tag = readTag(readFile(path));
        QCOMPARE(tag.exists(), !theirs.isNull());
        if (tag.exists())
            QCOMPARE(ourItems(tag), theirs.array());
    }

    // mutagen's delete on the same peer file leaves the same bytes as ours (keeping
    // Lyrics3v2 and ID3v1 behind the tag).
    void removeAgreesWithMutagen_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"taglib/ape.mp3", "taglib/ape-id3v1.mp3", "taglib/ape-id3v2.mp3",
                                 "mutagen/apev2-lyricsv2.mp3",
                                 "mutagen/145-invalid-item-count.apev2", "mutagen/oldtag.apev2"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void removeAgreesWithMutagen() {
        QFETCH(QString, name);
        const QString python = pythonWithMutagen();
        if (python.isEmpty())
            QSKIP("python3 with mutagen is not installed");
        QTemporaryDir dir;
        const QString ours = dir.filePath(QStringLiteral("ours"));
        const QString theirs = dir.filePath(QStringLiteral("theirs"));
        QVERIFY(QFile::copy(kPeers + name, ours));
        QVERIFY(QFile::copy(kPeers + name, theirs));
        QVERIFY(TAPEtag::remove(ours).ok());
        runPython(python, "import sys; from mutagen.apev2 import delete; delete(sys.argv[1])",
                  theirs);
        const QByteArray result = readFile(ours);
        QVERIFY(result.size() < QFileInfo(kPeers + name).size());
        QCOMPARE(result, readFile(theirs));
    }
};

QTEST_GUILESS_MAIN(TestApeTag)
#include "tst_apetag.moc"

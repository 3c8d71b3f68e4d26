#include "tags/wma.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cmath>

using namespace tags;

namespace {

const QString kData = QStringLiteral(VARLO_TEST_DATA "/wma/");
const QString kPeers = QStringLiteral(VARLO_PEER_DATA "/");

/// Prints a file's stream values and every attribute value (type, text, stream, language)
/// as mutagen sees them.
const char* const kMutagenDump = R"(
import json, sys
from mutagen.asf import ASF
f = ASF(sys.argv[1])
def text(v):
    if v.TYPE == 2: return "1" if v.value else "0"
    if isinstance(v.value, bytes): return v.value.hex()
    return str(v.value)
tags = {}
for name, values in f.tags.items():
    tags.setdefault(name, []).extend(
        [type(v).__name__, text(v), v.stream or 0, v.language or 0] for v in values)
print(json.dumps({"length": f.info.length, "rate": f.info.sample_rate,
                  "channels": f.info.channels, "bitrate": f.info.bitrate, "tags": tags}))
)";

QString pythonWithMutagen() {
    for (const QString& python : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess process;
        process.start(python, {"-c", "import mutagen.asf"});
        if (process.waitForFinished() && process.exitStatus() == QProcess::NormalExit &&
            process.exitCode() == 0)
            return python;
    }
    return {};
}

QJsonObject mutagenDump(const QString& python, const QString& path) {
    QProcess process;
    process.start(python, {"-c", kMutagenDump, path});
    process.waitForFinished();
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

/// The value a name reads from for the whole file in the default language, as text.
QString firstFileWideValue(const QJsonObject& dump, const QString& name) {
    for (const QJsonValue& value : dump["tags"].toObject()[name].toArray()) {
        const QJsonArray v = value.toArray();
        if (v[2].toInt() == 0 && v[3].toInt() == 0)
            return v[0].toString() == "ASFByteArrayAttribute" ? QString() : v[1].toString();
    }
    return {};
}

int slotOf(const QString& attribute) {
    for (int i = 0; i < TWMA::kSlotCount; ++i)
        if (TWMA::attributeName(i) == attribute)
            return i;
    return -1;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 headerSize(const QByteArray& bytes) {
    return qint64(qFromLittleEndian<quint64>(bytes.constData() + 16));
}

QStringList allFiles() {
    return {kData + "tone.wma",
            kData + "typed.wma",
            kPeers + "mutagen/issue_29.wma",
            kPeers + "mutagen/silence-1.wma",
            kPeers + "mutagen/silence-2.wma",
            kPeers + "mutagen/silence-3.wma",
            kPeers + "taglib/lossless.wma",
            kPeers + "taglib/real_example.wma"};
}

} // namespace

class TestWma : public QObject {
    Q_OBJECT
private slots:
    void readsKnownValues_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("sampleRate");
        QTest::addColumn<int>("channels");
        QTest::addColumn<qint64>("duration");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<int>("track");
        QTest::addColumn<QVariantMap>("properties");
        QTest::newRow("issue_29: Latin-1 title, track 6/15, cut short")
            << kPeers + "mutagen/issue_29.wma" << 44100 << 2 << qint64(40) << 128 << 6
            << QVariantMap{{"Title", QString::fromUtf8("Señor Flamingos Adieu")},
                           {"Author", "Kaizers Orchestra"},
                           {"Album", "Live at Vega"},
                           {"Year", "2006"},
                           {"PartOfSet", "1"},
                           {"EncodingTime", "128547236135150000"}};
        QTest::newRow("real_example: GUID attributes, exact QWORD")
            << kPeers + "taglib/real_example.wma" << 44100 << 2 << qint64(96) << 128 << 1
            << QVariantMap{{"Artist", "Shoji Meguro"},
                           {"Genre", "Alternative"},
                           {"EncodingTime", "131452413620000000"}};
        QTest::newRow("silence-1: 48 kHz")
            << kPeers + "mutagen/silence-1.wma" << 48000 << 2 << qint64(3) << 64 << 0
            << QVariantMap{{"Title", "test"}, {"Author", ""}};
        QTest::newRow("typed fixture: Unicode, DWORD track, WORD, library-only language value")
            << kData + "typed.wma" << 22050 << 1 << qint64(0) << 32 << 7
            << QVariantMap{{"Title", QString::fromUtf8("Café Ёлка 東京 \U0001F3B5")},
                           {"Genre", "Rock"},
                           {"Mood", "Calm"},
                           {"BeatsPerMinute", "120"},
                           {"Composer", ""},
                           {"EncodingTime", "131452413620000001"}};
    }
    void readsKnownValues() {
        QFETCH(QString, path);
        QFETCH(int, sampleRate);
        QFETCH(int, channels);
        QFETCH(qint64, duration);
        QFETCH(int, bitRate);
        QFETCH(int, track);
        QFETCH(QVariantMap, properties);
        TWMA wma;
        const Status status = wma.ReadWmaFile(path);
        QVERIFY2(status.ok(), qPrintable(status.message()));
        QCOMPARE(wma.SampleRate(), sampleRate);
        QCOMPARE(wma.ChannelModeID(), channels);
        QCOMPARE(wma.ChannelMode(), channels == 1 ? QString("Mono") : QString("Stereo"));
        QCOMPARE(wma.Duration(), duration);
        QCOMPARE(wma.BitRate(), bitRate);
        QCOMPARE(wma.Track(), track);
        QCOMPARE(wma.FileSize(), QFileInfo(path).size());
        for (auto it = properties.cbegin(); it != properties.cend(); ++it)
            QCOMPARE(wma.property(it.key()), it.value().toString());
    }

    void agreesWithMutagenAndFfprobe_data() {
        QTest::addColumn<QString>("path");
        for (const QString& path : allFiles())
            QTest::newRow(qPrintable(QFileInfo(path).fileName())) << path;
    }
    void agreesWithMutagenAndFfprobe() {
        QFETCH(QString, path);
        const QString python = pythonWithMutagen();
        if (python.isEmpty())
            QSKIP("python3 with mutagen is not installed");
        TWMA wma;
        QVERIFY(wma.ReadWmaFile(path).ok());
        const QJsonObject dump = mutagenDump(python, path);
        QCOMPARE(wma.SampleRate(), dump["rate"].toInt());
        QCOMPARE(wma.ChannelModeID(), dump["channels"].toInt());
        QCOMPARE(wma.BitRate(), dump["bitrate"].toInt() / 1000);
        QVERIFY(std::abs(wma.Duration() - dump["length"].toDouble()) < 1.0);
        for (int i = TWMA::kFirstTagSlot; i < TWMA::kSlotCount; ++i) {
            const QString name = TWMA::attributeName(i);
            const QString expected = firstFileWideValue(dump, name);
            if (!expected.startsWith('{') && !name.isEmpty()) // GUIDs: mutagen gives bytes
                QCOMPARE(wma.slot(i), expected);
        }

        QProcess ffprobe;
        ffprobe.start("ffprobe", {"-v", "error", "-show_entries", "stream=sample_rate,channels",
                                  "-of", "csv=p=0", path});
        if (!ffprobe.waitForFinished() || ffprobe.exitCode() != 0)
            QSKIP("ffprobe is not available");
        const QByteArray expected =
            QByteArray::number(wma.SampleRate()) + ',' + QByteArray::number(wma.ChannelModeID());
        QCOMPARE(ffprobe.readAllStandardOutput().trimmed(), expected);
    }

    void saveKeepsEverythingElse_data() {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QStringList>("edits"); // attribute=value; empty value removes
        QTest::newRow("Latin-1 title") << "tone.wma" << QStringList{"Title=Crème brûlée"};
        QTest::newRow("Cyrillic artist") << "tone.wma" << QStringList{"WM/AlbumArtist=Ёлка"};
        QTest::newRow("CJK and emoji in new attributes")
            << "typed.wma" << QStringList{"WM/Conductor=東京 🎵", "WM/Writer=😀"};
        QTest::newRow("DWORD track, multi-valued genre, stream-bound mood")
            << "typed.wma" << QStringList{"WM/TrackNumber=12", "WM/Genre=Blues", "WM/Mood=Sad"};
        QTest::newRow("remove") << "typed.wma" << QStringList{"Description=", "PCDJ GAIN="};
        QTest::newRow("header grows")
            << "tone.wma" << QStringList{"WM/Lyrics=" + QString(3000, 'l')};
        QTest::newRow("value over 64 KiB")
            << "typed.wma" << QStringList{"WM/Lyrics=" + QString(40000, QChar(0x4E2D))};
        QTest::newRow("issue_29 Content Description last")
            << VARLO_PEER_DATA "/mutagen/issue_29.wma" << QStringList{"Title=Adiós"};
        QTest::newRow("existing value outgrows its object") << VARLO_PEER_DATA
            "/mutagen/issue_29.wma" << QStringList{"WM/Lyrics=" + QString(40000, QChar(0x4E2D))};
        QTest::newRow("silence-2 with index objects")
            << VARLO_PEER_DATA "/mutagen/silence-2.wma" << QStringList{"WM/AlbumTitle=Stille"};
    }
    void saveKeepsEverythingElse() {
        QFETCH(QString, fixture);
        QFETCH(QStringList, edits);
        const QString python = pythonWithMutagen();
        QTemporaryDir dir;
        const QString path = dir.filePath("edit.wma");
        QVERIFY(QFile::copy(fixture.contains('/') ? fixture : kData + fixture, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray before = fileBytes(path);
        const QJsonObject dumpBefore = python.isEmpty() ? QJsonObject() : mutagenDump(python, path);

        TWMA wma;
        QVERIFY(wma.ReadWmaFile(path).ok());
        QStringList edited;
        for (const QString& edit : edits) {
            const QString name = edit.section('=', 0, 0);
            edited << name;
            wma.setSlot(slotOf(name), edit.section('=', 1));
        }
        const Status saved = wma.WriteWmaFile(path);
        QVERIFY2(saved.ok(), qPrintable(saved.message()));

        const QByteArray after = fileBytes(path);
        QCOMPARE(after.mid(headerSize(after)), before.mid(headerSize(before)));
        TWMA reread;
        QVERIFY(reread.ReadWmaFile(path).ok());
        for (int i = TWMA::kFirstTagSlot; i < TWMA::kSlotCount; ++i)
            QCOMPARE(reread.slot(i), wma.slot(i));

        if (python.isEmpty())
            QSKIP("python3 with mutagen is not installed");
        const QJsonObject dumpAfter = mutagenDump(python, path);
        for (const QString& name : edited)
            QCOMPARE(firstFileWideValue(dumpAfter, name), wma.slot(slotOf(name)));
        const QJsonObject tagsBefore = dumpBefore["tags"].toObject();
        const QJsonObject tagsAfter = dumpAfter["tags"].toObject();
        for (auto it = tagsBefore.begin(); it != tagsBefore.end(); ++it) {
            QJsonArray untouchedBefore = it.value().toArray();
            QJsonArray untouchedAfter = tagsAfter[it.key()].toArray();
            if (edited.contains(it.key())) { // only the value the slot showed may change
                untouchedBefore.removeFirst();
                if (!untouchedAfter.isEmpty())
                    untouchedAfter.removeFirst();
            }
            QCOMPARE(untouchedAfter, untouchedBefore);
        }
    }

    void keepsStoredType_data() {
        QTest::addColumn<QString>("attribute");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("type");
        QTest::newRow("DWORD stays DWORD") << "WM/TrackNumber"
                                           << "12"
                                           << "ASFDWordAttribute";
        QTest::newRow("not a number becomes a string") << "WM/TrackNumber"
                                                       << "6/15"
                                                       << "ASFUnicodeAttribute";
        QTest::newRow("leading zero is not the same number") << "WM/TrackNumber"
                                                             << "07"
                                                             << "ASFUnicodeAttribute";
        QTest::newRow("QWORD keeps all 64 bits") << "WM/EncodingTime"
                                                 << "18446744073709551615"
                                                 << "ASFQWordAttribute";
        QTest::newRow("WORD stays WORD") << "WM/BeatsPerMinute"
                                         << "121"
                                         << "ASFWordAttribute";
        QTest::newRow("WORD overflow becomes a string") << "WM/BeatsPerMinute"
                                                        << "70000"
                                                        << "ASFUnicodeAttribute";
        QTest::newRow("new PCDJ GAIN is a DWORD") << "PCDJ RATING"
                                                  << "25000"
                                                  << "ASFDWordAttribute";
        QTest::newRow("new QWORD slot with text") << "WM/EncodingTime"
                                                  << "today"
                                                  << "ASFUnicodeAttribute";
    }
    void keepsStoredType() {
        QFETCH(QString, attribute);
        QFETCH(QString, text);
        QFETCH(QString, type);
        const QString python = pythonWithMutagen();
        if (python.isEmpty())
            QSKIP("python3 with mutagen is not installed");
        QTemporaryDir dir;
        const QString path = dir.filePath("typed.wma");
        QVERIFY(QFile::copy(kData + "typed.wma", path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        TWMA wma;
        QVERIFY(wma.ReadWmaFile(path).ok());
        wma.setSlot(slotOf(attribute), text);
        QVERIFY(wma.WriteWmaFile(path).ok());
        const QJsonArray first = mutagenDump(python, path)["tags"][attribute][0].toArray();
        QCOMPARE(first[0].toString(), type);
        QCOMPARE(first[1].toString(), text);
    }

    void secondSaveWritesInPlace() {
        QTemporaryDir dir;
        const QString path = dir.filePath("tone.wma");
        QVERIFY(QFile::copy(kData + "tone.wma", path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        TWMA wma;
        QVERIFY(wma.ReadWmaFile(path).ok());
        wma.setProperty("Lyrics", QString(100, 'x')); // the first growth adds padding
        QVERIFY(wma.WriteWmaFile(path).ok());
        const qint64 grown = QFileInfo(path).size();
        wma.setProperty("Lyrics", QString(300, 'y'));
        wma.setProperty("Mood", "Calm");
        QVERIFY(wma.WriteWmaFile(path).ok());
        QCOMPARE(QFileInfo(path).size(), grown);
        TWMA reread;
        QVERIFY(reread.ReadWmaFile(path).ok());
        QCOMPARE(reread.property("Lyrics"), QString(300, 'y'));
    }

    void clearRemovesOnlySlots() {
        QTemporaryDir dir;
        const QString path = dir.filePath("typed.wma");
        QVERIFY(QFile::copy(kData + "typed.wma", path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        TWMA wma;
        QVERIFY(wma.ReadWmaFile(path).ok());
        QVERIFY(!wma.IsEmpty());
        wma.Clear();
        QVERIFY(wma.IsEmpty());
        QVERIFY(wma.WriteWmaFile(path).ok());
        TWMA reread;
        QVERIFY(reread.ReadWmaFile(path).ok());
        QVERIFY(reread.IsEmpty());
        QCOMPARE(reread.slot(2), wma.slot(2)); // stream values stay
        const QString python = pythonWithMutagen();
        if (python.isEmpty())
            QSKIP("python3 with mutagen is not installed");
        const QJsonObject dump = mutagenDump(python, path);
        const QJsonObject tags = dump["tags"].toObject();
        QCOMPARE(firstFileWideValue(dump, "Custom/Unknown"), QString("kept as it is"));
        QVERIFY(tags.contains("WM/Picture"));
        QVERIFY(tags.contains("WM/Composer"));         // language-bound
        QCOMPARE(tags["WM/Mood"].toArray().size(), 1); // the stream-bound value
    }

    void genreIdRule_data() {
        QTest::addColumn<QString>("genreId");
        QTest::addColumn<QString>("genre");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("shownGenre");
        QTest::newRow("number") << "17"
                                << "Rock" << 17 << "Rock";
        QTest::newRow("blank") << "  "
                               << "" << 255 << "";
        QTest::newRow("name stands in for blank genre") << "Rock"
                                                        << "" << 255 << "Rock";
        QTest::newRow("genre text wins over a name") << "Rock"
                                                     << "Jazz" << 255 << "Jazz";
        QTest::newRow("over 255") << "300"
                                  << "" << 255 << "";
    }
    void genreIdRule() {
        QFETCH(QString, genreId);
        QFETCH(QString, genre);
        QFETCH(int, id);
        QFETCH(QString, shownGenre);
        TWMA wma;
        wma.SetByIdentifier("g_wszWMGenreID", genreId);
        wma.setProperty("Genre", genre);
        QCOMPARE(wma.GenreId(), id);
        QCOMPARE(wma.property("Genre"), shownGenre);
    }

    void slotAccess() {
        TWMA wma;
        wma.SetByIdentifier("g_wszWMAlbumArtist", "Band");
        wma.SetByIdentifier("g_wszWMPLaylistDelay", "5");
        wma.SetByIdentifier("g_wszWMPCDJGain", "25000");
        wma.SetByIdentifier("g_wszWMBitrate", "999000"); // read-only
        wma.SetByIdentifier("g_wszNoSuchThing", "x");
        QCOMPARE(wma.property("Artist"), QString("Band"));
        QCOMPARE(wma.GetByIdentifier("g_wszWMAlbumArtist"), QString("Band"));
        QCOMPARE(wma.property("PlaylistDelay"), QString("5"));
        QCOMPARE(wma.PCDJGain(), 25000u);
        QCOMPARE(wma.BitRate(), 0);
        QCOMPARE(wma.GetByIdentifier("g_wszNoSuchThing"), QString());
        QVERIFY(TWMA::hasProperty("ContentGroupDescription"));
        QVERIFY(!TWMA::hasProperty("Band"));
        wma.setProperty("Title", QString("Cut") + QChar(0) + "here");
        QCOMPARE(wma.property("Title"), QString("Cut"));
        wma.setTrack(0);
        QCOMPARE(wma.slot(10), QString());
        TWMA copy;
        copy.Assign(wma);
        QVERIFY(copy == wma);
        copy.setTrack(3);
        QVERIFY(!(copy == wma));
    }

    void errors_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("not ASF") << QByteArray("ID3\x03 not a wma file at all, really")
                                 << "Not a WMA file";
        QByteArray tooBig = fileBytes(kData + "tone.wma");
        qToLittleEndian<quint64>(tooBig.size() + 1, tooBig.data() + 16);
        QTest::newRow("header larger than the file") << tooBig << "more than the file holds";
        QByteArray cut = fileBytes(kData + "tone.wma");
        qToLittleEndian<quint64>(0xFFFFFFFF, cut.data() + 30 + 16); // first child's size
        QTest::newRow("object past its parent") << cut << "runs past the end";
    }
    void errors() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.wma");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        TWMA wma;
        wma.setProperty("Title", "kept");
        const Status status = wma.ReadWmaFile(path);
        QVERIFY(!status.ok());
        QVERIFY2(status.message().contains(message), qPrintable(status.message()));
        QVERIFY(status.message().contains(path));
        QCOMPARE(wma.property("Title"), QString("kept"));
        QVERIFY(!wma.WriteWmaFile(path).ok());
        QCOMPARE(fileBytes(path), bytes);
        QCOMPARE(wma.ReadWmaFile(dir.filePath("missing.wma")).code(), ErrorCode::NotFound);
    }
};

QTEST_GUILESS_MAIN(TestWma)
#include "tst_wma.moc"

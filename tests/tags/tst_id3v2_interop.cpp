// Compares our ID3v2 reading and writing with mutagen's (a black-box reference run through
// tests/tools/id3dump.py) on our fixtures and the public peer samples, and checks with ffmpeg
// that a write leaves the audio alone.
#include "tags/id3picture.h"
#include "tags/id3v2file.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace tags;

namespace {

/// Fixtures mutagen cannot read correctly: the per-frame unsynchronisation of older Varlo
/// versions is not the standard form.
const QStringList kNonStandard = {QStringLiteral("v23-oldunsync.mp3")};

QString python() {
    for (const QString& candidate :
         {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess probe;
        probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import mutagen.id3")});
        if (probe.waitForFinished(20000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return candidate;
    }
    return {};
}

QJsonObject mutagenDump(const QString& interpreter, const QStringList& paths) {
    QProcess process;
    process.start(interpreter,
                  QStringList{QStringLiteral(VARLO_TEST_DATA "/../tools/id3dump.py")} + paths);
    if (!process.waitForFinished(120000))
        return {};
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

QByteArray audioMd5(const QString& path) {
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-v", "quiet", "-i", path, "-map", "0:a", "-c", "copy", "-f", "md5", "-"});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return {};
    return ffmpeg.readAllStandardOutput().trimmed();
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// Files that start with an ID3v2 tag: our fixtures and the peer samples.
QStringList id3Files() {
    QStringList files;
    for (const QString& dir :
         {QStringLiteral(VARLO_TEST_DATA "/id3"), QStringLiteral(VARLO_PEER_DATA "/mutagen"),
          QStringLiteral(VARLO_PEER_DATA "/taglib")})
        for (const QFileInfo& info : QDir(dir).entryInfoList(QDir::Files, QDir::Name))
            if (fileBytes(info.filePath()).startsWith("ID3"))
                files << info.filePath();
    return files;
}

/// (id, key, value) of a frame by the rules of id3dump.py.
QStringList triple(TID3Frame& frame) {
    const QString id = QString::fromLatin1(frame.id);
    if (id == "TXXX")
        return {id, UserFrameDescription(frame), FrameValues(frame).value(0)};
    if (id == "WXXX")
        return {id, UserFrameDescription(frame), GetFrameText(frame)};
    if (id.startsWith('T') || id.startsWith('W') || id == "PCNT")
        return {id, QString(), GetFrameText(frame)};
    if (id == "COMM" || id == "USLT") {
        const QStringList lines = SplitTextForm(GetFrameText(frame));
        return {id, lines.value(0) + '|' + lines.value(1), lines.mid(2).join('\n')};
    }
    if (id == "APIC") {
        const QByteArray sha =
            QCryptographicHash::hash(PictureData(frame), QCryptographicHash::Sha1);
        return {id, PictureDescription(frame),
                QStringLiteral("%1|%2|%3")
                    .arg(PictureMime(frame))
                    .arg(PictureType(frame))
                    .arg(QString::fromLatin1(sha.toHex()))};
    }
    if (id == "PRIV" || id == "UFID") {
        const qsizetype nul = frame.body.indexOf('\0');
        const QByteArray owner = nul < 0 ? frame.body : frame.body.left(nul);
        return {id, QString::fromLatin1(owner),
                QString::fromLatin1(frame.body.mid(owner.size() + 1).toHex())};
    }
    return {id, QString(), QString()};
}

/// Brings a reference triple to the form Varlo keeps: an ID3v2.4 recording date is a TYER,
/// and ID3v2.2 pictures get a MIME type instead of an image format.
QStringList normalised(QStringList t, int sourceVersion) {
    if (t[0] == "TDRC" && sourceVersion == 4)
        t = QStringList{QStringLiteral("TYER"), QString(), t[2].left(4)};
    if (t[0] == "APIC" && sourceVersion == 2)
        t[2] = t[2].section('|', 1);
    return t;
}

QList<QStringList> referenceTriples(const QJsonObject& dump) {
    QList<QStringList> triples;
    for (const QJsonValue& value : dump.value("frames").toArray()) {
        QStringList t;
        for (const QJsonValue& part : value.toArray())
            t << part.toString();
        triples << normalised(t, dump.value("version").toInt());
    }
    return triples;
}

QList<QStringList> ourTriples(TID3v2& tag, int sourceVersion) {
    QList<QStringList> triples;
    for (int i = 0; i < tag.frameCount(); ++i)
        triples << normalised(triple(tag.frame(i)), sourceVersion);
    return triples;
}

/// The reference triples that `ours` lacks, or has with another value.
QStringList missing(const QList<QStringList>& reference, const QList<QStringList>& ours) {
    QStringList problems;
    for (const QStringList& t : reference) {
        const auto sameFrame = [&](const QStringList& o) { return o[0] == t[0] && o[1] == t[1]; };
        const auto found = std::find_if(ours.begin(), ours.end(), sameFrame);
        if (found == ours.end())
            problems << QStringLiteral("missing %1 [%2]").arg(t[0], t[1]);
        else if (!ours.contains(t))
            problems
                << QStringLiteral("%1 [%2]: %3 instead of %4").arg(t[0], t[1], (*found)[2], t[2]);
    }
    return problems;
}

TID3v2 readFile(const QString& path) {
    QFile file(path);
    TID3v2 tag;
    if (file.open(QIODevice::ReadOnly))
        readID3v2(file, tag, true, nullptr);
    return tag;
}

} // namespace

class TestId3v2Interop : public QObject {
    Q_OBJECT
private:
    QString m_python;
    QJsonObject m_before;

private slots:
    void initTestCase() {
        m_python = python();
        if (m_python.isEmpty())
            QSKIP("python3 with mutagen is not installed");
        m_before = mutagenDump(m_python, id3Files());
        QVERIFY(!m_before.isEmpty());
    }

    void readingAgreesWithMutagen_data() {
        QTest::addColumn<QString>("path");
        for (const QString& path : id3Files())
            if (!kNonStandard.contains(QFileInfo(path).fileName()))
                QTest::newRow(qPrintable(path.section('/', -2))) << path;
    }
    void readingAgreesWithMutagen() {
        QFETCH(QString, path);
        const QJsonObject dump = m_before.value(path).toObject();
        TID3v2 tag = readFile(path);
        if (dump.contains("error"))
            QSKIP(qPrintable("mutagen rejects the file: " + dump.value("error").toString()));
        QCOMPARE(tag.version, dump.value("version").toInt());
        const QStringList problems = missing(referenceTriples(dump), ourTriples(tag, tag.version));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
    }

    void writeKeepsFramesAndAudio_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("grow");
        for (const QString& path : id3Files()) {
            if (kNonStandard.contains(QFileInfo(path).fileName()))
                continue;
            const QString name = path.section('/', -2);
            QTest::newRow(qPrintable(name + " edit")) << path << false;
            QTest::newRow(qPrintable(name + " grow")) << path << true;
        }
    }
    void writeKeepsFramesAndAudio() {
        QFETCH(QString, path);
        QFETCH(bool, grow);
        const QJsonObject before = m_before.value(path).toObject();
        if (before.contains("error"))
            QSKIP("mutagen rejects the original");
        QTemporaryDir dir;
        const QString copy = dir.filePath(QFileInfo(path).fileName());
        QVERIFY(QFile::copy(path, copy));
        const QByteArray original = fileBytes(copy);
        QBuffer buffer;
        buffer.setData(original);
        buffer.open(QIODevice::ReadOnly);
        const qint64 oldRegion = id3v2RegionSize(buffer);

        TID3v2 tag = readFile(copy);
        const QString title = QStringLiteral("Varlo ✓ 東京 🎸");
        SetFrameText(tag.FindOrAddFrame("TIT2"), title);
        if (grow)
            SetFrameText(tag.FindOrAddUserFrame("TXXX", "Varlo growth"), QString(20000, 'g'));
        tag.modified = true;
        const Status status = writeID3v2(copy, tag, Id3WriteOptions());
        QVERIFY2(status.ok(), qPrintable(status.message()));
        QVERIFY(!tag.modified);

        const QByteArray written = fileBytes(copy);
        QCOMPARE(written.mid(tag.storedSize + 10), original.mid(oldRegion));
        if (!grow && oldRegion >= 2048 && tag.usedSize <= oldRegion)
            QCOMPARE(written.size(), original.size()); // in place
        if (grow)
            QVERIFY(written.size() > original.size());

        const QJsonObject after = mutagenDump(m_python, {copy}).value(copy).toObject();
        QCOMPARE(after.value("version").toInt(), 3);
        const int sourceVersion = before.value("version").toInt();
        QList<QStringList> kept;
        for (const QStringList& t : referenceTriples(before))
            if (t[0] != "TIT2" && !(t[0].startsWith('T') && t[2].isEmpty()))
                kept << t;
        QList<QStringList> afterTriples;
        for (const QStringList& t : referenceTriples(after))
            afterTriples << normalised(t, sourceVersion);
        const QStringList problems = missing(kept, afterTriples);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join("; ")));
        QVERIFY(afterTriples.contains(QStringList{"TIT2", "", title}));

        const QByteArray md5 = audioMd5(path);
        if (!md5.isEmpty())
            QCOMPARE(audioMd5(copy), md5);
    }
};

QTEST_GUILESS_MAIN(TestId3v2Interop)
#include "tst_id3v2_interop.moc"

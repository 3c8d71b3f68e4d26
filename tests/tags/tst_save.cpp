#include "tags/audiofile.h"
#include "tags/fileio.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace tags;

namespace {

QString copyFixture(const QTemporaryDir& dir, const QString& name, const QString& as = {}) {
    const QString target = dir.filePath(as.isEmpty() ? QFileInfo(name).fileName() : as);
    QFile::copy(QStringLiteral(VARLO_TEST_DATA "/") + name, target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    return target;
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

/// The MPEG frames of a file: from the first frame to the trailing tags.
QByteArray audioBytes(const QString& path) {
    TMP3 file(path);
    const QByteArray bytes = fileBytes(path);
    qint64 end = bytes.size();
    if (file.Tag())
        end -= ID3v1Block::kSize;
    return bytes.mid(file.stream().Offs, end - file.stream().Offs);
}

TagOptions mode(int tagMode) {
    TagOptions options;
    options.tagMode = tagMode;
    return options;
}

} // namespace

class TestSave : public QObject {
    Q_OBJECT
private slots:
    void roundTripKeepsAudio_data() {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("tagMode");
        QTest::newRow("tagged, mixed") << "mpeg/tagged-v1v2.mp3" << 3;
        QTest::newRow("untagged, mixed") << "mpeg/cbr32-44k-stereo.mp3" << 3;
        QTest::newRow("ID3v1 only file, ID3v2 mode") << "mpeg/tagged-v1.mp3" << 2;
        QTest::newRow("ID3v1 mode") << "mpeg/tagged-v1v2.mp3" << 1;
    }
    void roundTripKeepsAudio() {
        QFETCH(QString, fixture);
        QFETCH(int, tagMode);
        QTemporaryDir dir;
        const QString path = copyFixture(dir, fixture);
        const QByteArray audio = audioBytes(path);
        {
            TMP3 file(path, mode(tagMode));
            file.set(Field::Title, QStringLiteral("Ünïcode – 東京"));
            file.set(Field::Album, QStringLiteral("New album"));
            file.setTrack(12);
            QVERIFY2(file.SaveTags().ok(), "save failed");
        }
        TMP3 again(path, mode(tagMode));
        const QString expectedTitle =
            tagMode == 1 ? QStringLiteral("Ünïcode ? ??") : QStringLiteral("Ünïcode – 東京");
        QCOMPARE(again.get(Field::Title), expectedTitle);
        QCOMPARE(again.get(Field::Album), QStringLiteral("New album"));
        QCOMPARE(again.Track(), 12);
        QCOMPARE(audioBytes(path), audio);
    }

    void otherFormatsRoundTrip_data() {
        QTest::addColumn<QString>("fixture");
        QTest::newRow("ogg") << "ogg/tagged.ogg";
        QTest::newRow("wma") << "wma/typed.wma";
    }
    void otherFormatsRoundTrip() {
        QFETCH(QString, fixture);
        QTemporaryDir dir;
        const QString path = copyFixture(dir, fixture);
        QString untouched;
        {
            TMP3 file(path);
            untouched = file.get(Field::Comment);
            file.set(Field::Title, QStringLiteral("Ωμέγα 東京 🎵"));
            file.set(Field::Composer, QStringLiteral("Bach"));
            file.setTrack(12);
            QVERIFY(file.SaveTags().ok());
        }
        TMP3 again(path);
        QCOMPARE(again.get(Field::Title), QStringLiteral("Ωμέγα 東京 🎵"));
        QCOMPARE(again.get(Field::Composer), QStringLiteral("Bach"));
        QCOMPARE(again.Track(), 12);
        QCOMPARE(again.get(Field::Comment), untouched);
    }

    void clearedID3v1IsCut() {
        QTemporaryDir dir;
        const QString path = copyFixture(dir, "mpeg/tagged-v1.mp3");
        const qint64 size = QFileInfo(path).size();
        TMP3 file(path);
        QVERIFY(file.Tag());
        file.ClearID3v1();
        QVERIFY(file.SaveTags().ok());
        QCOMPARE(QFileInfo(path).size(), size - 128);
        QVERIFY(!TMP3(path).Tag());
    }

    void droppedApeTagIsCutAndID3v1Kept() {
        QTemporaryDir dir;
        const QString path = copyFixture(dir, "ape/ape-v2-id3v1.mp3");
        const QByteArray before = fileBytes(path);
        TMP3 file(path);
        QVERIFY(file.APE());
        file.RemoveAPETag();
        QVERIFY(file.SaveTags().ok());
        TMP3 again(path);
        QVERIFY(!again.APE());
        QVERIFY(again.Tag());
        QCOMPARE(fileBytes(path).right(128), before.right(128));
        QCOMPARE(fileBytes(path),
                 fileBytes(QStringLiteral(VARLO_TEST_DATA "/ape/plain.mp3")) + before.right(128));
        QVERIFY(file.SaveTags().ok()); // a second save never cuts again
        QCOMPARE(fileBytes(path).right(128), before.right(128));
    }

    void failedWriteLeavesTheOriginal() {
        QTemporaryDir dir;
        const QString path = copyFixture(dir, "mpeg/cbr32-44k-stereo.mp3");
        const QByteArray before = fileBytes(path);
        TMP3 file(path);
        file.set(Field::Lyrics, QString(20000, QLatin1Char('x'))); // the tag must grow
        // No file may grow past its current size, as on a full disk.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit limit = old;
        limit.rlim_cur = rlim_t(before.size() + 1000);
        setrlimit(RLIMIT_FSIZE, &limit);
        const Status status = file.SaveTags();
        setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!status.ok());
        QVERIFY(!status.message().isEmpty());
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temp left
    }

    void vanishedFileIsAFailure() {
        QTemporaryDir dir;
        const QString path = copyFixture(dir, "mpeg/tagged-v1v2.mp3");
        TMP3 file(path);
        file.set(Field::Title, QStringLiteral("x"));
        QFile::remove(path);
        QVERIFY(!file.SaveTags().ok());
        QVERIFY(!QFile::exists(path));
    }

    void retainFileDateKeepsNanoseconds() {
        QTemporaryDir dir;
        const QString path = copyFixture(dir, "mpeg/tagged-v1v2.mp3");
        QVERIFY(setModificationTime(path, 1'234'567'890'123'456'789LL).ok());
        TMP3 file(path);
        file.set(Field::Title, QStringLiteral("changed"));
        QVERIFY(file.SaveTags().ok());
        const FileStamp stamp = FileStamp::of(path);
        QCOMPARE(stamp.modifiedNs, 1'234'567'890'123'456'789LL);
        QVERIFY(stamp.changedNs != 1'234'567'890'123'456'789LL); // the change still shows
    }

    void wavSaveWritesNothingAndSucceeds() {
        QTemporaryDir dir;
        const QString path = copyFixture(dir, "wav/pcm16-stereo-list.wav");
        const QByteArray before = fileBytes(path);
        TMP3 file(path);
        file.setChanged(true);
        QVERIFY(file.SaveTags().ok());
        QCOMPARE(fileBytes(path), before);
    }

    void moveNeverReplaces() {
        QTemporaryDir dir;
        const QString lower = copyFixture(dir, "mpeg/tagged-v1.mp3", "a.mp3");
        const QString upper = copyFixture(dir, "mpeg/tagged-v1v2.mp3", "A.mp3");
        const QByteArray lowerBytes = fileBytes(lower);
        const QByteArray upperBytes = fileBytes(upper);
        TMP3 file(lower);
        file.setFileName(QStringLiteral("A"));
        QVERIFY(!file.MoveToNewFileDir().ok());
        QCOMPARE(file.FilePath(), lower);
        QCOMPARE(fileBytes(lower), lowerBytes);
        QCOMPARE(fileBytes(upper), upperBytes);

        file.setNewFileDir(dir.filePath("Artist/Album/"));
        QVERIFY(file.MoveToNewFileDir().ok());
        QCOMPARE(file.FilePath(), dir.filePath("Artist/Album/A.mp3"));
        QCOMPARE(fileBytes(file.FilePath()), lowerBytes);
        QVERIFY(!QFile::exists(lower));
    }

    void revertDropsChanges() {
        QTemporaryDir dir;
        const QString path = copyFixture(dir, "mpeg/tagged-v1v2.mp3");
        TMP3 file(path);
        file.set(Field::Title, QStringLiteral("unsaved"));
        file.setFileName(QStringLiteral("renamed"));
        file.setChanged(true);
        QVERIFY(file.Revert().ok());
        QCOMPARE(file.get(Field::Title), QStringLiteral("Title v2"));
        QCOMPARE(file.FileName(), QStringLiteral("tagged-v1v2"));
        QVERIFY(!file.Changed());
    }

    void repairCutsOnlyJunkBeforeTheAudio() {
        QTemporaryDir dir;
        const QString tagged = copyFixture(dir, "mpeg/tagged-v1v2.mp3");
        TMP3 original(tagged);
        const QByteArray bytes = fileBytes(tagged);
        const qint64 offs = original.stream().Offs;
        // Junk with a lone sync pattern between the tag and the first frame.
        const QByteArray junk = QByteArray("\xFF\xFB\x90\x00junk", 8) + QByteArray(200, 'j');
        QFile out(tagged);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes.left(offs) + junk + bytes.mid(offs));
        out.close();
        TMP3 broken(tagged);
        QVERIFY(broken.RepairBrokenHeader().ok());
        QCOMPARE(fileBytes(tagged), bytes);
        QCOMPARE(broken.get(Field::Title), QStringLiteral("Title v2"));
        QVERIFY(!broken.RepairBrokenHeader().ok()); // nothing left to repair
    }
};

QTEST_GUILESS_MAIN(TestSave)
#include "tst_save.moc"

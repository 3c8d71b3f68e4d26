#include "playlists/playlistreader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstPlaylistReader : public QObject {
    Q_OBJECT

private slots:
    void readsPaths_data();
    void readsPaths();
    void unreadablePlaylistGivesNothing();
    void stopEndsReading();
    void recognisesPlaylistFiles_data();
    void recognisesPlaylistFiles();
};

namespace {

QString writePlaylist(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    QDir(dir.path()).mkpath(QStringLiteral("lists"));
    const QString path = dir.filePath(QStringLiteral("lists/") + name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(text);
    return path;
}

} // namespace

void TstPlaylistReader::readsPaths_data() {
    // "%L" stands for the playlist's folder, "%T" for the folder above it.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("m3u comments, relative, absolute, backslash, drive")
        << "list.m3u"
        << QByteArray("#EXTM3U\r\n#EXTINF:10,Title\r\na.mp3\r\n\r\nsub\\b.mp3\r\n"
                      "/music/c.mp3\r\n\\music\\d.mp3\r\nC:\\Music\\e.mp3\r\n../f.mp3\r\n")
        << QStringList{"%L/a.mp3",     "%L/sub/b.mp3",     "/music/c.mp3",
                       "/music/d.mp3", "C:\\Music\\e.mp3", "%T/f.mp3"};
    QTest::newRow("m3u with byte order mark and capital extension") << "LIST.M3U"
                                                                    << QByteArray("\xEF\xBB\xBF"
                                                                                  "a.mp3\n#b.mp3\n")
                                                                    << QStringList{"%L/a.mp3"};
    QTest::newRow("m3u in UTF-8 with a file address")
        << "list.m3u" << QByteArray("Bj\xC3\xB6rk/J\xC3\xB3ga.mp3\nfile:///music/a%20b.mp3\n")
        << QStringList{"%L/Bj\u00F6rk/J\u00F3ga.mp3", "/music/a b.mp3"};
    QTest::newRow("pls file lines only, in line order")
        << "list.pls"
        << QByteArray("[playlist]\nPlayListName=Mine\nFile3=c.mp3\nTitle3=C\nFile1=a.mp3\n"
                      "title1=Filed\nLength1=10\nNumberOfEntries=3\nVersion=2\n")
        << QStringList{"%L/c.mp3", "%L/a.mp3"};
    QTest::newRow("fls with capital extension")
        << "fav.FLS" << QByteArray("[playlist]\nType=Fav\nFILE1=/music/a.ogg\nArtist1=A\n")
        << QStringList{"/music/a.ogg"};
    QTest::newRow("other extension: every line")
        << "list.txt" << QByteArray("a.mp3\n#b.mp3\n") << QStringList{"%L/a.mp3", "%L/#b.mp3"};
}

void TstPlaylistReader::readsPaths() {
    QFETCH(QString, name);
    QFETCH(QByteArray, text);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    const QString playlist = writePlaylist(dir, name, text);
    expected.replaceInStrings(QStringLiteral("%L"), dir.filePath(QStringLiteral("lists")));
    expected.replaceInStrings(QStringLiteral("%T"), dir.path());
    QCOMPARE(playlists::readPlaylistPaths(playlist), expected);
}

void TstPlaylistReader::unreadablePlaylistGivesNothing() {
    QTemporaryDir dir;
    QVERIFY(playlists::readPlaylistPaths(dir.filePath(QStringLiteral("missing.m3u"))).isEmpty());
    QVERIFY(playlists::readPlaylistPaths(dir.path()).isEmpty());
}

void TstPlaylistReader::stopEndsReading() {
    QTemporaryDir dir;
    const QString playlist = writePlaylist(dir, QStringLiteral("list.m3u"), "a.mp3\nb.mp3\n");
    int polls = 0;
    const QStringList paths = playlists::readPlaylistPaths(playlist, [&] { return ++polls > 1; });
    QCOMPARE(paths, QStringList{dir.filePath(QStringLiteral("lists/a.mp3"))});
}

void TstPlaylistReader::recognisesPlaylistFiles_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("playlist");
    QTest::newRow("m3u") << "/a/list.m3u" << true;
    QTest::newRow("capital PLS") << "/a/LIST.PLS" << true;
    QTest::newRow("fls") << "/a/fav.Fls" << true;
    QTest::newRow("mp3") << "/a/song.mp3" << false;
    QTest::newRow("m3u8") << "/a/list.m3u8" << false;
    QTest::newRow("folder named like one") << "/a/list.m3u/song.mp3" << false;
}

void TstPlaylistReader::recognisesPlaylistFiles() {
    QFETCH(QString, path);
    QFETCH(bool, playlist);
    QCOMPARE(playlists::isPlaylistFile(path), playlist);
}

QTEST_GUILESS_MAIN(TstPlaylistReader)
#include "tst_playlistreader.moc"

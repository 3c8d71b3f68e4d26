#include "tags/bytecursor.h"
#include "tags/id3picture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tags;

namespace {

TID3Frame makeFrame(const QByteArray& id, const QByteArray& body) {
    TID3Frame frame;
    frame.id = id;
    frame.body = body;
    return frame;
}

} // namespace

class TestId3Frame : public QObject {
    Q_OBJECT
private slots:
    void textEncodings_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("Latin-1") << QByteArray("\x00"
                                               "Caf\xe9",
                                               5)
                                 << QStringLiteral("Café");
        QTest::newRow("UTF-16 little-endian BOM")
            << QByteArray("\x01\xff\xfe\x41\x00\x42\x00", 7) << "AB";
        QTest::newRow("UTF-16 big-endian BOM")
            << QByteArray("\x01\xfe\xff\x04\x1a\x04\x38", 7) << QStringLiteral("Ки");
        QTest::newRow("UTF-16 without BOM") << QByteArray("\x01\x41\x00", 3) << "A";
        QTest::newRow("UTF-16BE") << QByteArray("\x02\x6c\x34", 3) << QStringLiteral("水");
        QTest::newRow("UTF-8") << QByteArray("\x03\xe6\x9d\xb1\xf0\x9f\x8e\xb8")
                               << QStringLiteral("東🎸");
        QTest::newRow("encoding byte only") << QByteArray(1, '\0') << QString();
        QTest::newRow("first of several values") << QByteArray("\x03"
                                                               "a\0b",
                                                               4)
                                                 << "a";
        QTest::newRow("unknown encoding as Latin-1") << QByteArray("\x07xy") << "xy";
    }
    void textEncodings() {
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        TID3Frame frame = makeFrame("TIT2", body);
        QCOMPARE(GetFrameText(frame), text);
    }

    void getTextForm_data() {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("text");
        QTest::newRow("TXXX value") << QByteArray("TXXX") << QByteArray("\0x\0y", 4) << "y";
        QTest::newRow("COMM") << QByteArray("COMM") << QByteArray("\0engd\0t", 7)
                              << "eng\r\nd\r\nt\r\n";
        QTest::newRow("COMM UTF-16 empty description") << QByteArray("COMM")
                                                       << QByteArray("\x01"
                                                                     "eng\xff\xfe\0\0\xff\xfeh\0",
                                                                     12)
                                                       << "eng\r\n\r\nh\r\n";
        QTest::newRow("USLT") << QByteArray("USLT") << QByteArray("\0eng\0a\nb\0", 9)
                              << "eng\r\n\r\na\nb";
        QTest::newRow("APIC") << QByteArray("APIC")
                              << QByteArray("\0image/png\0\x03"
                                            "c\0PIC",
                                            17)
                              << "image/png\r\n3\r\nc\r\n";
        QTest::newRow("GEOB") << QByteArray("GEOB") << QByteArray("\0t/x\0f\0d\0data", 13)
                              << "t/x\r\nf\r\nd\r\n";
        QTest::newRow("IPLS") << QByteArray("IPLS") << QByteArray("\0a\0b\0\0c", 7) << "a\r\nb\r\n";
        QTest::newRow("UFID") << QByteArray("UFID") << QByteArray("own\0\x01\x02", 6) << "own";
        QTest::newRow("PCNT big-endian")
            << QByteArray("PCNT") << QByteArray("\0\0\x01\x2c", 4) << "300";
        QTest::newRow("PRIV") << QByteArray("PRIV") << QByteArray("o\0x", 3)
                              << QString::fromLatin1("o\0x", 3);
        QTest::newRow("URL") << QByteArray("WOAR") << QByteArray("http://a") << "http://a";
        QTest::newRow("URL with encoding byte")
            << QByteArray("WOAR") << QByteArray("\0http://a", 9) << "http://a";
        QTest::newRow("WXXX") << QByteArray("WXXX")
                              << QByteArray("\x01\xff\xfe"
                                            "d\0\0\0http://u",
                                            15)
                              << "http://u";
        QTest::newRow("no rule") << QByteArray("SYLT") << QByteArray("\0\0") << "<Not supported>";
    }
    void getTextForm() {
        QFETCH(QByteArray, id);
        QFETCH(QByteArray, body);
        QFETCH(QString, text);
        TID3Frame frame = makeFrame(id, body);
        QCOMPARE(GetFrameText(frame), text);
    }

    void setTextForm_data() {
        QTest::addColumn<QByteArray>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("Latin-1 text") << QByteArray("TIT2") << "Café" << QByteArray("\0Caf\xe9", 5);
        QTest::newRow("beyond Latin-1")
            << QByteArray("TIT2") << QStringLiteral("Ж") << QByteArray("\x01\xff\xfe\x16\x04", 5);
        QTest::newRow("COMM") << QByteArray("COMM") << "en\r\nd\r\nt"
                              << QByteArray("\0en\0d\0t", 7);
        QTest::newRow("COMM trailing breaks") << QByteArray("COMM") << "eng\r\nd\r\nt\r\n\r\n"
                                              << QByteArray("\0engd\0t", 7);
        QTest::newRow("USLT language cut")
            << QByteArray("USLT") << "english\r\nd\r\na\r\nb" << QByteArray("\0engd\0a\nb\n\0", 11);
        QTest::newRow("PCNT zero") << QByteArray("PCNT") << "0" << QByteArray(4, '\0');
        QTest::newRow("PCNT not a number") << QByteArray("PCNT") << "abc" << QByteArray(4, '\0');
        QTest::newRow("PCNT 5") << QByteArray("PCNT") << "5" << QByteArray("\0\0\0\x05", 4);
        QTest::newRow("URL without encoding byte")
            << QByteArray("WOAR") << "http://a" << QByteArray("http://a");
        QTest::newRow("URL beyond Latin-1")
            << QByteArray("WOAR") << QStringLiteral("http://ж") << QByteArray("http://%D0%B6");
        QTest::newRow("IPLS") << QByteArray("IPLS") << "a\r\nb" << QByteArray("\0a\0b\0", 5);
        QTest::newRow("no rule keeps body") << QByteArray("SYLT") << "x" << QByteArray("old");
    }
    void setTextForm() {
        QFETCH(QByteArray, id);
        QFETCH(QString, text);
        QFETCH(QByteArray, body);
        TID3Frame frame = makeFrame(id, "old");
        SetFrameText(frame, text);
        QCOMPARE(frame.body.toHex(' '), body.toHex(' '));
    }

    void userFrameKeepsItsDescription() {
        TID3Frame frame = makeFrame("TXXX", QByteArray("\0desc\0old", 9));
        SetFrameText(frame, QStringLiteral("Новое"));
        QCOMPARE(UserFrameDescription(frame), QStringLiteral("desc"));
        QCOMPARE(GetFrameText(frame), QStringLiteral("Новое"));
        TID3Frame url = makeFrame("WXXX", QByteArray("\0home\0http://a", 14));
        SetFrameText(url, QStringLiteral("http://b"));
        QCOMPARE(UserFrameDescription(url), QStringLiteral("home"));
        QCOMPARE(GetFrameText(url), QStringLiteral("http://b"));
    }

    void opaqueFrameBecomesPlainWhenSet() {
        TID3Frame frame = makeFrame("TIT2", "\x13\x37");
        frame.opaque = true;
        frame.flags = 0x0040;
        QCOMPARE(GetFrameText(frame), QString());
        SetFrameText(frame, QStringLiteral("plain"));
        QVERIFY(!frame.opaque);
        QCOMPARE(frame.flags, quint16(0));
        QCOMPARE(GetFrameText(frame), QStringLiteral("plain"));
    }

    void genre_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("genreText");
        QTest::newRow("(n)") << "(17)" << 17 << "Rock";
        QTest::newRow("(n)Name") << "(17)Rock" << 17 << "Rock";
        QTest::newRow("(n) over 255") << "(300)" << 255 << "(300)";
        QTest::newRow("bare index") << "35" << 35 << "House";
        QTest::newRow("name") << "heavy metal" << 137 << "heavy metal";
        QTest::newRow("unknown text kept") << "Relaxation..? :)" << 255 << "Relaxation..? :)";
        QTest::newRow("remix reference") << "(RX)" << 255 << "(RX)";
        QTest::newRow("empty") << "" << 255 << "";
    }
    void genre() {
        QFETCH(QString, text);
        QFETCH(int, index);
        QFETCH(QString, genreText);
        TID3Frame frame = makeFrame("TCON", {});
        SetGenreText(frame, text);
        QCOMPARE(GenreIndexOf(frame), index);
        QCOMPARE(GenreTextOf(frame), genreText);
    }

    void setGenreIndex() {
        TID3Frame frame = makeFrame("TCON", {});
        SetGenreIndex(frame, 17);
        QCOMPARE(GetFrameText(frame), QStringLiteral("(17)Rock"));
        SetGenreIndex(frame, 255);
        QCOMPARE(frame.body, QByteArray(1, '\0'));
    }

    void pictureOperations() {
        TID3Frame frame = makeFrame("APIC", {});
        SetPicture(frame, QStringLiteral("image/png"), 3, QString(), QByteArray("\x89PNG\xff", 5));
        SetPictureDescription(frame, QStringLiteral("Обложка")); // also when there was none
        SetPictureType(frame, 4);
        QCOMPARE(PictureMime(frame), QStringLiteral("image/png"));
        QCOMPARE(PictureType(frame), 4);
        QCOMPARE(PictureDescription(frame), QStringLiteral("Обложка"));
        QCOMPARE(PictureData(frame), QByteArray("\x89PNG\xff", 5));
        GetFrameText(frame);
        QCOMPARE(frame.body.mid(frame.pictureStart - 1), QByteArray("\x89PNG\xff", 5));
    }

    void savePicture_data() {
        QTest::addColumn<QString>("mime");
        QTest::addColumn<QString>("extension");
        QTest::newRow("jpeg") << "image/jpeg"
                              << "jpg";
        QTest::newRow("upper case png") << "IMAGE/PNG"
                                        << "png";
        QTest::newRow("bitmap") << "image/bitmap"
                                << "bmp";
        QTest::newRow("path in MIME") << "image/../../x"
                                      << "";
        QTest::newRow("not an image") << "text/plain"
                                      << "";
        QTest::newRow("unknown image type") << "image/x-evil"
                                            << "";
    }
    void savePicture() {
        QFETCH(QString, mime);
        QFETCH(QString, extension);
        QTemporaryDir dir;
        TID3Frame frame = makeFrame("APIC", {});
        SetPicture(frame, mime, 3, QStringLiteral("d"), "bytes");
        const QString saved = SavePicture(frame, dir.filePath("cover"));
        QCOMPARE(saved, extension.isEmpty() ? QString() : dir.filePath("cover." + extension));
        if (!saved.isEmpty()) {
            QFile file(saved);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("bytes"));
        }
    }

    void utf16TerminatorAtEvenOffset() {
        const QByteArray bytes("\x41\x00\x00\x01\x00\x00\x58", 7);
        TBuf buf(bytes);
        buf.setEncoding(kUtf16);
        QCOMPARE(buf.ReadZString(), QStringLiteral("A\u0100"));
        QCOMPARE(buf.position(), 6);
    }

    void cursorNeverReadsPastEnd() {
        const QByteArray bytes("\x01\x02", 2);
        TBuf buf(bytes);
        QCOMPARE(buf.ReadBE(4), quint64(0x0102));
        QVERIFY(buf.atEnd());
        QCOMPARE(buf.ReadRaw(100), QByteArray());
        QCOMPARE(buf.ReadZString(), QString());
        QCOMPARE(buf.ReadEncoding(), quint8(0));
    }

    void unsynchronisation_data() {
        QTest::addColumn<QByteArray>("plain");
        QTest::addColumn<QByteArray>("unsynchronised");
        QTest::newRow("FF E0") << QByteArray("\xff\xe0") << QByteArray("\xff\x00\xe0", 3);
        QTest::newRow("FF 00") << QByteArray("\xff\x00", 2) << QByteArray("\xff\x00\x00", 3);
        QTest::newRow("FF last") << QByteArray("a\xff") << QByteArray("a\xff\x00", 3);
        QTest::newRow("FF 12 unchanged") << QByteArray("\xff\x12") << QByteArray("\xff\x12");
        QTest::newRow("FF FF") << QByteArray("\xff\xff") << QByteArray("\xff\x00\xff\x00", 4);
    }
    void unsynchronisation() {
        QFETCH(QByteArray, plain);
        QFETCH(QByteArray, unsynchronised);
        QCOMPARE(Unsynchronise(plain).toHex(' '), unsynchronised.toHex(' '));
        QCOMPARE(Resynchronise(unsynchronised).toHex(' '), plain.toHex(' '));
    }
};

QTEST_GUILESS_MAIN(TestId3Frame)
#include "tst_id3frame.moc"

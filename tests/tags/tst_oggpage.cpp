#include "tags/oggpage.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

using namespace tags;

class TestOggPage : public QObject {
    Q_OBJECT
private slots:
    void crcCheckValue() {
        // CRC-32/CKSUM has the same polynomial and start value but inverts the result.
        QCOMPARE(oggCrc("123456789"), ~0x765E7680u);
    }

    void everyPageOfRealFilesVerifies_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("oggenc") << VARLO_TEST_DATA "/ogg/tagged.ogg";
        QTest::newRow("multiplexed") << VARLO_PEER_DATA "/taglib/multiplex.ogg";
        QTest::newRow("long comment") << VARLO_PEER_DATA "/mutagen/multipagecomment.ogg";
    }
    void everyPageOfRealFilesVerifies() {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        qint64 offset = 0;
        int pages = 0;
        while (offset < file.size()) {
            const std::optional<OggPage> page = OggPage::read(file, offset);
            QVERIFY2(page, qPrintable(QString::number(offset)));
            QVERIFY(page->checksumMatches());
            QCOMPARE(page->render().size(), page->size());
            offset += page->size();
            ++pages;
        }
        QVERIFY(pages > 2);
    }

    void truncatedPageIsRejected() {
        QByteArray bytes = OggPage::paginate({QByteArray(300, 'x')}, 1, 7, 0, 0).front().render();
        QVERIFY(OggPage::parse(bytes));
        bytes.chop(1);
        QVERIFY(!OggPage::parse(bytes));
        QVERIFY(!OggPage::parse(bytes.left(20)));
    }

    void paginate_data() {
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<int>("preferred");
        QTest::addColumn<int>("expectedPages");
        QTest::newRow("two small packets") << QList<int>{100, 50} << 1 << 1;
        QTest::newRow("multiple of 255 needs a 0") << QList<int>{255, 510} << 1 << 1;
        QTest::newRow("one page of 255 full segments") << QList<int>{254 * 255} << 1 << 1;
        QTest::newRow("packet over two pages") << QList<int>{255 * 255} << 1 << 2;
        QTest::newRow("large picture") << QList<int>{200000, 3000} << 1 << 4;
        QTest::newRow("keeps a near page count") << QList<int>{100, 3000} << 3 << 3;
        QTest::newRow("drops a far page count") << QList<int>{100, 3000} << 30 << 1;
        QTest::newRow("never fewer than needed") << QList<int>{200000} << 1 << 4;
    }
    void paginate() {
        QFETCH(QList<int>, sizes);
        QFETCH(int, preferred);
        QFETCH(int, expectedPages);
        QList<QByteArray> packets;
        for (int i = 0; i < sizes.size(); ++i)
            packets.append(QByteArray(sizes[i], char('a' + i)));

        const QList<OggPage> pages = OggPage::paginate(packets, preferred, 99, 5, 0);
        QCOMPARE(pages.size(), expectedPages);

        QList<QByteArray> reassembled;
        QByteArray partial;
        for (qsizetype i = 0; i < pages.size(); ++i) {
            const std::optional<OggPage> page = OggPage::parse(pages[i].render());
            QVERIFY(page && page->checksumMatches());
            QCOMPARE(page->sequence, quint32(5 + i));
            QCOMPARE(page->serial, 99u);
            QVERIFY(page->lacing.size() <= OggPage::kMaxSegments);
            QCOMPARE(page->has(OggPage::Continued), !partial.isEmpty());
            bool packetEnds = false;
            for (const OggPage::Piece& piece : page->pieces()) {
                partial += page->body.mid(piece.offset, piece.size);
                if (piece.complete) {
                    reassembled.append(partial);
                    partial.clear();
                    packetEnds = true;
                }
            }
            QCOMPARE(page->granule, packetEnds ? 0 : OggPage::kNoGranule);
        }
        QVERIFY(partial.isEmpty());
        QCOMPARE(reassembled, packets);
    }

    void findLastSkipsOtherStreamsAndDamage() {
        QByteArray file = OggPage::paginate({"first"}, 1, 1, 0, 0).front().render();
        OggPage last = OggPage::paginate({"mine"}, 1, 1, 1, 4000).front();
        file += last.render();
        QByteArray damaged = OggPage::paginate({"damaged"}, 1, 1, 2, 9000).front().render();
        damaged[damaged.size() - 1] = '!';
        file += damaged;
        file += OggPage::paginate({"other stream"}, 1, 2, 0, 8000).front().render();
        file += "OggS trailing junk";
        QBuffer buffer(&file);
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        const std::optional<OggPage> found = OggPage::findLast(buffer, 1, 0);
        QVERIFY(found);
        QCOMPARE(found->granule, 4000);
        QVERIFY(!OggPage::findLast(buffer, 3, 0));
    }
};

QTEST_GUILESS_MAIN(TestOggPage)
#include "tst_oggpage.moc"

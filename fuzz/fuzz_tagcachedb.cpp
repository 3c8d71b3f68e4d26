// Opens a damaged tag cache: a valid cache file with the input's bytes laid over it at an
// offset the input chooses (random bytes alone would never get past the file header).
#include "library/tagcachedb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>

namespace {

QTemporaryDir* workDir() {
    static QTemporaryDir dir;
    return &dir;
}

/// A small, healthy cache file to damage.
const QByteArray& healthyImage() {
    static const QByteArray image = [] {
        const QString path = workDir()->filePath(QStringLiteral("healthy.db"));
        {
            library::TTagCacheDB db(path);
            QList<library::CacheRecord> records;
            for (int i = 0; i < 40; ++i)
                records << library::CacheRecord{QStringLiteral("/m/d%1/f%2.mp3").arg(i % 4).arg(i),
                                                QString(200, QLatin1Char('x')),
                                                {}};
            db.store(records);
            db.compact();
        }
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    return image;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication application(*argc, *argv);
    healthyImage();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    QByteArray image = healthyImage();
    const qsizetype offset = (qsizetype(data[0]) << 8 | data[1]) % image.size();
    for (size_t i = 2; i < size && offset + qsizetype(i - 2) < image.size(); ++i)
        image[offset + qsizetype(i - 2)] = char(data[i]);

    QDir dir(workDir()->filePath(QStringLiteral("case")));
    dir.removeRecursively();
    dir.mkpath(QStringLiteral("."));
    const QString path = dir.filePath(QStringLiteral("cache.db"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(image);
    file.close();

    library::TTagCacheDB db(path);
    db.listFolder(QStringLiteral("/m"), true, {QStringLiteral("mp3")});
    db.load(QStringLiteral("/m/d1/f1.mp3"));
    db.store({library::CacheRecord{QStringLiteral("/m/new.mp3"), QStringLiteral("text"), {}}});
    db.clean();
    return 0;
}

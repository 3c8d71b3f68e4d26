#include "tagcachedb.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

namespace library {

namespace {

/// Raised whenever the table layout changes; a file of another version is rebuilt.
constexpr int kSchemaVersion = 1;

const char* const kSchema[] = {
    // WITHOUT ROWID keeps each record beside its path key; BINARY collation keeps case.
    "CREATE TABLE files ("
    " path TEXT NOT NULL PRIMARY KEY,"
    " folder TEXT NOT NULL,"
    " extension TEXT NOT NULL,"
    " data TEXT NOT NULL,"
    " size INTEGER NOT NULL,"
    " modified_ns INTEGER NOT NULL,"
    " changed_ns INTEGER NOT NULL,"
    " device INTEGER NOT NULL,"
    " inode INTEGER NOT NULL) WITHOUT ROWID",
    "CREATE INDEX files_by_folder ON files (folder, path)",
};

const char kColumns[] = "path, data, size, modified_ns, changed_ns, device, inode";

QString folderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

QString extensionOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? path.mid(dot + 1).toLower() : QString();
}

QString cleanFolder(const QString& folder) {
    return QDir::cleanPath(QDir(folder).absolutePath());
}

CacheRecord recordFrom(const QSqlQuery& query) {
    CacheRecord record;
    record.path = query.value(0).toString();
    record.text = query.value(1).toString();
    record.stamp.size = query.value(2).toLongLong();
    record.stamp.modifiedNs = query.value(3).toLongLong();
    record.stamp.changedNs = query.value(4).toLongLong();
    record.stamp.device = quint64(query.value(5).toLongLong());
    record.stamp.inode = quint64(query.value(6).toLongLong());
    return record;
}

/// "?, ?, ?" for `count` bound values.
QString placeholders(qsizetype count) {
    QStringList marks(count, QStringLiteral("?"));
    return marks.join(QStringLiteral(", "));
}

} // namespace

bool changedOnDisk(const tags::FileStamp& recorded, const tags::FileStamp& now) {
    return recorded.size != now.size || recorded.modifiedNs != now.modifiedNs ||
           recorded.changedNs != now.changedNs || recorded.inode != now.inode;
}

bool fileIsGone(const QString& filePath) {
    return !QFileInfo::exists(filePath) && QFileInfo(folderOf(filePath)).isDir();
}

TTagCacheDB::TTagCacheDB(const QString& path)
    : m_path(path), m_connectionName(QStringLiteral("varlo-cache-%1").arg(quintptr(this), 0, 16)) {
    if (!openConnection())
        return;
    if (!hasCurrentSchema()) {
        moveAside(QStringLiteral("it is damaged or of another version"));
        if (!openConnection())
            return;
    }
    m_open = createSchema();
}

TTagCacheDB::~TTagCacheDB() {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QString TTagCacheDB::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) +
           QStringLiteral("/cache.db");
}

bool TTagCacheDB::openConnection() {
    if (m_path != QLatin1String(":memory:") && !QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        m_message = QStringLiteral("Cannot create the folder of the tag cache %1").arg(m_path);
        return false;
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    m_db.setDatabaseName(m_path);
    if (!m_db.open()) {
        m_message =
            QStringLiteral("Cannot open the tag cache %1: %2").arg(m_path, m_db.lastError().text());
        return false;
    }
    return true;
}

bool TTagCacheDB::hasCurrentSchema() {
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return false;
    const int version = query.value(0).toInt();
    if (version == kSchemaVersion)
        return true;
    // Version 0 is a new, empty file; anything else with tables in it is not ours.
    return version == 0 && query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) &&
           query.next() && query.value(0).toInt() == 0;
}

bool TTagCacheDB::createSchema() {
    if (!exec(QStringLiteral("PRAGMA journal_mode = WAL")) ||
        !exec(QStringLiteral("PRAGMA synchronous = NORMAL")))
        return false;
    QSqlQuery query(m_db);
    if (query.exec(QStringLiteral("PRAGMA user_version")) && query.next() &&
        query.value(0).toInt() == kSchemaVersion)
        return true;
    if (!m_db.transaction())
        return false;
    for (const char* statement : kSchema)
        if (!exec(QString::fromLatin1(statement))) {
            m_db.rollback();
            return false;
        }
    if (!exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion))) {
        m_db.rollback();
        return false;
    }
    return m_db.commit();
}

void TTagCacheDB::moveAside(const QString& reason) {
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    if (m_path == QLatin1String(":memory:"))
        return;
    const QString stem =
        m_path + QStringLiteral(".old-%1").arg(
                     QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")));
    // Never replace an older copy that was moved aside in the same second.
    QString aside = stem;
    for (int n = 2; QFile::exists(aside); ++n)
        aside = stem + QStringLiteral("-%1").arg(n);
    // The journal files belong to the old file; they must not be applied to the new one.
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        if (QFile::exists(m_path + suffix))
            QFile::rename(m_path + suffix, aside + suffix);
    m_message = QStringLiteral("The tag cache %1 was moved to %2 because %3; a new one was made.")
                    .arg(m_path, aside, reason);
}

bool TTagCacheDB::exec(const QString& sql) {
    QSqlQuery query(m_db);
    if (query.exec(sql))
        return true;
    m_message = query.lastError().text();
    return false;
}

std::optional<CacheRecord> TTagCacheDB::load(const QString& filePath) {
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("SELECT %1 FROM files WHERE path = ?").arg(kColumns));
    query.addBindValue(filePath);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return recordFrom(query);
}

QList<CacheRecord> TTagCacheDB::listFolder(const QString& folder, bool recursive,
                                           const QStringList& extensions) {
    QList<CacheRecord> records;
    visitFolder(folder, recursive, extensions, [&records](CacheRecord&& record) {
        records << std::move(record);
        return true;
    });
    return records;
}

void TTagCacheDB::visitFolder(const QString& folder, bool recursive, const QStringList& extensions,
                              const std::function<bool(CacheRecord&&)>& visit) {
    const QString dir = cleanFolder(folder);
    QString sql = QStringLiteral("SELECT %1 FROM files WHERE ").arg(kColumns);
    QVariantList values;
    if (recursive) {
        // Every path below "dir/" sorts before "dir0", '0' being the character after '/'.
        const QString prefix = dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
        sql += QStringLiteral("path >= ? AND path < ?");
        values << prefix << prefix.chopped(1) + QLatin1Char('0');
    } else {
        sql += QStringLiteral("folder = ?");
        values << dir;
    }
    if (!extensions.isEmpty()) {
        sql += QStringLiteral(" AND extension IN (%1)").arg(placeholders(extensions.size()));
        for (const QString& extension : extensions)
            values << extension.toLower();
    }
    sql += QStringLiteral(" ORDER BY path");
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        return;
    while (query.next())
        if (!visit(recordFrom(query)))
            return;
}

bool TTagCacheDB::store(const QList<CacheRecord>& records) {
    if (!m_db.transaction())
        return false;
    QSqlQuery query(m_db);
    // The WHERE clause of the upsert leaves a record untouched when nothing in it changed,
    // so re-synchronising an unchanged library writes nothing.
    query.prepare(QStringLiteral(
        "INSERT INTO files (path, folder, extension, data, size, modified_ns, changed_ns,"
        " device, inode) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"
        " ON CONFLICT (path) DO UPDATE SET data = excluded.data, size = excluded.size,"
        " modified_ns = excluded.modified_ns, changed_ns = excluded.changed_ns,"
        " device = excluded.device, inode = excluded.inode"
        " WHERE data IS NOT excluded.data OR size IS NOT excluded.size"
        " OR modified_ns IS NOT excluded.modified_ns OR changed_ns IS NOT excluded.changed_ns"
        " OR device IS NOT excluded.device OR inode IS NOT excluded.inode"));
    for (const CacheRecord& record : records) {
        query.addBindValue(record.path);
        query.addBindValue(folderOf(record.path));
        query.addBindValue(extensionOf(record.path));
        query.addBindValue(record.text);
        query.addBindValue(record.stamp.size);
        query.addBindValue(record.stamp.modifiedNs);
        query.addBindValue(record.stamp.changedNs);
        query.addBindValue(qint64(record.stamp.device));
        query.addBindValue(qint64(record.stamp.inode));
        if (!query.exec()) {
            m_message = query.lastError().text();
            m_db.rollback();
            return false;
        }
    }
    return m_db.commit();
}

bool TTagCacheDB::remove(const QStringList& filePaths) {
    if (!m_db.transaction())
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("DELETE FROM files WHERE path = ?"));
    for (const QString& path : filePaths) {
        query.addBindValue(path);
        if (!query.exec()) {
            m_message = query.lastError().text();
            m_db.rollback();
            return false;
        }
    }
    return m_db.commit();
}

int TTagCacheDB::clean() {
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    QStringList gone;
    if (query.exec(QStringLiteral("SELECT path FROM files")))
        while (query.next()) {
            const QString path = query.value(0).toString();
            if (fileIsGone(path))
                gone << path;
        }
    return remove(gone) ? int(gone.size()) : 0;
}

bool TTagCacheDB::compact() {
    return exec(QStringLiteral("VACUUM"));
}

qint64 TTagCacheDB::recordCount() {
    QSqlQuery query(m_db);
    return query.exec(QStringLiteral("SELECT count(*) FROM files")) && query.next()
               ? query.value(0).toLongLong()
               : 0;
}

} // namespace library

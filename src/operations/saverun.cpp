// The save run: tags first, then the move into the wanted folder and name, per changed file.
#include "saverun.h"

#include "leavecheck.h"
#include "playlistwriteback.h"
#include "tags/fileio.h"
#include "tags/filestamp.h"
#include "trash.h"

#include <QDir>
#include <QFileInfo>

namespace operations {

using library::FileHandle;

bool SaveRunHost::progress(int, int, const QString&) {
    return true;
}

DuplicateAnswer SaveRunHost::askDuplicateName(const DuplicateQuestion&) {
    return {};
}

void SaveRunHost::rowMerged(const FileHandle&, const FileHandle&) {}

namespace {

const QString kNoName = QStringLiteral("NoName");
/// Prefix of the name under which a file being replaced waits until the new one is in place.
const QString kSparePrefix = QStringLiteral("~$");

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString dotted(const QString& extension) {
    return extension.isEmpty() ? QString() : QLatin1Char('.') + extension;
}

/// The folder the file should end up in: its wanted folder, taken relative to where the file
/// is when it is not absolute; its present folder when none is set.
QString wantedFolder(tags::TMP3& file) {
    const QString present = folderOf(file.FilePath());
    const QString wanted = file.NewFileDir();
    if (wanted.isEmpty())
        return present;
    return QDir::cleanPath(QDir(present).absoluteFilePath(wanted));
}

/// Where the file goes; NewFileDir holds an absolute folder with its slash by then.
QString targetPath(tags::TMP3& file) {
    return file.NewFileDir() + file.FileName() + dotted(file.Extension());
}

/// True when `target` is a directory entry other than the file at `own`. Paths are compared
/// exactly; only the same file under another letter case (a file system that ignores case)
/// counts as free, so that "a.mp3" never takes the place of another "A.mp3".
bool takenByAnother(const QString& target, const QString& own) {
    if (target == own)
        return false;
    const QFileInfo info(target);
    if (!info.exists() && !info.isSymLink())
        return false;
    const tags::FileStamp there = tags::FileStamp::of(target);
    const tags::FileStamp mine = tags::FileStamp::of(own);
    const bool sameFile =
        there.isValid() && there.device == mine.device && there.inode == mine.inode;
    return !(sameFile && target.compare(own, Qt::CaseInsensitive) == 0);
}

/// `base`, or `base` followed by " (1)", " (2)" ... : the first name that no other file in
/// `folder` has.
QString freeName(const QString& folder, const QString& base, const QString& extension,
                 const QString& own) {
    const auto pathFor = [&](const QString& name) {
        return withSlash(folder) + name + dotted(extension);
    };
    QString name = base;
    for (int n = 1; takenByAnother(pathFor(name), own); ++n)
        name = QStringLiteral("%1 (%2)").arg(base, QString::number(n));
    return name;
}

/// A name for the file being replaced that nothing else uses, so that restoring or discarding
/// it can never touch a file this run did not make.
QString sparePath(const QString& target) {
    const QFileInfo info(target);
    const QString folder = withSlash(info.absolutePath());
    const QString name = kSparePrefix + info.completeBaseName();
    const QString extension = dotted(info.suffix());
    QString spare = folder + name + extension;
    for (int n = 1; QFileInfo(spare).exists() || QFileInfo(spare).isSymLink(); ++n)
        spare = folder + QStringLiteral("%1 (%2)").arg(name, QString::number(n)) + extension;
    return spare;
}

/// The typed name without the file's own extension, which the user may have typed along.
QString typedBase(const QString& typed, const QString& extension) {
    const QString suffix = dotted(extension);
    if (!suffix.isEmpty() && typed.endsWith(suffix, Qt::CaseInsensitive))
        return typed.chopped(suffix.size());
    return typed;
}

DuplicateAnswer chosen(DuplicateAnswer::Choice choice) {
    DuplicateAnswer answer;
    answer.choice = choice;
    return answer;
}

QString joined(const QString& first, const QString& second) {
    if (first.isEmpty() || second.isEmpty())
        return first + second;
    return first + QStringLiteral("; ") + second;
}

} // namespace

TSaveRun::TSaveRun(QList<FileHandle>& files, const SaveOptions& options, SaveRunHost& host)
    : m_files(files), m_options(options), m_host(host) {}

SaveReport TSaveRun::run() {
    m_report = {};
    m_answerForAll.reset();
    m_replaced.clear();
    const QList<FileHandle> toSave = filesToSave();
    int done = 0;
    for (const FileHandle& handle : toSave) {
        if (m_replaced.contains(handle.get()))
            continue; // its file was replaced by another one earlier in this run
        if (!m_host.progress(done, int(toSave.size()), handle->FilePath())) {
            m_report.stopped = true;
            break;
        }
        saveFile(handle);
        ++done;
    }
    if (!m_options.playlistPath.isEmpty())
        writePlaylist();
    // Only while nothing of the list waits for a save may "Save" go grey.
    if (!hasUnsavedChanges(m_files))
        tags::clearPendingChanges();
    return m_report;
}

QList<FileHandle> TSaveRun::filesToSave() const {
    QList<FileHandle> result;
    for (const FileHandle& handle : m_files)
        if (handle && (m_options.alwaysSave || handle->Changed()))
            result << handle;
    return result;
}

void TSaveRun::saveFile(const FileHandle& handle) {
    tags::TMP3& file = *handle;
    // An object built from a cache record holds only part of the tag; writing it unread
    // would lose pictures, lyrics and every frame the cache does not store.
    file.ensureSynchronised();
    const QString oldPath = file.FilePath();
    const QString wantedName = file.FileName();
    const QString wantedDir = file.NewFileDir();
    if (wantedName.isEmpty())
        file.setFileName(kNoName);
    file.setNewFileDir(withSlash(wantedFolder(file)));

    SetAside aside;
    QString reason;
    if (!settleConflict(handle, aside, reason)) {
        file.setFileName(wantedName);
        file.setNewFileDir(wantedDir);
        m_report.failed << SaveFailure{oldPath, reason};
        return;
    }
    if (m_options.alwaysSave && file.MP3())
        file.ID3v2().modified = true;
    const tags::Status tagged = file.SaveTags();
    const tags::Status moved = file.MoveToNewFileDir();
    if (!tagged)
        reason = tagged.message();
    if (!moved) {
        reason = joined(reason, moved.message());
        putBack(aside, reason);
    }
    if (file.FilePath() != oldPath) {
        m_report.renamed << RenamedFile{oldPath, file.FilePath()};
        m_report.foldersChanged |= folderOf(oldPath) != folderOf(file.FilePath());
        moveCompanions(oldPath, file.FilePath());
    }
    if (moved && !aside.spare.isEmpty())
        finishReplace(aside, handle);
    if (tagged && moved) {
        file.setChanged(false);
        ++m_report.saved;
        return;
    }
    // Not saved: the file keeps its mark and, when it stayed in place, the name and folder
    // the user wanted, so that a later save tries again once the cause is gone.
    if (!moved) {
        file.setFileName(wantedName);
        file.setNewFileDir(wantedDir);
    }
    m_report.failed << SaveFailure{file.FilePath(), reason};
}

bool TSaveRun::settleConflict(const FileHandle& handle, SetAside& aside, QString& reason) {
    tags::TMP3& file = *handle;
    const QString target = targetPath(file);
    if (!takenByAnother(target, file.FilePath()))
        return true;
    const DuplicateAnswer answer = answerFor(target, file.FilePath());
    switch (answer.choice) {
    case DuplicateAnswer::Skip:
        reason = QStringLiteral("skipped: \"%1\" already exists").arg(target);
        return false;
    case DuplicateAnswer::Rename: {
        const QString base = answer.newName.trimmed().isEmpty()
                                 ? file.FileName()
                                 : typedBase(answer.newName.trimmed(), file.Extension());
        file.setFileName(freeName(folderOf(target), base, file.Extension(), file.FilePath()));
        return true;
    }
    case DuplicateAnswer::Replace:
        return setAside(target, handle, aside, reason);
    }
    return false;
}

DuplicateAnswer TSaveRun::answerFor(const QString& target, const QString& filePath) {
    switch (m_options.duplicates) {
    case DuplicatePolicy::Skip:
        return chosen(DuplicateAnswer::Skip);
    case DuplicatePolicy::Rename:
        return chosen(DuplicateAnswer::Rename);
    case DuplicatePolicy::Replace:
        return chosen(DuplicateAnswer::Replace);
    case DuplicatePolicy::Ask:
        break;
    }
    if (m_answerForAll)
        return chosen(*m_answerForAll);
    const DuplicateAnswer answer = m_host.askDuplicateName({target, filePath});
    if (answer.applyToAll)
        m_answerForAll = answer.choice;
    return answer;
}

bool TSaveRun::setAside(const QString& target, const FileHandle& handle, SetAside& aside,
                        QString& reason) {
    if (QFileInfo(target).isDir()) {
        reason = QStringLiteral("\"%1\" is a folder and is never replaced").arg(target);
        return false;
    }
    const QString spare = sparePath(target);
    if (const tags::Status moved = tags::moveFileNoReplace(target, spare); !moved) {
        reason = QStringLiteral("\"%1\" cannot be replaced: %2").arg(target, moved.message());
        return false;
    }
    aside.target = target;
    aside.spare = spare;
    for (const FileHandle& other : std::as_const(m_files))
        if (other && other != handle && other->FilePath() == target)
            aside.shownBy = other;
    return true;
}

void TSaveRun::putBack(const SetAside& aside, QString& reason) {
    if (aside.spare.isEmpty())
        return;
    if (const tags::Status restored = tags::moveFileNoReplace(aside.spare, aside.target);
        !restored) {
        m_report.setAside << aside.spare;
        reason = joined(
            reason,
            QStringLiteral("the file that was to be replaced is kept as \"%1\"").arg(aside.spare));
    }
}

void TSaveRun::finishReplace(const SetAside& aside, const FileHandle& survivor) {
    if (!moveToTrash({aside.spare}).isEmpty())
        m_report.setAside << aside.spare;
    if (!aside.shownBy)
        return;
    // The saved file takes the row of the file it replaced.
    m_files.removeOne(survivor);
    const qsizetype row = m_files.indexOf(aside.shownBy);
    if (row >= 0)
        m_files[row] = survivor;
    m_replaced.insert(aside.shownBy.get());
    m_host.rowMerged(aside.shownBy, survivor);
}

void TSaveRun::moveCompanions(const QString& oldPath, const QString& newPath) {
    // A CD+G karaoke track is an MP3 with a ".cdg" file of the same name beside it.
    const QFileInfo oldInfo(oldPath);
    if (oldInfo.suffix().compare(QLatin1String("mp3"), Qt::CaseInsensitive) != 0)
        return;
    const QFileInfo newInfo(newPath);
    for (const char* extension : {"cdg", "CDG"}) {
        const QString companion = withSlash(oldInfo.absolutePath()) + oldInfo.completeBaseName() +
                                  dotted(QLatin1String(extension));
        if (!QFileInfo::exists(companion))
            continue;
        const QString target =
            withSlash(newInfo.absolutePath()) + newInfo.completeBaseName() + dotted(extension);
        if (const tags::Status moved = tags::moveFileNoReplace(companion, target); !moved)
            m_report.failed << SaveFailure{companion, moved.message()};
    }
}

void TSaveRun::writePlaylist() {
    const tags::Status written =
        writePlaylistBack(m_options.playlistPath, m_files, m_options.versionValues);
    if (!written)
        m_report.failed << SaveFailure{m_options.playlistPath, written.message()};
}

} // namespace operations

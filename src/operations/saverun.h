#pragma once

#include "library/cachesync.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

namespace operations {

/// What a save does when the wanted name of a file is taken by another file; the order is
/// that of the "DupFilesComboBox" choices.
enum class DuplicatePolicy { Skip, Rename, Replace, Ask };

/// One name conflict, put to the user under the Ask policy.
struct DuplicateQuestion {
    QString existingPath; ///< the file that already holds the wanted name
    QString filePath;     ///< the file being saved, at its present place
};

/// The user's answer to one name conflict.
struct DuplicateAnswer {
    enum Choice { Skip, Rename, Replace };
    Choice choice = Skip;
    /// For Rename: the name the user typed (without folder); empty gives the numbered name
    /// " (1)", " (2)" ... A typed name that is taken as well is numbered too.
    QString newName;
    /// Take this choice for every later conflict of the run without asking ("Skip All").
    bool applyToAll = false;
};

/// What a save run asks of its caller: the desktop's progress window and duplicate-name
/// dialog, or nothing at all on the command line. The defaults never stop and skip every
/// conflict.
class SaveRunHost {
public:
    virtual ~SaveRunHost() = default;
    /// Called before each file: `done` of `total` files are through; false stops the run
    /// before `path` is touched.
    virtual bool progress(int done, int total, const QString& path);
    /// Called for each conflict under the Ask policy.
    virtual DuplicateAnswer askDuplicateName(const DuplicateQuestion& question);
    /// `survivor` replaced the file of `removed`: `removed` has left the list and
    /// `survivor` now stands where it stood. The row of `removed` should go.
    virtual void rowMerged(const library::FileHandle& removed, const library::FileHandle& survivor);
};

/// How one save run works. The per-file options (clear read-only, retain the file date, ID3v2
/// padding) travel in each object's TagOptions.
struct SaveOptions {
    /// "AlwaysSave": write every file of the list, changed or not, ID3v2 tag included.
    bool alwaysSave = false;
    DuplicatePolicy duplicates = DuplicatePolicy::Skip;
    /// The playlist file the list shows; written back from the list after the run. Empty
    /// when the list is a folder or a search.
    QString playlistPath;
    /// Titles in the playlist read with the fallback to the other ID3 version (common mode).
    bool versionValues = false;
};

/// A file (or playlist) that could not be saved, with the reason.
struct SaveFailure {
    QString path;
    QString message;
};

/// A file that now lives under another path; favourites and the player follow it.
struct RenamedFile {
    QString oldPath;
    QString newPath;
};

/// What a save run did.
struct SaveReport {
    int saved = 0;
    /// For "FilesNotSaved": each of these files keeps its mark and its wanted name.
    QList<SaveFailure> failed;
    /// In the order the files moved, companion files not included.
    QList<RenamedFile> renamed;
    /// Stop was pressed: the files after the last one saved were not touched.
    bool stopped = false;
    /// A file moved into another folder: the folder tree may have new folders.
    bool foldersChanged = false;
    /// Replaced files that could not be moved to the trash; each kept its "~$" name.
    QStringList setAside;
};

/// Writes the changed files of the current list to disk: per file the tags first, then the
/// move to its wanted folder and name, which never replaces a file unless the policy says
/// so; then the playlist the list shows. One file's failure is reported and the run goes on.
///
/// Runs on the thread that owns the list's objects (the GUI thread in the desktop program).
class TSaveRun {
public:
    /// `files` is the list in row order; a Replace merges two of its entries.
    TSaveRun(QList<library::FileHandle>& files, const SaveOptions& options, SaveRunHost& host);

    SaveReport run();

private:
    /// A taken target moved aside for Replace, and the list entry that showed it.
    struct SetAside {
        QString target;
        QString spare;
        library::FileHandle shownBy;
    };

    QList<library::FileHandle> filesToSave() const;
    void saveFile(const library::FileHandle& handle);
    bool settleConflict(const library::FileHandle& handle, SetAside& aside, QString& reason);
    DuplicateAnswer answerFor(const QString& target, const QString& filePath);
    bool setAside(const QString& target, const library::FileHandle& handle, SetAside& aside,
                  QString& reason);
    void putBack(const SetAside& aside, QString& reason);
    void finishReplace(const SetAside& aside, const library::FileHandle& survivor);
    void moveCompanions(const QString& oldPath, const QString& newPath);
    void writePlaylist();

    QList<library::FileHandle>& m_files;
    SaveOptions m_options;
    SaveRunHost& m_host;
    SaveReport m_report;
    /// The Ask answer given with "apply to all", for the rest of the run.
    std::optional<DuplicateAnswer::Choice> m_answerForAll;
    /// Objects whose files were replaced in this run; they are no longer saved.
    QSet<const tags::TMP3*> m_replaced;
};

} // namespace operations

#pragma once

#include "library/cachesync.h"
#include "tags/audiofile.h"

#include <QString>
#include <memory>
#include <vector>

namespace operations {

/// One file's state before a command changed it. The file is held weakly: the row that owns
/// it may go away (a folder change, "Clear selection"), and its entries are then skipped.
struct TUndoItem {
    std::weak_ptr<tags::TMP3> file;
    /// A copy of the file; its frames share their bytes with the file until either changes.
    std::unique_ptr<tags::TMP3> snapshot;
    bool changed = false; ///< the file's Changed flag when the snapshot was taken
    /// A save run ended after the snapshot: the file on disk no longer matches it.
    bool savedSince = false;
    qint64 bytes = 0; ///< the memory this entry is counted with
};

/// The entries of one command, restored together.
struct TUndoGroup {
    QString name;
    std::vector<TUndoItem> items;
};

/// The program's one undo stack: a group per command, an entry per file the command
/// changed. Undo works on the files in memory, never on disk. Lives on the GUI thread with
/// the rows whose files it holds.
class TUndoList {
public:
    /// Opens a group for the next entries; an empty group at the top is reused (renamed),
    /// so selecting a file twice leaves no second empty "Rename" group.
    void beginGroup(const QString& name);
    /// Closes the current group: it is dropped when it holds no entry.
    void endGroup();

    /// Adds an entry with a snapshot of `file` to the open group (opening an unnamed one
    /// when none is open, so a stray entry never joins an earlier command) and returns the
    /// snapshot.
    tags::TMP3& push(const library::FileHandle& file);
    /// As push, unless the open group already holds an entry for `file` (a rename typed
    /// twice: undo goes back to the name before the first). True when an entry was added.
    bool pushIfNew(const library::FileHandle& file);
    /// Removes the newest entry without restoring it.
    void dropLast();

    /// True when some group holds an entry whose file still exists.
    bool canUndo() const;
    /// Restores every entry of the last group that has a file left, newest first, redraws
    /// their rows and removes the group (and the groups above it whose files are all gone).
    /// Returns the number of files restored.
    int UndoLast();

    int groupCount() const { return int(m_groups.size()); }
    int entryCount() const;
    /// The name of the open group; empty when none is open.
    QString openGroupName() const;
    /// An estimate of the memory held: a fixed size per entry and the tag bytes of its
    /// snapshot, counted in full even while they are still shared with the file.
    qint64 memoryUsed() const { return m_memory; }
    /// The status bar text: "Undo: <entries>, <memory>".
    QString statusText() const;
    /// A byte count as the status bar shows it: up to three divisions by 1024 while it
    /// exceeds 1024, with "K", "M" or "G" for the divisions made.
    static QString sizeText(qint64 bytes);

    void clear();
    /// After a successful save run. With `undoAfterSave` ("Undo beyond Save") the groups stay,
    /// except "APERemove" groups (a removed APE tag cannot be brought back), and their files
    /// are marked changed when restored; without it the list is cleared.
    void clearAfterSave(bool undoAfterSave);

private:
    TUndoGroup& openGroup();
    void popGroup();
    void forget(const TUndoItem& item) { m_memory -= item.bytes; }

    std::vector<TUndoGroup> m_groups;
    bool m_open = false; ///< the last group still takes entries
    qint64 m_memory = 0;
};

/// Opens an undo group for its lifetime.
class TUndoGroupGuard {
public:
    TUndoGroupGuard(TUndoList& list, const QString& name) : m_list(list) {
        m_list.beginGroup(name);
    }
    ~TUndoGroupGuard() { m_list.endGroup(); }
    TUndoGroupGuard(const TUndoGroupGuard&) = delete;
    TUndoGroupGuard& operator=(const TUndoGroupGuard&) = delete;

private:
    TUndoList& m_list;
};

} // namespace operations

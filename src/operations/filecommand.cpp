#include "filecommand.h"

#include "tags/audiofilecompare.h"
#include "undolist.h"

namespace operations {

namespace {

void redraw(tags::TMP3& file) {
    if (file.doUpdateListItem)
        file.doUpdateListItem(file);
}

/// Runs the step on one file, its snapshot being the newest undo entry, and counts what
/// came of it.
void runOnFile(TUndoList& undo, const library::FileHandle& file, const FileStep& step,
               CommandReport& report) {
    tags::TMP3& snapshot = undo.push(file);
    const tags::Status status = step(*file);
    if (!status) {
        // A half-done step must not leave a change nobody asked for.
        file->Assign(snapshot);
        undo.dropLast();
        report.errors.append({file->FilePath(), status.message()});
        redraw(*file);
        return;
    }
    if (tags::sameContent(*file, snapshot)) {
        undo.dropLast();
        ++report.unchanged;
        return;
    }
    file->setChanged(true);
    ++report.changed;
    redraw(*file);
}

} // namespace

CommandReport runPerFile(TUndoList& undo, const QString& groupName,
                         const QList<library::FileHandle>& files, const FileStep& step,
                         const CommandProgress& progress) {
    CommandReport report;
    const TUndoGroupGuard group(undo, groupName);
    const int total = int(files.size());
    for (int done = 0; done < total;) {
        if (const library::FileHandle& file = files[done])
            runOnFile(undo, file, step, report);
        ++done;
        if (progress && !progress(done, total) && done < total) {
            report.stopped = true;
            break;
        }
    }
    return report;
}

} // namespace operations

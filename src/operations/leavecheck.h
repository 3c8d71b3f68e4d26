#pragma once

#include "library/cachesync.h"

#include <QList>
#include <QString>

namespace operations {

struct SaveReport;

/// The user's answer to the unsaved-changes question.
enum class Answer { Yes, No, Cancel };

/// What the caller does before it leaves the list (another folder, exit, a new list).
enum class LeaveDecision {
    Leave,      ///< nothing to save: go on without asking
    SaveFirst,  ///< run the save; go on only when mayLeaveAfterSave() says so
    DiscardAll, ///< drop the changes and go on
    Stay,       ///< keep the list as it is
};

/// True when a file of the list waits for a save.
bool hasUnsavedChanges(const QList<library::FileHandle>& files);

/// The step that follows the question; `answer` is ignored when there is nothing to save
/// (the question is then not asked).
LeaveDecision decideLeave(bool hasChanges, Answer answer);

/// After SaveFirst: the list may be left only when the run ran to its end and saved every
/// file; otherwise clearing the list would drop the changes that did not reach the disk.
bool mayLeaveAfterSave(const SaveReport& report);

/// The question's text: a line break, then "ExitQuestion" with the folder for the folder
/// list, or "ExitQuestion1" for other lists (an empty folder).
QString leaveQuestion(const QString& folder);

} // namespace operations

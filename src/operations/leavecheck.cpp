// Guards unsaved changes when the list is about to be left.
#include "leavecheck.h"

#include "saverun.h"
#include "settings/multilanguage.h"

#include <algorithm>

namespace operations {

bool hasUnsavedChanges(const QList<library::FileHandle>& files) {
    return std::any_of(files.cbegin(), files.cend(),
                       [](const library::FileHandle& file) { return file && file->Changed(); });
}

LeaveDecision decideLeave(bool hasChanges, Answer answer) {
    if (!hasChanges)
        return LeaveDecision::Leave;
    switch (answer) {
    case Answer::Yes:
        return LeaveDecision::SaveFirst;
    case Answer::No:
        return LeaveDecision::DiscardAll;
    case Answer::Cancel:
        break;
    }
    return LeaveDecision::Stay;
}

bool mayLeaveAfterSave(const SaveReport& report) {
    return !report.stopped && report.failed.isEmpty();
}

QString leaveQuestion(const QString& folder) {
    if (folder.isEmpty())
        return QLatin1Char('\n') + settings::lookupText(QStringLiteral("ExitQuestion1"));
    QString text = settings::lookupText(QStringLiteral("ExitQuestion"));
    text = text.contains(QLatin1String("%1")) ? text.arg(folder) : text + QLatin1Char(' ') + folder;
    return QLatin1Char('\n') + text;
}

} // namespace operations

#pragma once

#include "capitalize.h"
#include "filecommand.h"
#include "filenameparser.h"
#include "namebuilder.h"

#include <QStringList>
#include <optional>

namespace settings {
class Settings;
}

namespace operations {

/// Everything the file-name and capitalisation commands read, with the delivered defaults.
struct FileNameCommandOptions {
    CapitalizeOptions capitalize;
    /// "Capitalize tag": the automatic tag generation capitalises the tag afterwards.
    bool capitalizeTag = true;
    /// Separators and troubleshooting switches; its filenameSeparator is also the text
    /// that add and remove numbers put after and take off the number.
    ParseOptions parse;
    int digitsCount = 4;  ///< "DigitsCount": the numbers of add-numbers are padded to it
    int numbersStart = 0; ///< "NumbersStart": the number of the first selected file
    /// Rename options of quick rename and of the automatic command's rename; its
    /// versionValues is the main window's common mode, which the settings do not hold.
    NameOptions names;
    /// The six-slot scheme of quick rename; empty gives the default "artist - title".
    QString quickRenameScheme;
    /// The rename template checked in the rename menu, applied by "Automatic" after it has
    /// filled the tag; empty applies none.
    QString renameTemplate;

    /// The options as set in the options dialog. The common mode, the quick-rename scheme
    /// and the rename template belong to the main window, which fills them in itself.
    static FileNameCommandOptions fromSettings(const settings::Settings& settings);
};

/// The object names of the commands fileNameCommandStep() knows, in menu order.
QStringList fileNameCommandNames();

/// The per-file step of the file-name or capitalisation command `command` for the file at
/// `position` in the selection (0 for the first); nullopt for a name it does not know.
/// Steps only change the object, the save run renames on disk; a step whose new name
/// would be empty, "." or ".." keeps the old name.
std::optional<FileStep> fileNameCommandStep(const QString& command,
                                            const FileNameCommandOptions& options, int position);

/// One step for a whole run over a selection: the n-th file it is called on (0 for the
/// first) gets the step `stepAt` makes for position n. Suits runPerFile(), which calls
/// its step once per file in selection order.
FileStep stepsInSelectionOrder(std::function<FileStep(int position)> stepAt);

/// Reads the list of "Import Filenames" (UTF-8): one name per line, Windows or Unix line
/// ends, trimmed and cleaned of characters a file name may not hold. An error when the list
/// cannot be read.
tags::Status readFileNameList(const QString& listPath, QStringList& names);
/// The step that gives the file at `position` the name on that line of `names`, without a
/// trailing ".mp3" or the file's own extension. A file past the last line, or whose line
/// gives no usable name, keeps its name.
FileStep importFileNameStep(const QStringList& names, int position);
/// What the user is told when the list and the selection differ in length; empty when
/// every selected file got exactly one line.
QString fileNameListNote(qsizetype lines, qsizetype files);

} // namespace operations

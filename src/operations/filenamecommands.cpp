#include "filenamecommands.h"

#include "settings/settings.h"
#include "tags/audiofile.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <memory>

namespace operations {

namespace {

using Options = FileNameCommandOptions;

/// Stores `name` as the file's name unless it would not name a file; blanks around it go.
void setNameIfUsable(tags::TMP3& file, const QString& name) {
    const QString clean = sanitizeFileName(name).trimmed();
    if (isUsableFileName(clean))
        file.setFileName(clean);
}

void capitalizeIfWanted(tags::TMP3& file, const Options& options) {
    if (options.capitalizeTag)
        CapitalizeTag(file, options.capitalize);
}

void capitalizeTag(tags::TMP3& file, const Options& options, int) {
    CapitalizeTag(file, options.capitalize);
}

void capitalizeName(tags::TMP3& file, const Options& options, int) {
    setNameIfUsable(file, CapitalizeText(file.FileName(), options.capitalize));
}

void underscoreToSpace(tags::TMP3& file, const Options&, int) {
    QString name = file.FileName();
    name.replace(QLatin1Char('_'), QLatin1Char(' '))
        .replace(QLatin1String("%20"), QLatin1String(" "));
    setNameIfUsable(file, name);
}

void correctSeparator(tags::TMP3& file, const Options&, int) {
    setNameIfUsable(file, CorrectSeparator(file.FileName()));
}

void prepareName(tags::TMP3& file, const Options& options, int) {
    setNameIfUsable(file, PrepareName(file.FileName(), true, options.parse));
}

void addNumber(tags::TMP3& file, const Options& options, int position) {
    const QString number =
        QStringLiteral("%1").arg(qint64(options.numbersStart) + position,
                                 qBound(1, options.digitsCount, 6), 10, QLatin1Char('0'));
    setNameIfUsable(file, number + options.parse.filenameSeparator + file.FileName());
}

void removeNumber(tags::TMP3& file, const Options& options, int) {
    QString name = file.FileName();
    while (name.size() >= 2 && name[0].isDigit())
        name.remove(0, 1);
    const QString& separator = options.parse.filenameSeparator;
    if (!separator.isEmpty() && name.startsWith(separator))
        name.remove(0, separator.size());
    setNameIfUsable(file, name);
}

/// The generate menu's "Automatic": the prepared name is only read, the name stays.
void autogenerateTag(tags::TMP3& file, const Options& options, int) {
    const QString name = file.FileName();
    file.setFileName(PrepareName(name, true, options.parse));
    AutoGenerate(file, options.parse);
    file.setFileName(name);
    capitalizeIfWanted(file, options);
}

/// The command "Automatic": keeps the prepared name, fills the tag from it and renames by
/// the checked rename template.
void automatic(tags::TMP3& file, const Options& options, int position) {
    prepareName(file, options, position);
    AutoGenerate(file, options.parse);
    capitalizeIfWanted(file, options);
    if (!options.renameTemplate.isEmpty())
        RenameByTemplate(file, options.renameTemplate, options.names);
}

void quickRename(tags::TMP3& file, const Options& options, int) {
    QuickRename(file, options.quickRenameScheme, options.names);
}

struct FileNameCommand {
    const char* name;
    void (*run)(tags::TMP3& file, const Options& options, int position);
};

const FileNameCommand kCommands[] = {
    {"CapitalizeFnFirst", capitalizeTag},     {"CapitalizeFnEvery", capitalizeName},
    {"UnderscoreToSpace", underscoreToSpace}, {"CorrectMinusDelimiter", correctSeparator},
    {"ActPrepareFilename", prepareName},      {"ActAddNumbers", addNumber},
    {"ActDelNumbers", removeNumber},          {"ActAutomatic", automatic},
    {"ActAutogenerateTag", autogenerateTag},  {"QuickRename", quickRename},
};

QStringList words(const QString& list) {
    return list.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

/// `line` without a trailing ".mp3" or `extension` (any case) when something is left
/// before it: lists are often made from file listings and carry the extensions.
QString withoutExtension(const QString& line, const QString& extension) {
    for (const QString& ending : {QStringLiteral(".mp3"), QLatin1Char('.') + extension})
        if (ending.size() > 1 && line.size() > ending.size() &&
            line.endsWith(ending, Qt::CaseInsensitive))
            return line.chopped(ending.size());
    return line;
}

} // namespace

FileNameCommandOptions FileNameCommandOptions::fromSettings(const settings::Settings& settings) {
    using S = settings::Settings;
    FileNameCommandOptions options;
    options.capitalize.lowerWords = words(settings.lowercaseWords());
    options.capitalize.upperWords = words(settings.uppercaseWords());
    options.capitalize.firstOnly = settings.uppercaseFirstOnly();
    options.capitalize.noForceUpper = settings.troubleshooting(S::NoForceUppercase);
    options.capitalizeTag = settings.capitalizeTag();
    options.parse.separators = settings.separators();
    options.parse.filenameSeparator = settings.filenameSeparator();
    options.parse.disableUnderscoreConversion = settings.troubleshooting(S::NoUnderscoreConversion);
    options.parse.disableCommentExtraction = settings.troubleshooting(S::NoCommentExtraction);
    options.parse.disableBangSRemoval = settings.troubleshooting(S::NoExclamationRemoval);
    options.parse.keepDoubleSpaces = settings.troubleshooting(S::KeepDoubleSpaces);
    options.digitsCount = settings.digitsCount();
    options.numbersStart = settings.numbersStart();
    options.names.unknownIfEmpty = settings.unknownIfEmpty();
    options.names.spaceToUnderscore = settings.spaceToUnderscore();
    options.names.encodePercent = settings.encodePercent();
    options.names.lowercase = settings.filenameLowercase();
    options.names.separator = settings.filenameSeparator();
    return options;
}

QStringList fileNameCommandNames() {
    QStringList names;
    for (const FileNameCommand& command : kCommands)
        names << QLatin1String(command.name);
    return names;
}

std::optional<FileStep> fileNameCommandStep(const QString& command,
                                            const FileNameCommandOptions& options, int position) {
    for (const FileNameCommand& entry : kCommands) {
        if (command != QLatin1String(entry.name))
            continue;
        return FileStep([run = entry.run, options, position](tags::TMP3& file) {
            run(file, options, position);
            return tags::Status::success();
        });
    }
    return std::nullopt;
}

FileStep stepsInSelectionOrder(std::function<FileStep(int position)> stepAt) {
    // Shared, so that copies of the step which runPerFile may make count together.
    auto next = std::make_shared<int>(0);
    return [stepAt = std::move(stepAt), next](tags::TMP3& file) { return stepAt((*next)++)(file); };
}

tags::Status readFileNameList(const QString& listPath, QStringList& names) {
    QFile list(listPath);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return tags::Status::error(
            QFileInfo::exists(listPath) ? tags::ErrorCode::OpenFailed : tags::ErrorCode::NotFound,
            QStringLiteral("Cannot read the name list %1: %2").arg(listPath, list.errorString()));
    names.clear();
    QTextStream stream(&list);
    QString line;
    while (stream.readLineInto(&line))
        names << sanitizeFileName(line).trimmed();
    if (stream.status() != QTextStream::Ok)
        return tags::Status::error(tags::ErrorCode::ReadFailed,
                                   QStringLiteral("Cannot read the name list %1").arg(listPath));
    return tags::Status::success();
}

FileStep importFileNameStep(const QStringList& names, int position) {
    const QString line = names.value(position);
    return [line](tags::TMP3& file) {
        setNameIfUsable(file, withoutExtension(line, QFileInfo(file.FilePath()).suffix()));
        return tags::Status::success();
    };
}

QString fileNameListNote(qsizetype lines, qsizetype files) {
    if (lines > files)
        return QStringLiteral("The list has %1 names for %2 files; the last %3 names were "
                              "not used.")
            .arg(lines)
            .arg(files)
            .arg(lines - files);
    if (lines < files)
        return QStringLiteral("The list has %1 names for %2 files; the last %3 files keep "
                              "their names.")
            .arg(lines)
            .arg(files)
            .arg(files - lines);
    return {};
}

} // namespace operations

#include "restructure.h"

#include "namebuilder.h"
#include "templatevars.h"

#include "tags/audiofile.h"

#include <QStorageInfo>

namespace operations {

namespace {

/// The only variables a folder path may use, in the order they are offered.
constexpr TVN kFolderVariables[] = {TVN::vArt, TVN::vAlb, TVN::vGen, TVN::vYea,
                                    TVN::vMoo, TVN::vBan, TVN::vCon, TVN::vSit,
                                    TVN::vTem, TVN::vLan, TVN::vBps, TVN::vExt};

bool isFolderVariable(TVN variable) {
    return std::find(std::begin(kFolderVariables), std::end(kFolderVariables), variable) !=
           std::end(kFolderVariables);
}

bool startsWithDrive(const QString& text) {
    return text.size() >= 2 && text[1] == QLatin1Char(':') && text[0].isLetter();
}

QString withSlash(QString path) {
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

/// Splits the template into a real base folder and the "\"-separated rest.
struct Anchor {
    QString base;
    QString rest;
    bool keepFolder = false; ///< nothing to do: the file stays where it is
};

tags::Status anchorOf(tags::TMP3& file, const QString& text, const RestructureOptions& options,
                      Anchor& anchor) {
    if (options.forImport) {
        anchor.rest = text;
        if (text.startsWith(QLatin1Char('.')))
            anchor.rest = text.mid(1);
        else if (startsWithDrive(text))
            anchor.rest = text.mid(2);
        return tags::Status::success();
    }
    if (text.startsWith(QLatin1String("\\\\")) || startsWithDrive(text))
        return tags::Status::error(
            tags::ErrorCode::Unsupported,
            QStringLiteral("The folder template \"%1\" starts with a Windows drive or network "
                           "path; write an absolute folder as /folder/ instead")
                .arg(text));
    if (text.isEmpty() || text == QLatin1String(".")) {
        anchor.keepFolder = true;
    } else if (text.startsWith(QLatin1String(".\\"))) {
        anchor.keepFolder = options.rootFolder.isEmpty();
        anchor.base = withSlash(options.rootFolder);
        anchor.rest = text.mid(2);
    } else if (text.startsWith(QLatin1Char('\\'))) {
        anchor.base = withSlash(QStorageInfo(file.FilePath()).rootPath());
        anchor.rest = text.mid(1);
    } else if (text.startsWith(QLatin1Char('/'))) {
        const qsizetype lastSlash = text.lastIndexOf(QLatin1Char('/'));
        anchor.base = text.left(lastSlash + 1);
        anchor.rest = text.mid(lastSlash + 1);
    } else {
        anchor.base = withSlash(file.NewFileDir());
        anchor.rest = text;
    }
    return tags::Status::success();
}

QString folderValue(TVN variable, tags::TMP3& file, const TVarScript& script) {
    QString value = script.GetValue(variable, file);
    if (variable == TVN::vExt && value.startsWith(QLatin1Char('.')))
        value.remove(0, 1);
    return sanitizeFileName(value);
}

/// Replaces the folder variables in one pass; false when a value is empty and
/// `stopOnEmpty` asks to give up.
bool substituteFolderVariables(QString& text, tags::TMP3& file, const RestructureOptions& options) {
    TVarScript script(options.versionValues);
    QString result;
    for (qsizetype i = 0; i < text.size();) {
        const std::optional<TVN> variable = findVariable(QStringView(text).mid(i));
        if (!variable || !isFolderVariable(*variable)) {
            result += text[i++];
            continue;
        }
        QString value = folderValue(*variable, file, script);
        if (value.trimmed().isEmpty()) {
            if (options.stopOnEmpty)
                return false;
            value = options.unknownText.arg(variableCaption(*variable));
        }
        result += value;
        i += kCodeLength;
    }
    text = result;
    return true;
}

/// A folder name without blanks and without the punctuation up to "." at either end,
/// which also rules out "." and "..".
QString cleanFolderName(const QString& name) {
    const QString clean = sanitizeFileName(name);
    qsizetype from = 0;
    qsizetype to = clean.size();
    while (from < to && clean[from].unicode() <= '.')
        ++from;
    while (to > from && clean[to - 1].unicode() <= '.')
        --to;
    return clean.mid(from, to - from);
}

QString joinFolders(const QString& rest) {
    QString joined;
    for (const QString& name : rest.split(QLatin1Char('\\'))) {
        const QString clean = cleanFolderName(name);
        if (!clean.isEmpty())
            joined += clean + QLatin1Char('/');
    }
    return joined;
}

} // namespace

tags::Status BuildRestructurePath(tags::TMP3& file, const QString& templateText,
                                  const RestructureOptions& options, QString& folder) {
    Anchor anchor;
    if (tags::Status status = anchorOf(file, templateText, options, anchor); !status)
        return status;
    if (anchor.keepFolder) {
        folder = withSlash(file.NewFileDir());
        return tags::Status::success();
    }
    QString rest = anchor.rest;
    if (!substituteFolderVariables(rest, file, options)) {
        folder = anchor.base;
        return tags::Status::success();
    }
    folder = anchor.base + joinFolders(rest);
    return tags::Status::success();
}

} // namespace operations

// The shared loop of rename, restructure, generate and extract.
#include "templaterun.h"

#include "clisave.h"
#include "tags/audiofile.h"

#include <QFileInfo>

namespace cli {

namespace {

bool parseTemplateArgs(const QStringList& args, const QString& command, TemplateArgs& parsed,
                       QTextStream& err) {
    bool haveTemplate = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if ((arg == QLatin1String("--template") || arg == QLatin1String("--root")) &&
            i + 1 < args.size()) {
            (arg == QLatin1String("--root") ? parsed.rootFolder : parsed.templateText) = args[++i];
            haveTemplate |= arg == QLatin1String("--template");
        } else if (arg == QLatin1String("--on-conflict")) {
            if (!takeConflictPolicy(args, i, parsed.onConflict, command, err))
                return false;
        } else if (arg == QLatin1String("--dry-run")) {
            parsed.dryRun = true;
        } else if (arg.startsWith(QLatin1Char('-'))) {
            err << "varlo-cli " << command << ": unknown option " << arg << "\n";
            return false;
        } else {
            parsed.paths << arg;
        }
    }
    if (haveTemplate && !parsed.paths.isEmpty())
        return true;
    err << "usage: varlo-cli " << command
        << " --template TEMPLATE [--root DIR] [--dry-run] [--on-conflict skip|rename|replace] "
           "FILE...\n";
    return false;
}

QString targetPath(tags::TMP3& file) {
    const QString extension = file.Extension();
    return file.NewFileDir() + file.FileName() +
           (extension.isEmpty() ? QString() : QLatin1Char('.') + extension);
}

QStringList allFields(tags::TMP3& file) {
    QStringList values;
    for (int i = 0; i < tags::kFieldCount; ++i)
        values << file.get(tags::Field(i));
    return values;
}

/// "Field=Value" for every field that differs from `before`.
QStringList changedFields(tags::TMP3& file, const QStringList& before) {
    QStringList changes;
    for (int i = 0; i < tags::kFieldCount; ++i) {
        const auto field = tags::Field(i);
        // Genre follows GenreStr; one of them is enough.
        if (field != tags::Field::Genre && file.get(field) != before[i])
            changes << tags::fieldName(field) + QLatin1Char('=') + file.get(field);
    }
    return changes;
}

tags::Status loadFile(const QString& path, tags::TMP3& file) {
    file.setFilePath(path);
    file.setNewFileDir(QFileInfo(path).absolutePath() + QLatin1Char('/'));
    return file.LoadFromFile();
}

/// Runs the step on one file and reports it; false when the file failed.
bool processFile(const QString& path, const TemplateArgs& args, const TemplateStep& step, Io io) {
    const auto handle = std::make_shared<tags::TMP3>();
    tags::TMP3& file = *handle;
    if (tags::Status status = loadFile(path, file); !status) {
        io.err << path << ": " << status.message() << "\n";
        return false;
    }
    const QString oldPath = file.FilePath();
    const QStringList before = allFields(file);
    if (tags::Status status = step(file, args); !status) {
        io.err << path << ": " << status.message() << "\n";
        return false;
    }
    const QString newPath = targetPath(file);
    const QStringList changes = changedFields(file, before);
    if (newPath != oldPath)
        io.out << oldPath << " -> " << newPath << "\n";
    if (!changes.isEmpty())
        io.out << oldPath << ": " << changes.join(QLatin1String("; ")) << "\n";
    if (args.dryRun || (newPath == oldPath && changes.isEmpty()))
        return true;
    file.setChanged(true);
    if (!saveFile(handle, args.onConflict, io))
        return false;
    if (file.FilePath() != newPath) // the wanted name was taken and numbered
        io.out << oldPath << " -> " << file.FilePath() << "\n";
    return true;
}

} // namespace

int runTemplateCommand(const QString& command, const QStringList& args, Io io,
                       const TemplateStep& step) {
    TemplateArgs parsed;
    if (!parseTemplateArgs(args, command, parsed, io.err))
        return UsageError;
    bool anyFailed = false;
    for (const QString& path : parsed.paths)
        anyFailed |= !processFile(path, parsed, step, io);
    return anyFailed ? SomeFailed : Ok;
}

} // namespace cli

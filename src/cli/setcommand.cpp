// varlo-cli set, cache-text and frames: change and inspect single files from scripts.
#include "clisave.h"
#include "command.h"

#include "tags/audiofile.h"

namespace cli {

namespace {

struct Assignment {
    tags::Field field;
    QString value;
};

bool parseAssignment(const QString& text, Assignment& out, QTextStream& err) {
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    const auto field = equals > 0 ? tags::fieldFromName(text.left(equals)) : std::nullopt;
    if (!field || *field == tags::Field::Tempo) {
        err << "varlo-cli set: \"" << text << "\" is not Field=Value with a writable field name\n";
        return false;
    }
    out = {*field, text.mid(equals + 1)};
    return true;
}

/// Parses "[--tag-mode N] rest..." and hands the rest back.
bool parseCommon(const QStringList& args, const QString& command, int& tagMode, QStringList& rest,
                 QTextStream& err) {
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--tag-mode")) {
            if (!takeTagMode(args, i, tagMode, command, err))
                return false;
        } else {
            rest << args[i];
        }
    }
    return true;
}

/// Loads one file for a command that needs it whole; prints the reason when it cannot.
std::unique_ptr<tags::TMP3> loadFile(const QString& path, int tagMode, QTextStream& err) {
    tags::TagOptions options;
    options.tagMode = tagMode;
    auto file = std::make_unique<tags::TMP3>(QString(), options);
    file->setFilePath(path);
    if (const tags::Status status = file->LoadFromFile(); !status) {
        err << path << ": " << status.message() << "\n";
        return nullptr;
    }
    return file;
}

} // namespace

int runSet(const QStringList& args, Io io) {
    int tagMode = tags::TagOptions::Mixed;
    QStringList rest;
    if (!parseCommon(args, QStringLiteral("set"), tagMode, rest, io.err))
        return UsageError;
    QList<Assignment> assignments;
    QStringList paths;
    for (int i = 0; i < rest.size(); ++i) {
        if (rest[i] == QLatin1String("-f") && i + 1 < rest.size()) {
            Assignment assignment;
            if (!parseAssignment(rest[++i], assignment, io.err))
                return UsageError;
            assignments << assignment;
        } else if (rest[i].startsWith(QLatin1Char('-'))) {
            io.err << "varlo-cli set: unknown option " << rest[i] << "\n";
            return UsageError;
        } else {
            paths << rest[i];
        }
    }
    if (assignments.isEmpty() || paths.isEmpty()) {
        io.err << "usage: varlo-cli set [--tag-mode 1|2|3] -f Field=Value [-f ...] FILE...\n";
        return UsageError;
    }
    bool anyFailed = false;
    for (const QString& path : paths) {
        auto file = loadFile(path, tagMode, io.err);
        if (!file) {
            anyFailed = true;
            continue;
        }
        for (const Assignment& a : assignments)
            file->set(a.field, a.value);
        file->setChanged(true);
        // set never renames, so no file name can be taken: the policy does not matter.
        anyFailed |= !saveFile(std::move(file), operations::DuplicatePolicy::Skip, io);
    }
    return anyFailed ? SomeFailed : Ok;
}

int runCacheText(const QStringList& args, Io io) {
    int tagMode = tags::TagOptions::Mixed;
    QStringList paths;
    if (!parseCommon(args, QStringLiteral("cache-text"), tagMode, paths, io.err))
        return UsageError;
    if (paths.size() != 1) {
        io.err << "usage: varlo-cli cache-text [--tag-mode 1|2|3] FILE\n";
        return UsageError;
    }
    auto file = loadFile(paths.first(), tagMode, io.err);
    if (!file)
        return SomeFailed;
    io.out << file->ToCacheString(tagMode) << "\n";
    return Ok;
}

int runFrames(const QStringList& args, Io io) {
    if (args.size() != 1) {
        io.err << "usage: varlo-cli frames FILE\n";
        return UsageError;
    }
    auto file = loadFile(args.first(), tags::TagOptions::Mixed, io.err);
    if (!file)
        return SomeFailed;
    tags::TID3v2& tag = file->ID3v2();
    for (int i = 0; i < tag.frameCount(); ++i) {
        tags::TID3Frame& frame = tag.frame(i);
        QString text = tags::GetFrameText(frame);
        // One frame per line: line breaks of the text form are shown as \n.
        text.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
        text.replace(QLatin1Char('\r'), QLatin1String("\\n"))
            .replace(QLatin1Char('\n'), QLatin1String("\\n"));
        io.out << QString::fromLatin1(frame.id) << "\t" << text << "\n";
    }
    return Ok;
}

} // namespace cli

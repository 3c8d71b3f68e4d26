// varlo-cli show: prints what Varlo reads from each file.
#include "command.h"

#include "tags/audiofile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace cli {

namespace {

struct ShowOptions {
    int tagMode = tags::TagOptions::Mixed;
    bool json = false;
    QStringList paths;
};

QString formatName(tags::TMP3& file) {
    if (file.OGG())
        return QStringLiteral("OGG");
    if (file.WMA())
        return QStringLiteral("WMA");
    if (file.WAV())
        return QStringLiteral("WAV");
    return QStringLiteral("MP3");
}

QJsonObject streamJson(tags::TMP3& file) {
    const tags::TMP3::Stream& s = file.stream();
    return {{"MpegVersion", s.MpegVersion}, {"LayerVersion", s.LayerVersion},
            {"BitRate", s.BitRate},         {"SampleRate", s.SampleRate},
            {"StereoMode", s.StereoMode},   {"VBR", s.VBR},
            {"Frames", double(s.Frames)},   {"TimeLength", s.TimeLength},
            {"Size", double(s.Size)},       {"BitsPerSample", s.BitsPerSample}};
}

QJsonObject fieldsJson(tags::TMP3& file) {
    QJsonObject fields;
    for (int i = 0; i < tags::kFieldCount; ++i) {
        const auto field = tags::Field(i);
        if (field == tags::Field::Genre)
            fields.insert(QStringLiteral("Genre"), file.Genre());
        else if (field == tags::Field::Track)
            fields.insert(QStringLiteral("Track"), file.Track());
        else
            fields.insert(tags::fieldName(field), file.get(field));
    }
    return fields;
}

QJsonObject fileJson(tags::TMP3& file) {
    QJsonObject object{
        {"path", file.FilePath()},
        {"format", formatName(file)},
        {"flags", QJsonObject{{"Ver1", file.Ver1()}, {"Ver2", file.Ver2()}, {"APE", file.APE()}}},
        {"stream", streamJson(file)},
        {"fields", fieldsJson(file)}};
    if (!file.loadWarning().isEmpty())
        object.insert(QStringLiteral("warning"), file.loadWarning());
    return object;
}

void printReadable(const QJsonObject& object, QTextStream& out) {
    out << object.value("path").toString() << "\n";
    if (object.contains("error")) {
        out << "  error: " << object.value("error").toString() << "\n\n";
        return;
    }
    out << "  format: " << object.value("format").toString() << "\n";
    if (object.contains("warning"))
        out << "  warning: " << object.value("warning").toString() << "\n";
    const QJsonObject flags = object.value("flags").toObject();
    out << "  tags:";
    for (const QString& key :
         {QStringLiteral("Ver1"), QStringLiteral("Ver2"), QStringLiteral("APE")})
        if (flags.value(key).toBool())
            out << " " << (key == "Ver1" ? "ID3v1" : key == "Ver2" ? "ID3v2" : "APE");
    out << "\n";
    const QJsonObject stream = object.value("stream").toObject();
    for (auto it = stream.begin(); it != stream.end(); ++it)
        out << "  " << it.key() << ": " << it.value().toVariant().toString() << "\n";
    const QJsonObject fields = object.value("fields").toObject();
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        const QString value = it.value().toVariant().toString();
        if (!value.isEmpty() && value != "0" && !(it.key() == "Genre" && value == "255"))
            out << "  " << it.key() << ": " << value << "\n";
    }
    out << "\n";
}

bool parseArguments(const QStringList& args, ShowOptions& options, QTextStream& err) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == "--json") {
            options.json = true;
        } else if (arg == "--tag-mode") {
            if (!takeTagMode(args, i, options.tagMode, QStringLiteral("show"), err))
                return false;
        } else if (arg.startsWith("--")) {
            err << "varlo-cli show: unknown option " << arg << "\n";
            return false;
        } else {
            options.paths << arg;
        }
    }
    if (options.paths.isEmpty()) {
        err << "usage: varlo-cli show [--tag-mode 1|2|3] [--json] PATH...\n";
        return false;
    }
    return true;
}

} // namespace

int runShow(const QStringList& args, Io io) {
    ShowOptions options;
    if (!parseArguments(args, options, io.err))
        return UsageError;
    tags::TagOptions tagOptions;
    tagOptions.tagMode = options.tagMode;

    // Objects are printed as they are read, so a folder of 100,000 files needs no more
    // memory than one.
    bool anyFailed = false;
    bool first = true;
    if (options.json)
        io.out << "[\n";
    for (const QString& path : collectAudioFiles(options.paths)) {
        tags::TMP3 file(QString(), tagOptions);
        file.setFilePath(path);
        const tags::Status status = file.LoadFromFile();
        QJsonObject object =
            status.ok() ? fileJson(file) : QJsonObject{{"path", path}, {"error", status.message()}};
        anyFailed = anyFailed || !status.ok();
        if (options.json) {
            io.out << (first ? "" : ",\n") << QJsonDocument(object).toJson(QJsonDocument::Compact);
            first = false;
        } else {
            printReadable(object, io.out);
        }
    }
    if (options.json)
        io.out << (first ? "]\n" : "\n]\n");
    return anyFailed ? SomeFailed : Ok;
}

} // namespace cli

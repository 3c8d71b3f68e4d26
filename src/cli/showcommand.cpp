// varlo-cli show: prints what Varlo reads from each file.
#include "command.h"

#include "tags/audiofile.h"

#include <QJsonDocument>

#include <QJsonObject>
#include <algorithm>

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

/// Writes one JSON object by hand: reading 100,000 files should not spend its time building
/// and serialising document trees.
class JsonObjectWriter {
public:
    explicit JsonObjectWriter(QString& out) : m_out(out) { m_out += QLatin1Char('{'); }
    void close() { m_out += QLatin1Char('}'); }

    void add(const QString& key, const QString& value) {
        addKey(key);
        addString(value);
    }
    void add(const QString& key, qint64 value) {
        addKey(key);
        m_out += QString::number(value);
    }
    void add(const QString& key, bool value) {
        addKey(key);
        m_out += value ? QLatin1String("true") : QLatin1String("false");
    }
    JsonObjectWriter addObject(const QString& key) {
        addKey(key);
        return JsonObjectWriter(m_out);
    }

private:
    void addKey(const QString& key) {
        if (!m_first)
            m_out += QLatin1Char(',');
        m_first = false;
        addString(key);
        m_out += QLatin1Char(':');
    }
    void addString(const QString& text) {
        m_out += QLatin1Char('"');
        const bool plain = std::none_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() < 0x20 || c == QLatin1Char('"') || c == QLatin1Char('\\');
        });
        if (plain) {
            m_out += text;
            m_out += QLatin1Char('"');
            return;
        }
        for (QChar c : text) {
            switch (c.unicode()) {
            case '"':
                m_out += QLatin1String("\\\"");
                break;
            case '\\':
                m_out += QLatin1String("\\\\");
                break;
            case '\n':
                m_out += QLatin1String("\\n");
                break;
            case '\r':
                m_out += QLatin1String("\\r");
                break;
            case '\t':
                m_out += QLatin1String("\\t");
                break;
            default:
                if (c.unicode() < 0x20)
                    m_out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                else
                    m_out += c;
            }
        }
        m_out += QLatin1Char('"');
    }

    QString& m_out;
    bool m_first = true;
};

QString fileJson(tags::TMP3& file) {
    QString out;
    JsonObjectWriter object(out);
    object.add(QStringLiteral("path"), file.FilePath());
    object.add(QStringLiteral("format"), formatName(file));
    JsonObjectWriter flags = object.addObject(QStringLiteral("flags"));
    flags.add(QStringLiteral("Ver1"), file.Ver1());
    flags.add(QStringLiteral("Ver2"), file.Ver2());
    flags.add(QStringLiteral("APE"), file.APE());
    flags.close();
    const tags::TMP3::Stream& s = file.stream();
    JsonObjectWriter stream = object.addObject(QStringLiteral("stream"));
    stream.add(QStringLiteral("MpegVersion"), qint64(s.MpegVersion));
    stream.add(QStringLiteral("LayerVersion"), qint64(s.LayerVersion));
    stream.add(QStringLiteral("BitRate"), qint64(s.BitRate));
    stream.add(QStringLiteral("SampleRate"), qint64(s.SampleRate));
    stream.add(QStringLiteral("StereoMode"), qint64(s.StereoMode));
    stream.add(QStringLiteral("VBR"), s.VBR);
    stream.add(QStringLiteral("Frames"), s.Frames);
    stream.add(QStringLiteral("TimeLength"), qint64(s.TimeLength));
    stream.add(QStringLiteral("Size"), s.Size);
    stream.add(QStringLiteral("BitsPerSample"), qint64(s.BitsPerSample));
    stream.close();
    JsonObjectWriter fields = object.addObject(QStringLiteral("fields"));
    for (int i = 0; i < tags::kFieldCount; ++i) {
        const auto field = tags::Field(i);
        if (field == tags::Field::Genre)
            fields.add(QStringLiteral("Genre"), qint64(file.Genre()));
        else if (field == tags::Field::Track)
            fields.add(QStringLiteral("Track"), qint64(file.Track()));
        else
            fields.add(tags::fieldName(field), file.get(field));
    }
    fields.close();
    if (!file.loadWarning().isEmpty())
        object.add(QStringLiteral("warning"), file.loadWarning());
    object.close();
    return out;
}

QString errorJson(const QString& path, const QString& message) {
    QString out;
    JsonObjectWriter object(out);
    object.add(QStringLiteral("path"), path);
    object.add(QStringLiteral("error"), message);
    object.close();
    return out;
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
    const QString format = object.value("format").toString();
    const QString firstTagName = format == "OGG"   ? QStringLiteral("Vorbis comments")
                                 : format == "WMA" ? QStringLiteral("ASF attributes")
                                                   : QStringLiteral("ID3v1");
    out << "  tags:";
    for (const QString& key :
         {QStringLiteral("Ver1"), QStringLiteral("Ver2"), QStringLiteral("APE")})
        if (flags.value(key).toBool())
            out << " " << (key == "Ver2" ? "ID3v2" : key == "APE" ? "APE" : firstTagName);
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
        const QString json = status.ok() ? fileJson(file) : errorJson(path, status.message());
        anyFailed = anyFailed || !status.ok();
        if (options.json) {
            io.out << (first ? "" : ",\n") << json;
            first = false;
        } else {
            printReadable(QJsonDocument::fromJson(json.toUtf8()).object(), io.out);
        }
    }
    if (options.json)
        io.out << (first ? "]\n" : "\n]\n");
    return anyFailed ? SomeFailed : Ok;
}

} // namespace cli

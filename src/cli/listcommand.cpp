// varlo-cli list: one line per audio file of a folder, optionally through the tag cache.
#include "command.h"

#include "library/cachedlisting.h"
#include "library/folderwalk.h"

namespace cli {

namespace {

struct ListOptions {
    bool cache = false;
    bool recursive = false;
    QString databasePath;
    QString folder;
};

bool parseListOptions(const QStringList& args, ListOptions& options, QTextStream& err) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--cache"))
            options.cache = true;
        else if (arg == QLatin1String("--recursive"))
            options.recursive = true;
        else if (arg == QLatin1String("--cache-db") && i + 1 < args.size())
            options.databasePath = args[++i];
        else if (!arg.startsWith(QLatin1String("--")) && options.folder.isEmpty())
            options.folder = arg;
        else {
            err << "varlo-cli list: unexpected argument " << arg << "\n";
            return false;
        }
    }
    if (!options.databasePath.isEmpty())
        options.cache = true;
    if (options.folder.isEmpty()) {
        err << "usage: varlo-cli list [--cache] [--cache-db PATH] [--recursive] FOLDER\n";
        return false;
    }
    return true;
}

/// Play time as minutes and seconds; minutes may exceed 99.
QString playTime(int seconds) {
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

/// Tabs and line breaks inside a tag would break the one-line-per-file layout.
QString oneLine(QString text) {
    for (QChar& c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

void printLine(tags::TMP3& file, QTextStream& out) {
    out << file.FilePath() << '\t' << oneLine(file.get(tags::Field::Title)) << '\t'
        << oneLine(file.get(tags::Field::Artist)) << '\t' << oneLine(file.get(tags::Field::Album))
        << '\t' << playTime(file.stream().TimeLength) << '\n';
}

} // namespace

int runList(const QStringList& args, Io io) {
    ListOptions options;
    if (!parseListOptions(args, options, io.err))
        return UsageError;
    const QStringList& extensions = library::audioExtensions();
    const tags::TagOptions tagOptions;
    const library::FileReader read = library::fileReader(tagOptions);
    int failed = 0;
    if (options.cache) {
        library::TTagCacheDB db(options.databasePath.isEmpty() ? library::TTagCacheDB::defaultPath()
                                                               : options.databasePath);
        if (!db.message().isEmpty())
            io.err << "varlo-cli list: " << db.message() << "\n";
        if (!db.isOpen())
            return SomeFailed;
        const auto counts = library::listThroughCache(
            db, options.folder, options.recursive, extensions, read,
            [&](tags::TMP3& file, bool) { printLine(file, io.out); }, tagOptions.tagMode);
        failed = counts.failed;
    } else {
        for (const QString& path :
             library::audioFilesIn(options.folder, options.recursive, extensions)) {
            if (const auto file = read(path))
                printLine(*file, io.out);
            else
                ++failed;
        }
    }
    if (failed > 0)
        io.err << "varlo-cli list: " << failed << " file(s) could not be read\n";
    return failed > 0 ? SomeFailed : Ok;
}

} // namespace cli

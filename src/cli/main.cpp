#include "command.h"

#include <QCoreApplication>

namespace {

const char kUsage[] =
    "usage: varlo-cli COMMAND [OPTIONS] ...\n"
    "\n"
    "commands:\n"
    "  show [--tag-mode 1|2|3] [--json] PATH...   print the tags and stream values\n"
    "  set [--tag-mode 1|2|3] -f Field=Value [-f ...] FILE...\n"
    "                                             set fields and save\n"
    "  frames FILE                                print the ID3v2 frames\n"
    "  cache-text [--tag-mode 1|2|3] FILE         print the tag cache record\n"
    "  list [--cache] [--cache-db PATH] [--recursive] FOLDER\n"
    "      one line per audio file: path, title, artist, album, length (tab-separated);\n"
    "      --cache lists unchanged files from the tag cache without opening them\n"
    "  lng scramble|unscramble IN OUT              convert a language file to or from its stored "
    "form\n"
    "  rename --template T [--dry-run] FILE...    name files from their tags (#Art - #Tit)\n"
    "  restructure --template T [--root DIR] [--dry-run] FILE...\n"
    "                                             move files into folders from their tags\n"
    "  generate --template T [--dry-run] FILE...  set tags from file names\n"
    "  extract --template T [--dry-run] FILE...   set tags and cut them out of file names\n"
    "      rename, restructure, generate and extract take --on-conflict skip|rename|replace:\n"
    "      a taken name is skipped (default), numbered \" (1)\" or replaced (old file to the "
    "trash)\n";

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Halvern"));
    QCoreApplication::setApplicationName(QStringLiteral("Varlo"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    const cli::Io io{out, err};
    using Runner = int (*)(const QStringList&, cli::Io);
    const std::pair<const char*, Runner> commands[] = {
        {"show", cli::runShow},         {"set", cli::runSet},
        {"frames", cli::runFrames},     {"cache-text", cli::runCacheText},
        {"list", cli::runList},         {"lng", cli::runLng},
        {"rename", cli::runRename},     {"restructure", cli::runRestructure},
        {"generate", cli::runGenerate}, {"extract", cli::runExtract}};
    for (const auto& [name, run] : commands)
        if (command == QLatin1String(name))
            return run(args, io);
    err << kUsage;
    return command == QLatin1String("help") || command == QLatin1String("--help") ? cli::Ok
                                                                                  : cli::UsageError;
}

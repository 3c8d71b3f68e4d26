#include "operations/capitalize.h"
#include "operations/filenameparser.h"
#include "operations/namebuilder.h"
#include "operations/pathparser.h"
#include "operations/restructure.h"
#include "tags/audiofile.h"

#include <cstddef>
#include <cstdint>

// Runs every template operation on a template and a file name taken from the input
// (split at the first newline): none may hang, crash, or produce a name that leaves its
// folder.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(qMin<size_t>(size, 4096)));
    const qsizetype newline = input.indexOf(QLatin1Char('\n'));
    const QString templateText = input.left(newline);
    const QString name = newline < 0 ? input : input.mid(newline + 1);

    tags::TMP3 file;
    file.setFilePath(QStringLiteral("/music/a/b/x.mp3"));
    file.setNewFileDir(QStringLiteral("/music/a/b/"));
    file.setFileName(name);
    file.set(tags::Field::Artist, name);
    file.set(tags::Field::Album, templateText);

    const QStringList tokens = operations::TokenizeTemplate(templateText);
    const QStringList separators = {QString(), name.left(2), QStringLiteral(" - "),
                                    QStringLiteral("(")};
    operations::GenerateFromName(file, tokens, separators);
    operations::ExtractFromName(file, tokens, separators);
    operations::ParseOptions options;
    options.separators = separators;
    operations::AutoGenerate(file, options);
    operations::PrepareName(name, true, options);
    operations::CapitalizeText(name, operations::CapitalizeOptions());

    const QString built = operations::buildNameFromTemplate(file, templateText);
    if (built.contains(QLatin1Char('/')) || built == QLatin1String(".."))
        __builtin_trap();
    operations::RestructureOptions restructure;
    restructure.rootFolder = QStringLiteral("/lib");
    QString folder;
    if (operations::BuildRestructurePath(file, templateText, restructure, folder).ok() &&
        (folder.contains(QLatin1String("/../")) || folder.contains(QLatin1String("/./")) ||
         !folder.endsWith(QLatin1Char('/'))))
        __builtin_trap();
    operations::TPathParser parser;
    parser.Parse(templateText);
    parser.FullPath();
    return 0;
}

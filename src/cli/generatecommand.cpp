// varlo-cli generate: tag fields read out of file names (and folder names) by a template.
#include "templaterun.h"

#include "operations/capitalize.h"
#include "operations/filenameparser.h"
#include "tags/audiofile.h"

namespace cli {

int runGenerate(const QStringList& args, Io io) {
    return runTemplateCommand(
        QStringLiteral("generate"), args, io, [](tags::TMP3& file, const TemplateArgs& parsed) {
            const operations::ParseOptions options;
            const QString name = file.FileName();
            // The name is tidied only for reading; the file keeps its name.
            file.setFileName(operations::PrepareName(name, false, options));
            operations::GenerateFromName(file, operations::TokenizeTemplate(parsed.templateText),
                                         options.separators);
            file.setFileName(name);
            operations::CapitalizeTag(file, {});
            return tags::Status::success();
        });
}

} // namespace cli

// varlo-cli extract: tag fields taken out of file names, which keep what is left.
#include "templaterun.h"

#include "operations/capitalize.h"
#include "operations/filenameparser.h"
#include "tags/audiofile.h"

namespace cli {

int runExtract(const QStringList& args, Io io) {
    return runTemplateCommand(
        QStringLiteral("extract"), args, io, [](tags::TMP3& file, const TemplateArgs& parsed) {
            const operations::ParseOptions options;
            file.setFileName(operations::PrepareName(file.FileName(), false, options));
            operations::ExtractFromName(file, operations::TokenizeTemplate(parsed.templateText),
                                        options.separators);
            operations::CapitalizeTag(file, {});
            return tags::Status::success();
        });
}

} // namespace cli

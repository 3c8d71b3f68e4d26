// varlo-cli restructure: moves files into folders built from their tags.
#include "templaterun.h"

#include "operations/restructure.h"
#include "tags/audiofile.h"

namespace cli {

int runRestructure(const QStringList& args, Io io) {
    return runTemplateCommand(
        QStringLiteral("restructure"), args, io, [](tags::TMP3& file, const TemplateArgs& parsed) {
            operations::RestructureOptions options;
            options.rootFolder = parsed.rootFolder;
            QString folder;
            const tags::Status status =
                operations::BuildRestructurePath(file, parsed.templateText, options, folder);
            if (status)
                file.setNewFileDir(folder);
            return status;
        });
}

} // namespace cli

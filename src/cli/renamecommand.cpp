// varlo-cli rename: new file names from a template of tag fields.
#include "templaterun.h"

#include "operations/namebuilder.h"

namespace cli {

int runRename(const QStringList& args, Io io) {
    return runTemplateCommand(QStringLiteral("rename"), args, io,
                              [](tags::TMP3& file, const TemplateArgs& parsed) {
                                  operations::RenameByTemplate(file, parsed.templateText);
                                  return tags::Status::success();
                              });
}

} // namespace cli

// varlo-cli lng: scrambles and unscrambles language files for translators.
#include "command.h"

#include "settings/multilanguage.h"

#include <QFile>
#include <QSaveFile>

namespace cli {

int runLng(const QStringList& args, Io io) {
    const bool known = args.size() == 3 && (args[0] == QLatin1String("scramble") ||
                                            args[0] == QLatin1String("unscramble"));
    if (!known) {
        io.err << "usage: varlo-cli lng scramble|unscramble IN OUT\n";
        return UsageError;
    }
    QFile in(args[1]);
    if (!in.open(QIODevice::ReadOnly)) {
        io.err << "varlo-cli lng: cannot read " << args[1] << ": " << in.errorString() << "\n";
        return SomeFailed;
    }
    // Both directions are the same operation; the two verbs say what the user means.
    const QByteArray result = settings::TMultiLanguage::scramble(in.readAll());
    QSaveFile out(args[2]);
    if (!out.open(QIODevice::WriteOnly) || out.write(result) != result.size() || !out.commit()) {
        io.err << "varlo-cli lng: cannot write " << args[2] << ": " << out.errorString() << "\n";
        return SomeFailed;
    }
    return Ok;
}

} // namespace cli

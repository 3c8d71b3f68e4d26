// Saving from the command line goes through the same save run as the desktop program.
#include "clisave.h"

namespace cli {

bool takeConflictPolicy(const QStringList& args, int& i, operations::DuplicatePolicy& policy,
                        const QString& command, QTextStream& err) {
    using operations::DuplicatePolicy;
    static const std::pair<const char*, DuplicatePolicy> kPolicies[] = {
        {"skip", DuplicatePolicy::Skip},
        {"rename", DuplicatePolicy::Rename},
        {"replace", DuplicatePolicy::Replace}};
    const QString value = i + 1 < args.size() ? args[i + 1] : QString();
    for (const auto& [name, candidate] : kPolicies) {
        if (value == QLatin1String(name)) {
            policy = candidate;
            ++i;
            return true;
        }
    }
    err << "varlo-cli " << command << ": --on-conflict takes skip, rename or replace\n";
    return false;
}

bool saveFile(const library::FileHandle& file, operations::DuplicatePolicy policy, Io io) {
    QList<library::FileHandle> list{file};
    operations::SaveOptions options;
    options.duplicates = policy;
    operations::SaveRunHost host; // a script never stops and is never asked
    const operations::SaveReport report = operations::TSaveRun(list, options, host).run();
    for (const operations::SaveFailure& failure : report.failed)
        io.err << failure.path << ": not saved: " << failure.message << "\n";
    for (const QString& spare : report.setAside)
        io.err << spare << ": replaced file kept (the trash cannot take it)\n";
    return report.failed.isEmpty();
}

} // namespace cli

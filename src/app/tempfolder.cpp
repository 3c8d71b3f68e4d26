#include "tempfolder.h"

#include <QDir>

namespace app {

namespace {

const TTempFolder* s_current = nullptr;

} // namespace

const QStringList& TTempFolder::subfolders() {
    static const QStringList names = {QStringLiteral("ExportPreview"),
                                      QStringLiteral("PrintPreview"), QStringLiteral("Play"),
                                      QStringLiteral("BPMPlay")};
    return names;
}

// A fresh, uniquely named folder each run: nothing of another run or another user can be in
// it, so there is nothing to empty first.
TTempFolder::TTempFolder() : m_dir(QDir::tempPath() + QStringLiteral("/VarloTemp-XXXXXX")) {
    if (!m_dir.isValid()) {
        qWarning("Varlo: cannot create a temporary folder: %s", qPrintable(m_dir.errorString()));
        return;
    }
    const QDir root(m_dir.path());
    for (const QString& name : subfolders())
        if (!root.mkdir(name))
            qWarning("Varlo: cannot create %s", qPrintable(root.filePath(name)));
    s_current = this;
}

TTempFolder::~TTempFolder() {
    if (s_current == this)
        s_current = nullptr;
}

QString tempFolder() {
    return s_current ? s_current->path() : QString();
}

} // namespace app

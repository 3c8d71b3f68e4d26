#include "mainwindow.h"

#include "playerhandoff.h"

namespace app {

namespace {

/// Stands in until the built-in player exists: remembers the list it was handed.
class PendingPlayerList : public PlayerHandOff {
public:
    void appendAsCurrent(const QString& path) override {
        m_files.append(path);
        m_current = m_files.size() - 1;
    }
    bool hasCurrent() const override { return m_current >= 0; }
    void play(const QString&) override {}

private:
    QStringList m_files;
    qsizetype m_current = -1;
};

} // namespace

TFormMain::TFormMain(QWidget* parent)
    : QMainWindow(parent), m_player(std::make_unique<PendingPlayerList>()) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Varlo"));
    resize(1000, 700);
}

TFormMain::~TFormMain() = default;

void TFormMain::openPath(const QString& path) {
    if (!m_ready || path == m_currentFolder)
        return;
    m_currentFolder = path;
}

} // namespace app

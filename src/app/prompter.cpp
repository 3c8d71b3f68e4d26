#include "prompter.h"

#include <QMessageBox>

namespace app {

TPrompter::Answer TMessageBoxPrompter::askSaveChanges(const QString& question) {
    switch (QMessageBox::question(m_parent, QStringLiteral("Varlo"), question,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void TMessageBoxPrompter::inform(const QString& title, const QString& text) {
    QMessageBox::information(m_parent, title, text);
}

void TMessageBoxPrompter::showProblems(const QString& title, const QString& intro,
                                       const QStringList& lines) {
    QMessageBox box(QMessageBox::Warning, title, intro, QMessageBox::Ok, m_parent);
    box.setDetailedText(lines.join(QLatin1Char('\n')));
    box.setInformativeText(lines.mid(0, 5).join(QLatin1Char('\n')) +
                           (lines.size() > 5 ? QStringLiteral("\n...") : QString()));
    box.exec();
}

} // namespace app

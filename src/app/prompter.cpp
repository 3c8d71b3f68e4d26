#include "prompter.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

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

bool TMessageBoxPrompter::confirm(const QString& question) {
    return QMessageBox::question(m_parent, QStringLiteral("Varlo"), question) == QMessageBox::Yes;
}

QString TMessageBoxPrompter::chooseFolder(const QString& start) {
    return QFileDialog::getExistingDirectory(m_parent, QString(), start);
}

QString TMessageBoxPrompter::chooseTextFile(const QString& start) {
    return QFileDialog::getOpenFileName(m_parent, QString(), start,
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
}

std::optional<QString> TMessageBoxPrompter::askText(const QString& title, const QString& label,
                                                    const QString& proposal) {
    QInputDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setTextValue(proposal);
    dialog.resize(460, dialog.sizeHint().height()); // room for a template of several fields
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

operations::DuplicateAnswer
TMessageBoxPrompter::askDuplicateName(const operations::DuplicateQuestion& question) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Varlo"),
                    QStringLiteral("The file name is taken:\n%1\n\nFile being saved:\n%2")
                        .arg(question.existingPath, question.filePath),
                    QMessageBox::NoButton, m_parent);
    QPushButton* skip = box.addButton(QStringLiteral("Skip"), QMessageBox::RejectRole);
    QPushButton* rename = box.addButton(QStringLiteral("Rename"), QMessageBox::AcceptRole);
    QPushButton* replace = box.addButton(QStringLiteral("Replace"), QMessageBox::DestructiveRole);
    auto* all = new QCheckBox(QStringLiteral("Do the same for every conflict"));
    box.setCheckBox(all);
    box.setDefaultButton(skip);
    box.exec();
    operations::DuplicateAnswer answer;
    answer.applyToAll = all->isChecked();
    if (box.clickedButton() == rename)
        answer.choice = operations::DuplicateAnswer::Rename;
    else if (box.clickedButton() == replace)
        answer.choice = operations::DuplicateAnswer::Replace;
    return answer;
}

} // namespace app

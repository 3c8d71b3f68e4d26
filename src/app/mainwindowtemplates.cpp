// The template commands of the main window: rename, restructure, swap, generate and extract,
// each asking for its template (the stored default proposed) and running over the selection.
#include "commandset.h"
#include "mainwindow.h"
#include "operations/filenamecommands.h"
#include "operations/filenameparser.h"
#include "operations/namebuilder.h"
#include "operations/restructure.h"
#include "prompter.h"
#include "tags/audiofile.h"

namespace app {

void TFormMain::runTemplateCommand(
    const QString& command, const char* defaultName,
    const std::function<tags::Status(tags::TMP3&, const QString&)>& step) {
    const QString proposal = m_state.value(QLatin1String(defaultName)).toString();
    const std::optional<QString> templateText =
        m_prompter->askText(m_commands->action(command)->text().remove(QLatin1Char('&')),
                            QStringLiteral("Template:"), proposal);
    if (!templateText || templateText->isEmpty())
        return;
    m_state.setValue(QLatin1String(defaultName), *templateText);
    runOnSelection(command, [&](tags::TMP3& file) { return step(file, *templateText); });
}

void TFormMain::connectFileNameCommands() {
    for (const QString& name : operations::fileNameCommandNames()) {
        if (!m_commands->action(name))
            continue;
        m_commands->setHandler(name, [this, name] {
            operations::FileNameCommandOptions options =
                operations::FileNameCommandOptions::fromSettings(m_settings);
            options.names.versionValues = m_commonMode;
            options.quickRenameScheme =
                m_state.value(QLatin1String(settings::windownames::QuickRenameScheme)).toString();
            options.renameTemplate =
                m_state.value(QLatin1String(settings::windownames::DefaultTemplateRename))
                    .toString();
            runOnSelection(name, operations::stepsInSelectionOrder([options, name](int position) {
                               return *operations::fileNameCommandStep(name, options, position);
                           }));
        });
    }
    m_commands->setHandler(QStringLiteral("ActImportFilename"), [this] {
        const QString listPath = m_prompter->chooseTextFile(m_currentFolder);
        if (listPath.isEmpty())
            return;
        QStringList names;
        if (const tags::Status status = operations::readFileNameList(listPath, names); !status) {
            m_prompter->inform(text(QStringLiteral("Warning")), status.message());
            return;
        }
        const int files = int(selectedFiles().size());
        runOnSelection(QStringLiteral("ActImportFilename"),
                       operations::stepsInSelectionOrder([names](int position) {
                           return operations::importFileNameStep(names, position);
                       }));
        if (const QString note = operations::fileNameListNote(names.size(), files); !note.isEmpty())
            m_prompter->inform(text(QStringLiteral("AppName")), note);
    });
}

void TFormMain::connectTemplateCommands() {
    namespace names = settings::windownames;
    const auto nameOptions = [this] {
        operations::NameOptions options;
        options.unknownIfEmpty = m_settings.unknownIfEmpty();
        options.spaceToUnderscore = m_settings.spaceToUnderscore();
        options.encodePercent = m_settings.encodePercent();
        options.lowercase = m_settings.filenameLowercase();
        options.versionValues = m_commonMode;
        options.separator = m_settings.filenameSeparator();
        return options;
    };
    const auto parseSeparators = [this] {
        const QStringList separators = m_settings.separators();
        return separators.isEmpty() ? operations::ParseOptions().separators : separators;
    };
    m_commands->setHandler(QStringLiteral("ActRename"), [=, this] {
        runTemplateCommand(QStringLiteral("ActRename"), names::DefaultTemplateRename,
                           [&](tags::TMP3& file, const QString& text) {
                               operations::RenameByTemplate(file, text, nameOptions());
                               return tags::Status::success();
                           });
    });
    m_commands->setHandler(QStringLiteral("ActRestructure"), [=, this] {
        runTemplateCommand(QStringLiteral("ActRestructure"), names::DefaultTemplateRestructure,
                           [&](tags::TMP3& file, const QString& text) {
                               operations::RestructureOptions options;
                               options.rootFolder = m_playlistMode ? QString() : m_currentFolder;
                               options.versionValues = m_commonMode;
                               QString folder;
                               const tags::Status status =
                                   operations::BuildRestructurePath(file, text, options, folder);
                               if (status)
                                   file.setNewFileDir(folder);
                               return status;
                           });
    });
    m_commands->setHandler(QStringLiteral("ActSwap"), [=, this] {
        runTemplateCommand(QStringLiteral("ActSwap"), names::DefaultTemplateSwap,
                           [&](tags::TMP3& file, const QString& text) {
                               operations::SwapByTemplate(file, text, m_commonMode);
                               return tags::Status::success();
                           });
    });
    m_commands->setHandler(QStringLiteral("ActGenerateTag"), [=, this] {
        runTemplateCommand(QStringLiteral("ActGenerateTag"), names::DefaultTemplateGenerate,
                           [&](tags::TMP3& file, const QString& text) {
                               operations::GenerateFromName(
                                   file, operations::TokenizeTemplate(text), parseSeparators());
                               return tags::Status::success();
                           });
    });
    m_commands->setHandler(QStringLiteral("ActExtract"), [=, this] {
        runTemplateCommand(QStringLiteral("ActExtract"), names::DefaultTemplateExtract,
                           [&](tags::TMP3& file, const QString& text) {
                               operations::ExtractFromName(file, operations::TokenizeTemplate(text),
                                                           parseSeparators());
                               return tags::Status::success();
                           });
    });
}

} // namespace app

#include "settings/multilanguage.h"
#include "settings/ui/translatewidgets.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace settings;

namespace {

/// English in column 0, German in column 1.
const char kLanguageFile[] = "\tEnglish\tDeutsch\r\n"
                             "\tEnglish\tGerman\r\n"
                             "[Form.TestWindow]\r\n"
                             ".Caption\tOptions\tOptionen\r\n"
                             "Info.Caption\tHello\tHallo~~Welt\r\n"
                             "SaveAct.Hint\tSave files\tDateien speichern\r\n"
                             "Choice.Items.1\tEdit\tBearbeiten\r\n"
                             "Choice.Items.x\tEdit\tFalsch\r\n"
                             "Kinds.Items\tCharacter~~Word\tZeichen~~Wort\r\n"
                             "Tree.Columns.1.Caption\tSize\tGroesse\r\n"
                             "Missing.Caption\tX\tY\r\n"
                             "\r\n"
                             "[Translations]\r\n"
                             "Cancel\tCancel\tAbbrechen\r\n"
                             "Save\tSave\tSpeichern\r\n"
                             "Name\tName\tTitel\r\n";

struct Window {
    QDialog dialog;
    QPushButton* cancel = new QPushButton(QStringLiteral("&Cancel"), &dialog);
    QLabel* info = new QLabel(QStringLiteral("Hello"), &dialog);
    QComboBox* choice = new QComboBox(&dialog);
    QListWidget* kinds = new QListWidget(&dialog);
    QTreeWidget* tree = new QTreeWidget(&dialog);
    QAction* save = new QAction(QStringLiteral("Save"), &dialog);

    Window() {
        dialog.setObjectName(QStringLiteral("TestWindow"));
        dialog.setWindowTitle(QStringLiteral("Options"));
        info->setObjectName(QStringLiteral("Info"));
        choice->setObjectName(QStringLiteral("Choice"));
        choice->addItems({QStringLiteral("Play"), QStringLiteral("Edit")});
        choice->setCurrentIndex(1);
        kinds->setObjectName(QStringLiteral("Kinds"));
        kinds->addItems({QStringLiteral("Character"), QStringLiteral("Word")});
        tree->setObjectName(QStringLiteral("Tree"));
        tree->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size")});
        save->setObjectName(QStringLiteral("SaveAct"));
        save->setToolTip(QStringLiteral("Save files"));
    }

    QStringList texts() const {
        return {dialog.windowTitle(),
                cancel->text(),
                info->text(),
                choice->itemText(0),
                choice->itemText(1),
                kinds->item(0)->text(),
                kinds->item(1)->text(),
                tree->headerItem()->text(0),
                tree->headerItem()->text(1),
                save->text(),
                save->toolTip()};
    }
};

const QStringList kEnglish = {"Options", "&Cancel", "Hello", "Play", "Edit",      "Character",
                              "Word",    "Name",    "Size",  "Save", "Save files"};
const QStringList kGerman = {
    "Optionen", "Abbrechen", "Hallo\r\nWelt", "Play",      "Bearbeiten",       "Zeichen",
    "Wort",     "Titel",     "Groesse",       "Speichern", "Dateien speichern"};

} // namespace

class TstTranslateWidgets : public QObject {
    Q_OBJECT
private slots:
    void switchingThereAndBack();
};

void TstTranslateWidgets::switchingThereAndBack() {
    TMultiLanguage language;
    language.loadData(TMultiLanguage::scramble(QByteArray(kLanguageFile)));
    Window window;
    QCOMPARE(window.texts(), kEnglish);
    for (int round = 0; round < 2; ++round) {
        language.setLanguage(1);
        translateWidget(&window.dialog, language);
        QCOMPARE(window.texts(), kGerman);
        QCOMPARE(window.choice->currentIndex(), 1);
        language.setLanguage(-1);
        translateWidget(&window.dialog, language);
        QCOMPARE(window.texts(), kEnglish);
    }
    language.setLanguage(1);
    translateWidget(&window.dialog, language);
    language.setLanguage(0); // the English column: captions lose their "&" as translated
    translateWidget(&window.dialog, language);
    QStringList english = kEnglish;
    english[1] = QStringLiteral("Cancel");
    QCOMPARE(window.texts(), english);
}

QTEST_MAIN(TstTranslateWidgets)
#include "tst_translatewidgets.moc"

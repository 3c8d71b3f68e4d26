#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace settings {

/// One entry of a section for the chosen language: key and value, escapes resolved.
using LanguageEntry = std::pair<QString, QString>;

/// The translations of every user-visible text, read from the language file next to the
/// program: one scrambled UTF-8 (or Windows-1252) text with one TAB-separated column per
/// language. Line 1 lists the languages' display names, line 2 their names as the system
/// spells them; "[Section]" lines start sections ("Strings", "Form.<window>",
/// "Translations") whose lines are a key followed by one value per language.
///
/// Texts the file lacks (or all texts, when there is no file) come from the built-in
/// English texts, so that no message is ever shown empty.
class TMultiLanguage {
public:
    /// The language file of this program: its executable path with the extension ".lng".
    static QString defaultLangFile();
    /// Scrambles or unscrambles (the same operation) a language file's bytes.
    static QByteArray scramble(QByteArrayView data);
    /// Unscrambled bytes as text: UTF-8 when valid, otherwise Windows-1252.
    static QString decodeText(QByteArrayView bytes);
    /// Resolves the escapes of a value: "~~" is a line break (CR LF), "~`" a TAB.
    static QString unescape(const QString& value);
    /// The user's interface language as the language file's line 2 spells names,
    /// e.g. "English (United States)".
    static QString systemLanguageName();

    /// A translator without a file; every lookup gives the built-in English text.
    TMultiLanguage() = default;
    /// Reads the file at `langFile`; LanguageNames() is empty when it cannot be read.
    explicit TMultiLanguage(const QString& langFile);

    /// Reads a language file's (scrambled) bytes.
    void loadData(QByteArrayView scrambled);

    QString LangFile() const { return m_langFile; }
    /// The chosen column; −1 for none (only the built-in English texts).
    int Language() const { return m_language; }
    /// Chooses the column and reloads the string table; values out of range mean none.
    void setLanguage(int language);

    /// The languages' display names (line 1) and system names (line 2).
    QStringList LanguageNames() const { return m_languageNames; }
    QStringList SystemLanguageNames() const { return m_systemNames; }
    /// The first language whose system name begins `systemName` (ignoring case); −1 for none.
    int languageForSystemName(const QString& systemName) const;
    /// The column for a stored language name; a name the file does not list (or none) gives
    /// the language of the system name, else the first language; −1 when the file has none.
    int chooseLanguage(const QString& storedName,
                       const QString& systemName = systemLanguageName()) const;

    /// The text of a "Strings" key (ignoring case) in the chosen language, else the built-in
    /// English text, else empty.
    QString Lookup(const QString& key) const;
    /// The translation of a caption as designed (without "&") from "Translations"; empty
    /// when it has none.
    QString translation(const QString& caption) const;

    QStringList sectionNames() const;
    /// The entries of a section for the chosen language, in file order.
    QList<LanguageEntry> section(const QString& name) const;

private:
    struct Section {
        QString name;
        QList<QStringList> lines; ///< key, then one value per language
    };

    static QString valueForLanguage(const QStringList& line, int language);
    static QHash<QString, QString> keyTable(const QList<LanguageEntry>& entries);
    static const TMultiLanguage& builtInEnglish();
    const Section* findSection(const QString& name) const;

    QString m_langFile;
    int m_language = -1;
    QStringList m_languageNames;
    QStringList m_systemNames;
    QList<Section> m_sections;
    QHash<QString, QString> m_strings;
    QHash<QString, QString> m_translations;
};

/// The text of a language key from the application's translator; built-in English while
/// none is installed.
QString lookupText(const QString& key);
/// Installs the translator that lookupText() uses (nullptr: none); the caller keeps it alive.
void setApplicationTranslator(const TMultiLanguage* translator);

} // namespace settings

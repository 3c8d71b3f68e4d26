#include "multilanguage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>

#include <algorithm>

namespace settings {

namespace {

constexpr quint32 kScrambleSeed = 318265041u;
constexpr quint32 kScrambleMultiplier = 134775813u;

const QString kStringsSection = QStringLiteral("Strings");
const QString kTranslationsSection = QStringLiteral("Translations");
const QString kBuiltInEnglish = QStringLiteral(":/settings/english.lng.txt");

/// Windows-1252 code points of bytes 0x80 to 0x9F; the five unassigned bytes keep their
/// Latin-1 meaning, as Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeCp1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = quint8(bytes[i]);
        text[i] = byte >= 0x80 && byte < 0xA0 ? QChar(kCp1252High[byte - 0x80]) : QChar(byte);
    }
    return text;
}

/// Splits text into lines at CR LF (a lone LF is taken as a line end too).
QStringList splitLines(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return lines;
}

/// A header line's names: the columns after the first, trimmed, up to the first empty one.
QStringList headerNames(const QString& line) {
    QStringList names;
    const QStringList columns = line.split(QLatin1Char('\t'));
    for (qsizetype i = 1; i < columns.size(); ++i) {
        const QString name = columns[i].trimmed();
        if (name.isEmpty())
            break;
        names << name;
    }
    return names;
}

/// The section a "[Name]" line starts (trailing TABs ignored); empty for any other line.
QString sectionName(QString line) {
    if (!line.startsWith(QLatin1Char('[')))
        return {};
    while (line.endsWith(QLatin1Char('\t')))
        line.chop(1);
    return line.size() >= 2 ? line.mid(1, line.size() - 2) : QString();
}

const TMultiLanguage* g_translator = nullptr;

} // namespace

QString TMultiLanguage::defaultLangFile() {
    const QFileInfo program(QCoreApplication::applicationFilePath());
    return program.absolutePath() + QLatin1Char('/') + program.completeBaseName() +
           QStringLiteral(".lng");
}

QByteArray TMultiLanguage::scramble(QByteArrayView data) {
    QByteArray result(data.size(), Qt::Uninitialized);
    quint32 state = kScrambleSeed;
    for (qsizetype i = 0; i < data.size(); ++i) {
        state = state * kScrambleMultiplier + 1u;
        result[i] = char(quint8(data[i]) ^ quint8(state >> 27));
    }
    return result;
}

QString TMultiLanguage::decodeText(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? decodeCp1252(bytes) : text;
}

QString TMultiLanguage::unescape(const QString& value) {
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar next = i + 1 < value.size() ? value[i + 1] : QChar();
        if (value[i] == QLatin1Char('~') && next == QLatin1Char('~')) {
            text += QLatin1String("\r\n");
            ++i;
        } else if (value[i] == QLatin1Char('~') && next == QLatin1Char('`')) {
            text += QLatin1Char('\t');
            ++i;
        } else {
            text += value[i];
        }
    }
    return text;
}

QString TMultiLanguage::systemLanguageName() {
    const QLocale locale = QLocale::system();
    return QLocale::languageToString(locale.language()) + QStringLiteral(" (") +
           QLocale::territoryToString(locale.territory()) + QLatin1Char(')');
}

TMultiLanguage::TMultiLanguage(const QString& langFile) : m_langFile(langFile) {
    QFile file(langFile);
    if (file.open(QIODevice::ReadOnly))
        loadData(file.readAll());
}

void TMultiLanguage::loadData(QByteArrayView scrambled) {
    const QStringList lines = splitLines(decodeText(scramble(scrambled)));
    m_languageNames = lines.size() > 0 ? headerNames(lines[0]) : QStringList();
    m_systemNames = lines.size() > 1 ? headerNames(lines[1]) : QStringList();
    m_sections.clear();
    Section* current = nullptr;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('['))) {
            m_sections.append({sectionName(line), {}});
            current = &m_sections.last();
        } else if (line.isEmpty()) {
            current = nullptr;
        } else if (current) {
            current->lines.append(line.split(QLatin1Char('\t')));
        }
    }
    setLanguage(m_language);
}

void TMultiLanguage::setLanguage(int language) {
    m_language = language >= 0 && language < m_languageNames.size() ? language : -1;
    m_strings = keyTable(section(kStringsSection));
    m_translations = keyTable(section(kTranslationsSection));
}

int TMultiLanguage::languageForSystemName(const QString& systemName) const {
    for (qsizetype i = 0; i < m_systemNames.size(); ++i)
        if (systemName.startsWith(m_systemNames[i], Qt::CaseInsensitive))
            return int(i);
    return -1;
}

int TMultiLanguage::chooseLanguage(const QString& storedName, const QString& systemName) const {
    const qsizetype stored = m_languageNames.indexOf(storedName);
    if (!storedName.isEmpty() && stored >= 0)
        return int(stored);
    if (m_languageNames.isEmpty())
        return -1;
    return std::max(languageForSystemName(systemName), 0);
}

QString TMultiLanguage::Lookup(const QString& key) const {
    const QString text = m_strings.value(key.toCaseFolded());
    if (!text.isEmpty() || this == &builtInEnglish())
        return text;
    return builtInEnglish().Lookup(key);
}

QString TMultiLanguage::translation(const QString& caption) const {
    return m_translations.value(caption.toCaseFolded());
}

QStringList TMultiLanguage::sectionNames() const {
    QStringList names;
    for (const Section& section : m_sections)
        names << section.name;
    return names;
}

QList<LanguageEntry> TMultiLanguage::section(const QString& name) const {
    QList<LanguageEntry> entries;
    const Section* found = findSection(name);
    if (!found || m_language < 0)
        return entries;
    for (const QStringList& line : found->lines)
        entries.append({line[0], unescape(valueForLanguage(line, m_language))});
    return entries;
}

QString TMultiLanguage::valueForLanguage(const QStringList& line, int language) {
    const qsizetype valueCount = line.size() - 1;
    if (valueCount <= 0)
        return {};
    const QString value = line[1 + std::min<qsizetype>(language, valueCount - 1)];
    return value.isEmpty() ? line[1] : value;
}

QHash<QString, QString> TMultiLanguage::keyTable(const QList<LanguageEntry>& entries) {
    QHash<QString, QString> table;
    for (const auto& [key, value] : entries)
        if (!table.contains(key.toCaseFolded())) // the first of two equal keys counts
            table.insert(key.toCaseFolded(), value);
    return table;
}

const TMultiLanguage& TMultiLanguage::builtInEnglish() {
    static const TMultiLanguage english = [] {
        TMultiLanguage translator;
        // The resource holds the plain text, which loadData expects scrambled.
        QFile file(kBuiltInEnglish);
        if (file.open(QIODevice::ReadOnly))
            translator.loadData(scramble(file.readAll()));
        translator.setLanguage(0);
        return translator;
    }();
    return english;
}

const TMultiLanguage::Section* TMultiLanguage::findSection(const QString& name) const {
    for (const Section& section : m_sections)
        if (section.name.compare(name, Qt::CaseInsensitive) == 0)
            return &section;
    return nullptr;
}

QString lookupText(const QString& key) {
    static const TMultiLanguage none;
    return (g_translator ? g_translator : &none)->Lookup(key);
}

void setApplicationTranslator(const TMultiLanguage* translator) {
    g_translator = translator;
}

} // namespace settings

#include "namebuilder.h"

#include "templatevars.h"

#include "tags/audiofile.h"

namespace operations {

namespace {

const QString kBrackets = QStringLiteral("()[]{}");

bool isReservedCharacter(QChar c) {
    static const QString kReserved = QStringLiteral("/\\:*?\"<>|");
    return c.unicode() < 0x20 || c.unicode() == 0x7f || kReserved.contains(c);
}

bool isBlank(const QString& text) {
    return text.trimmed().isEmpty();
}

/// Cuts the template into pieces so that literal text around empty fields goes away.
class PieceBuilder {
public:
    PieceBuilder(tags::TMP3& file, const TVarScript& script) : m_file(file), m_script(script) {}

    QString build(const QString& text) {
        for (qsizetype i = 0; i < text.size();) {
            if (text[i] == QLatin1Char('#'))
                i = takeVariable(text, i);
            else if (kBrackets.contains(text[i]))
                i = takeBracket(text, i);
            else
                m_buffer += text[i++];
        }
        if (!m_lastValueEmpty)
            m_pieces += m_buffer;
        return m_pieces.join(QString());
    }

private:
    qsizetype takeVariable(const QString& text, qsizetype at) {
        const std::optional<TVN> variable = findVariable(QStringView(text).mid(at));
        // An unknown code gives an empty value.
        const QString value =
            variable ? sanitizeFileName(m_script.GetValue(*variable, m_file)) : QString();
        if (!m_buffer.isEmpty() && !value.isEmpty() && !m_pieces.isEmpty())
            m_pieces += m_buffer;
        m_buffer.clear();
        if (!value.isEmpty())
            m_pieces += value;
        m_lastValueEmpty = value.isEmpty();
        return at + kCodeLength;
    }

    qsizetype takeBracket(const QString& text, qsizetype at) {
        m_buffer += text[at++];
        while (at < text.size() - 1 && text[at] == QLatin1Char(' '))
            m_buffer += text[at++];
        if (!isBlank(m_buffer))
            m_pieces += m_buffer;
        m_buffer.clear();
        return at;
    }

    tags::TMP3& m_file;
    const TVarScript& m_script;
    QStringList m_pieces;
    QString m_buffer;
    bool m_lastValueEmpty = false;
};

/// Removes every bracket pair of one kind that encloses only blanks.
QString removeEmptyBrackets(QString name, QChar open, QChar close) {
    qsizetype from = 0;
    while ((from = name.indexOf(open, from)) >= 0) {
        const qsizetype end = name.indexOf(close, from + 1);
        if (end < 0)
            break;
        if (isBlank(name.mid(from + 1, end - from - 1))) {
            name.remove(from, end - from + 1);
            from = 0;
        } else {
            ++from;
        }
    }
    return name;
}

/// One slot of a quick-rename scheme.
struct QuickSlot {
    int field;
    int style;
    bool enabled;
};

QuickSlot quickSlot(const QString& scheme, int slot) {
    const QString digits = scheme.mid(slot * 3, 3);
    if (digits.size() < 3 ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
        return {slot, 0, slot == 0 || slot == 2};
    return {digits[0].digitValue(), digits[1].digitValue(), digits[2] == QLatin1Char('1')};
}

QString quickValue(tags::TMP3& file, int field) {
    static const tags::Field kFields[] = {tags::Field::Artist, tags::Field::Album,
                                          tags::Field::Title,  tags::Field::Year,
                                          tags::Field::Track,  tags::Field::Comment};
    if (field < 0 || field > 5)
        return {};
    if (kFields[field] == tags::Field::Track) {
        const int track = file.Track();
        return track > 0 ? QStringLiteral("%1").arg(track, 2, 10, QLatin1Char('0')) : QString();
    }
    return file.get(kFields[field]).trimmed();
}

} // namespace

bool QuickRename(tags::TMP3& file, const QString& scheme, const NameOptions& options) {
    QString name;
    QString pending;
    bool hasPending = false;
    for (int slot = 0; slot < 6; ++slot) {
        const QuickSlot quick = quickSlot(scheme, slot);
        QString value = sanitizeFileName(quickValue(file, quick.field));
        if (!quick.enabled || value.isEmpty())
            continue;
        if (hasPending)
            name += quick.style != 0 ? QStringLiteral(" ") : pending;
        pending = quick.style == 0 ? options.separator : QStringLiteral(" ");
        hasPending = true;
        if (quick.style >= 1 && quick.style <= 3)
            value = kBrackets[(quick.style - 1) * 2] + value + kBrackets[(quick.style - 1) * 2 + 1];
        name += value;
    }
    name = name.trimmed();
    if (options.spaceToUnderscore)
        name.replace(QLatin1Char(' '), QLatin1Char('_'));
    if (options.lowercase)
        name = name.toLower();
    if (options.encodePercent)
        name = encodePercent(name);
    name = sanitizeFileName(name).trimmed();
    if (!isUsableFileName(name))
        return false;
    file.setFileName(name);
    return true;
}

QString sanitizeFileName(const QString& text) {
    QString clean;
    clean.reserve(text.size());
    for (QChar c : text)
        if (!isReservedCharacter(c))
            clean += c;
    return clean;
}

bool isUsableFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..");
}

QString encodePercent(const QString& name) {
    QString encoded = name;
    return encoded.replace(QLatin1Char(' '), QLatin1String("%20"));
}

QString buildNameFromTemplate(tags::TMP3& file, const QString& templateText,
                              const NameOptions& options) {
    TVarScript script(options.versionValues);
    script.UnknownIfEmpty = options.unknownIfEmpty;
    QString name = options.unknownIfEmpty
                       ? script.ReplaceByValues(templateText, file, nullptr, sanitizeFileName)
                       : PieceBuilder(file, script).build(templateText);
    for (int i = 0; i < kBrackets.size(); i += 2)
        name = removeEmptyBrackets(name, kBrackets[i], kBrackets[i + 1]);
    // Trimmed before the blank conversions, so that no trailing "_" or "%20" survives.
    name = name.trimmed();
    if (options.spaceToUnderscore)
        name.replace(QLatin1Char(' '), QLatin1Char('_'));
    if (options.encodePercent)
        name = encodePercent(name);
    if (options.lowercase)
        name = name.toLower();
    name = sanitizeFileName(name).trimmed();
    return isUsableFileName(name) ? name : QString();
}

bool RenameByTemplate(tags::TMP3& file, const QString& templateText, const NameOptions& options) {
    const QString name = buildNameFromTemplate(file, templateText, options);
    if (name.isEmpty())
        return false;
    file.setFileName(name);
    return true;
}

void SwapByTemplate(tags::TMP3& file, const QString& templateText, bool versionValues) {
    QStringList codes;
    for (qsizetype at = templateText.indexOf(QLatin1Char('#')); at >= 0;
         at = templateText.indexOf(QLatin1Char('#'), at + kCodeLength))
        codes << templateText.mid(at, kCodeLength);
    const TVarScript script(versionValues);
    for (qsizetype i = 0; i + 1 < codes.size(); i += 2)
        script.SwapValues(codes[i], codes[i + 1], file);
}

} // namespace operations

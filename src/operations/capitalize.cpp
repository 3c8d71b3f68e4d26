#include "capitalize.h"

#include "tags/audiofile.h"

namespace operations {

namespace {

bool isWordDelimiter(QChar c) {
    static const QString kDelimiters =
        QStringLiteral(" ;-_()[]{}.,!<>\"") + QChar(0xBF) + QChar(0xA1);
    return c.isDigit() || kDelimiters.contains(c);
}

bool isListed(const QString& word, const QStringList& list) {
    return list.contains(word, Qt::CaseInsensitive);
}

bool isOnlyLetterI(const QString& word) {
    return word.size() >= 2 &&
           std::all_of(word.begin(), word.end(), [](QChar c) { return c == QLatin1Char('i'); });
}

QString capitalizedWord(const QString& word, bool firstWord, const QStringList& lowerWords,
                        const QStringList& upperWords, bool firstOnly, bool noForceUpper) {
    if (isListed(word, upperWords))
        return word.toUpper();
    if (isListed(word, lowerWords))
        return word;
    QString result = word;
    if (firstWord || !firstOnly)
        result[0] = result[0].toUpper();
    if (!noForceUpper && (isOnlyLetterI(word) || word.size() == 1))
        result = result.toUpper();
    return result;
}

} // namespace

QString CapitalizeText(const QString& text, const QStringList& lowerWords,
                       const QStringList& upperWords, bool firstOnly, bool noForceUpper) {
    QString result = text.toLower();
    bool firstWord = true;
    for (qsizetype start = 0; start < result.size();) {
        if (isWordDelimiter(result[start])) {
            ++start;
            continue;
        }
        qsizetype end = start;
        while (end < result.size() && !isWordDelimiter(result[end]))
            ++end;
        const QString word = capitalizedWord(result.mid(start, end - start), firstWord, lowerWords,
                                             upperWords, firstOnly, noForceUpper);
        result.replace(start, end - start, word);
        firstWord = false;
        start = end;
    }
    if (!result.isEmpty())
        result[0] = result[0].toUpper();
    return result;
}

QString CapitalizeText(const QString& text, const CapitalizeOptions& options) {
    return CapitalizeText(text, options.lowerWords, options.upperWords, options.firstOnly,
                          options.noForceUpper);
}

void CapitalizeTag(tags::TMP3& file, const CapitalizeOptions& options) {
    for (const tags::Field field : {tags::Field::Artist, tags::Field::Title, tags::Field::Album}) {
        const QString value = file.get(field);
        const QString capitalized = CapitalizeText(value, options);
        if (capitalized != value)
            file.set(field, capitalized);
    }
}

} // namespace operations

#include "filenameparser.h"

#include "namebuilder.h"
#include "templatevars.h"

#include "tags/audiofile.h"

namespace operations {

namespace {

const QString kChoice = QStringLiteral("|");

bool isVariableToken(const QString& token) {
    return token.startsWith(QLatin1Char('#'));
}
/// A literal may also start with an unclosed quote, so both quotes are checked.
bool isQuotedToken(const QString& token) {
    return token.size() >= 2 && token.startsWith(QLatin1Char('"')) &&
           token.endsWith(QLatin1Char('"'));
}

/// The separators that can take part: an empty one would match everywhere.
QStringList usableSeparators(const QStringList& separators) {
    QStringList usable;
    for (const QString& separator : separators)
        if (!separator.isEmpty())
            usable << separator;
    return usable;
}

QString stripTrailingSeparators(QString text, const QStringList& separators) {
    for (const QString& separator : separators)
        if (text.endsWith(separator))
            text.chop(separator.size());
    return text;
}

QString stripLeadingSeparators(QString text, const QStringList& separators) {
    for (const QString& separator : separators)
        if (text.startsWith(separator))
            text.remove(0, separator.size());
    return text;
}

/// Replaces each "|" by the separator that occurs first in what is left of `text`.
void resolveChoices(QStringList& tokens, QString text, const QStringList& separators) {
    for (QString& token : tokens) {
        if (token != kChoice)
            continue;
        qsizetype best = -1;
        QString chosen;
        for (const QString& separator : separators) {
            const qsizetype at = text.indexOf(separator);
            if (at >= 0 && (best < 0 || at <= best)) {
                best = at;
                chosen = separator;
            }
        }
        if (best >= 0) {
            token = chosen;
            text.remove(best, chosen.size());
        }
    }
}

/// One variable matched against the text.
struct Match {
    QString code;
    QString value;
    QString delimiter; ///< empty when the variable took the rest of the text
};

/// Walks the tokens with a cursor over `text`: each variable takes the text up to its
/// delimiter (the next token), or the rest when the delimiter does not occur.
QList<Match> matchTokens(const QStringList& tokens, const QString& text) {
    QList<Match> matches;
    qsizetype cursor = 0;
    for (qsizetype i = 0; i + 1 < tokens.size(); ++i) {
        if (!isVariableToken(tokens[i]))
            continue;
        // The end marker is never searched: a name on this system may hold a colon.
        const bool atEnd = i + 1 == tokens.size() - 1;
        const QString& delimiter = tokens[i + 1];
        const qsizetype at = atEnd || delimiter.isEmpty() ? -1 : text.indexOf(delimiter, cursor);
        if (at < 0) {
            matches.append({tokens[i], text.mid(cursor), atEnd ? QString() : delimiter});
            break;
        }
        matches.append({tokens[i], text.mid(cursor, at - cursor), delimiter});
        cursor = at + delimiter.size();
    }
    return matches;
}

/// The last `levels` folder names and the file name, joined by "\".
QString nameWithFolders(tags::TMP3& file, qsizetype levels) {
    QStringList parts = file.NewFileDir().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    parts << file.FileName();
    return parts.mid(qMax<qsizetype>(0, parts.size() - levels - 1)).join(QLatin1Char('\\'));
}

void flushLiteral(QString& buffer, QStringList& tokens) {
    if (!buffer.trimmed().isEmpty())
        tokens << buffer;
    buffer.clear();
}

QString collapseDoubleBlanks(QString text) {
    while (text.contains(QLatin1String("  ")))
        text.replace(QLatin1String("  "), QLatin1String(" "));
    return text;
}

QString stripLeadingJunk(const QString& text) {
    qsizetype from = 0;
    while (from < text.size() && QStringLiteral(" -.").contains(text[from]))
        ++from;
    return text.mid(from);
}

/// Number of leading digits when they form a track number (one to three digits that end
/// the name or are followed by a blank, "-" or ".").
qsizetype leadingTrackDigits(const QString& name) {
    qsizetype digits = 0;
    while (digits < name.size() && name[digits].isDigit())
        ++digits;
    if (digits == 0 || digits > 3)
        return 0;
    return digits == name.size() || QStringLiteral(" -.").contains(name[digits]) ? digits : 0;
}

/// Cuts the next piece off the front of `name`.
QString takePiece(QString& name, const QStringList& separators) {
    name = stripLeadingJunk(collapseDoubleBlanks(name));
    QString piece;
    static const QString kPairs = QStringLiteral("()[]{}");
    for (int i = 0; i < kPairs.size() && piece.isNull(); i += 2) {
        const qsizetype close = name.indexOf(kPairs[i + 1]);
        if (name.startsWith(kPairs[i]) && close > 0) {
            piece = name.mid(1, close - 1);
            name.remove(0, close + 1);
        }
    }
    if (piece.isNull()) {
        if (const qsizetype digits = leadingTrackDigits(name); digits > 0) {
            piece = name.left(digits);
            name.remove(0, digits);
        } else {
            piece = name;
            name.clear();
            for (const QString& separator : separators) {
                const qsizetype at = piece.indexOf(separator);
                if (at >= 0) {
                    name = piece.mid(at + separator.size());
                    piece.truncate(at);
                    break;
                }
            }
        }
    }
    name = stripLeadingJunk(name);
    return piece;
}

bool isTrackPiece(const QString& piece) {
    const QString trimmed = piece.trimmed();
    return !trimmed.isEmpty() && trimmed.size() <= 3 &&
           std::all_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isDigit(); });
}

/// Cuts a trailing bracket group off a title; the group's text is the comment.
QString cutComment(QString& title) {
    static const QString kPairs = QStringLiteral("()[]{}");
    for (int i = 0; i < kPairs.size(); i += 2) {
        const qsizetype open = title.indexOf(kPairs[i]);
        if (title.endsWith(kPairs[i + 1]) && open >= 0) {
            const QString comment = title.mid(open + 1, title.size() - open - 2);
            title.truncate(open);
            return comment;
        }
    }
    return {};
}

} // namespace

QStringList TokenizeTemplate(const QString& templateText) {
    QStringList tokens;
    QString buffer;
    for (qsizetype i = 0; i < templateText.size();) {
        const QChar c = templateText[i];
        const qsizetype closingQuote =
            c == QLatin1Char('"') ? templateText.indexOf(QLatin1Char('"'), i + 1) : -1;
        if (closingQuote > 0) {
            flushLiteral(buffer, tokens);
            tokens << templateText.mid(i, closingQuote - i + 1);
            i = closingQuote + 1;
        } else if (c == QLatin1Char('#')) {
            flushLiteral(buffer, tokens);
            tokens << templateText.mid(i, kCodeLength);
            i += kCodeLength;
        } else if (QStringLiteral("*?\\").contains(c)) {
            flushLiteral(buffer, tokens);
            tokens << QString(c);
            ++i;
        } else if (c == QLatin1Char('|')) {
            flushLiteral(buffer, tokens);
            tokens << kChoice;
            while (i < templateText.size() &&
                   (templateText[i] == QLatin1Char('|') || templateText[i] == QLatin1Char(' ')))
                ++i;
        } else {
            buffer += c;
            ++i;
        }
    }
    // A literal after the last special token takes no part.
    tokens << kEndMarker;
    return tokens;
}

void GenerateFromName(tags::TMP3& file, const QStringList& tokenList,
                      const QStringList& separatorList) {
    const QStringList separators = usableSeparators(separatorList);
    QStringList tokens = tokenList;
    QString text = nameWithFolders(file, tokens.count(QStringLiteral("\\")));
    if (tokens.size() >= 2 && tokens[tokens.size() - 2] == QLatin1String("\\"))
        text.truncate(qMax<qsizetype>(0, text.lastIndexOf(QLatin1Char('\\'))));
    if (text.isEmpty() || tokens.size() < 2)
        return;
    if (tokens.contains(kChoice)) {
        text = stripTrailingSeparators(text, separators);
        resolveChoices(tokens, text, separators);
    }
    // Quoted texts name parts of the name that are skipped.
    for (qsizetype i = tokens.size() - 1; i >= 0; --i) {
        if (!isQuotedToken(tokens[i]))
            continue;
        const QString inner = tokens.takeAt(i).mid(1).chopped(1);
        if (const qsizetype at = text.indexOf(inner); at >= 0 && !inner.isEmpty())
            text.remove(at, inner.size());
    }
    const TVarScript script;
    for (const Match& match : matchTokens(tokens, text))
        script.SetValue(match.code, match.value, file);
}

void ExtractFromName(tags::TMP3& file, const QStringList& tokenList,
                     const QStringList& separatorList) {
    const QStringList separators = usableSeparators(separatorList);
    QStringList tokens = tokenList;
    QString text = file.FileName();
    const bool stripped = tokens.contains(kChoice);
    if (stripped)
        text = stripLeadingSeparators(stripTrailingSeparators(text, separators), separators);
    tokens.insert(qMax<qsizetype>(0, tokens.size() - 1), kChoice);
    resolveChoices(tokens, text, separators);
    QString remainder = text;
    QString lastValue;
    const TVarScript script;
    for (const Match& match : matchTokens(tokens, text)) {
        if (findVariable(match.code) != TVN::vAny) {
            const qsizetype at = remainder.indexOf(match.value + match.delimiter);
            if (at >= 0)
                remainder.remove(at, match.value.size() + match.delimiter.size());
        }
        script.SetValue(match.code, match.value, file);
        lastValue = match.value;
    }
    QString name = !remainder.isEmpty() ? remainder : lastValue;
    if (stripped)
        name = stripLeadingSeparators(stripTrailingSeparators(name, separators), separators);
    if (isUsableFileName(sanitizeFileName(name)))
        file.setFileName(name);
}

void AutoGenerate(tags::TMP3& file, const ParseOptions& options) {
    QStringList separators;
    for (const QString& separator : usableSeparators(options.separators))
        if (std::none_of(separator.begin(), separator.end(),
                         [](QChar c) { return QStringLiteral("{}[]()").contains(c); }))
            separators << separator;
    QStringList pieces;
    for (QString name = file.FileName(); !stripLeadingJunk(name).isEmpty();)
        pieces << takePiece(name, separators);
    static const char* const kPositions[] = {"#Art", "#Alb", "#Com"};
    const TVarScript script;
    int position = 0;
    bool haveTrack = false;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QString piece = pieces[i];
        if (isTrackPiece(piece) && !haveTrack) {
            script.SetValue(u"#Tra", piece.trimmed(), file);
            haveTrack = true;
        } else if (i + 1 < pieces.size()) {
            if (position < 3)
                script.SetValue(QString::fromLatin1(kPositions[position]), piece, file);
            ++position;
        } else {
            if (!options.disableCommentExtraction)
                script.SetValue(u"#Com", cutComment(piece), file);
            script.SetValue(u"#Tit", piece, file);
        }
    }
}

QString CorrectSeparator(const QString& name) {
    QString result = name;
    result.replace(QLatin1String(" -- "), QLatin1String(" - "));
    if (result.count(QLatin1Char('-')) == 1) {
        const qsizetype dash = result.indexOf(QLatin1Char('-'));
        if (dash + 1 >= result.size() || result[dash + 1] != QLatin1Char(' '))
            result.insert(dash + 1, QLatin1Char(' '));
        if (dash == 0 || result[dash - 1] != QLatin1Char(' '))
            result.insert(dash, QLatin1Char(' '));
    }
    return collapseDoubleBlanks(result);
}

QString PrepareName(const QString& name, bool strict, const ParseOptions& options) {
    QString result = options.keepDoubleSpaces ? name : collapseDoubleBlanks(name);
    if (!options.disableBangSRemoval && result.endsWith(QLatin1String("!!s")))
        result.chop(3);
    if (!options.disableUnderscoreConversion) {
        if (!result.contains(QLatin1Char(' ')))
            result.replace(QLatin1Char('_'), QLatin1Char(' '))
                .replace(QLatin1String("%20"), QLatin1String(" "));
        if (!result.contains(options.filenameSeparator) && result.contains(QLatin1Char('_')))
            result.replace(QLatin1Char('_'), options.filenameSeparator);
    }
    if (strict && !result.contains(options.filenameSeparator))
        result = CorrectSeparator(result);
    return result;
}

} // namespace operations

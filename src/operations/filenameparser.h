#pragma once

#include <QStringList>

namespace tags {
class TMP3;
}

namespace operations {

/// The options that file-name parsing reads, with their delivered defaults.
struct ParseOptions {
    /// What a "|" in a template may stand for (lstSeparators).
    QStringList separators = {QStringLiteral(" - "), QStringLiteral("{"), QStringLiteral("}"),
                              QStringLiteral("["),   QStringLiteral("]"), QStringLiteral("("),
                              QStringLiteral(")")};
    QString filenameSeparator = QStringLiteral(" - ");
    bool disableUnderscoreConversion = false;
    bool disableCommentExtraction = false;
    bool disableBangSRemoval = false; ///< "Disable !!s removal from the end"
    bool keepDoubleSpaces = false;    ///< "Do not remove double spaces"
};

/// The token that ends every token list; it never matches any text.
inline const QString kEndMarker = QStringLiteral(":");

/// Cuts a parsing template into tokens: variables ("#art"), literals, quoted texts, "|",
/// "\", "*", "?" and the end marker. A double quote without a closing one is literal text.
QStringList TokenizeTemplate(const QString& templateText);

/// Sets the fields that the template finds in the file's name and, for each "\" in the
/// template, in one more of its parent folder names.
void GenerateFromName(tags::TMP3& file, const QStringList& tokens, const QStringList& separators);
/// Like GenerateFromName on the name alone, and also removes what it read from the name.
void ExtractFromName(tags::TMP3& file, const QStringList& tokens, const QStringList& separators);
/// Guesses track, artist, album, comment and title from the name without a template.
void AutoGenerate(tags::TMP3& file, const ParseOptions& options);

/// Tidies a name before parsing: blanks, underscores, "%20" and, when `strict`, the
/// separator between artist and title.
QString PrepareName(const QString& name, bool strict, const ParseOptions& options);
/// Exactly one blank on each side of a single "-".
QString CorrectSeparator(const QString& name);

} // namespace operations

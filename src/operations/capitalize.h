#pragma once

#include <QStringList>

namespace tags {
class TMP3;
}

namespace operations {

/// The capitalisation options of the options dialog, with their delivered defaults.
struct CapitalizeOptions {
    QStringList lowerWords =
        QStringLiteral("a in of the on it aka to at vs feat").split(QLatin1Char(' '));
    QStringList upperWords =
        QStringLiteral("I ATB UB40 U2 NRG ZZ OMD A1 U96 2XLC JJ BB II ABC AFI USM DJ FC KD MC "
                       "PM POD REM DMC TLC XTC")
            .split(QLatin1Char(' '));
    bool firstOnly = false;    ///< "Capitalize first word only"
    bool noForceUpper = false; ///< "Disable AI force uppercase"
};

/// Title case: every word starts with a capital except the listed lower-case words, listed
/// upper-case words are all capitals, and the text always starts with a capital.
QString CapitalizeText(const QString& text, const QStringList& lowerWords,
                       const QStringList& upperWords, bool firstOnly, bool noForceUpper);
QString CapitalizeText(const QString& text, const CapitalizeOptions& options);
/// Capitalises the artist, title and album of a file's tags.
void CapitalizeTag(tags::TMP3& file, const CapitalizeOptions& options);

} // namespace operations

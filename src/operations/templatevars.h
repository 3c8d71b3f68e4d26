#pragma once

#include "tags/fields.h"

#include <QString>
#include <QStringList>

#include <bitset>
#include <functional>
#include <optional>

namespace tags {
class TMP3;
}

namespace operations {

/// The template variables, in the order substitution visits them. A variable is written
/// in a template as "#" and the three letters after the v ("#Art").
enum class TVN {
    vNam,
    vDir,
    vArt,
    vTit,
    vAlb,
    vTra,
    vGen,
    vCom,
    vBps,
    vYea,
    vLen,
    vSiz,
    vFdt,
    vLan,
    vBpm,
    vExt,
    vCmp,
    vCon,
    vSub,
    vCnt,
    vRem,
    vBan,
    vOar,
    vOal,
    vIke,
    vPos,
    vPld,
    vOye,
    vCor,
    vCur,
    vMoo,
    vSit,
    vTem,
    vPat,
    vUsr,
    vCou,
    vLes,
    vNil,
    vAny,
    vOly,
    vPub,
    vCot,
    vIsr,
    vLyr,
    vFur,
    vSur,
    vAur,
    vEnb,
    vEns,
    vEnt,
    vOfn,
    vRsn,
    vRso,
    vWri
};
constexpr int kVariableCount = int(TVN::vWri) + 1;
/// Every code is "#" plus three characters.
constexpr int kCodeLength = 4;

/// The code of a variable as stored in templates ("#Art").
QString variableCode(TVN variable);
/// The readable name of a variable ("Artist").
QString variableCaption(TVN variable);
/// The variable whose code matches the first four characters of `text`, any case.
std::optional<TVN> findVariable(QStringView text);
/// The tag field a variable reads and writes, if it is a tag field.
std::optional<tags::Field> variableField(TVN variable);
/// Whether a generated value can be written back into the variable's field.
bool isAssignable(TVN variable);

/// Reads and writes template variables on one audio file object.
class TVarScript {
public:
    explicit TVarScript(bool versionValues = false) : VersionValues(versionValues) {}

    int Counter = 0;
    bool UnknownIfEmpty = false;
    /// Format text for empty values; "%1" receives the variable's caption.
    QString UnknownText = QStringLiteral("Unknown %1");
    QString UserText;
    /// Artist, title, album, track, genre, comment and year read with the fallback to the
    /// other ID3 version (the main window's common mode).
    bool VersionValues = false;
    /// Joins captions and the fields of a record line.
    QString Separator = QStringLiteral(",");
    /// In a record line, a separator right after another one is dropped (empty fields).
    bool CollapseSeparators = false;

    bool IsVariable(QStringView code) const { return findVariable(code).has_value(); }
    /// The variable's value, trimmed; the unknown text when empty and UnknownIfEmpty is set.
    QString GetValue(TVN variable, tags::TMP3& file) const;
    /// The unknown text for one variable.
    QString unknownValue(TVN variable) const { return UnknownText.arg(variableCaption(variable)); }
    /// Writes `text` into the field of an assignable variable; others are ignored.
    void SetValue(QStringView code, const QString& text, tags::TMP3& file) const;
    /// Exchanges the fields of two known, assignable variables.
    void SwapValues(QStringView codeA, QStringView codeB, tags::TMP3& file) const;
    /// Reads a variable from one file and assigns it to another (tag paste).
    void CopyValue(tags::TMP3& source, tags::TMP3& target, QStringView code) const;
    void IncCounter() { ++Counter; }

    // --- the variables an operation offers (export, paste) ---
    /// Sets every variable to !flag, then the comma-separated codes to flag.
    void EnableVariables(bool flag, const QString& commaList);
    bool isEnabled(TVN variable) const { return m_enabled.test(size_t(variable)); }
    int EnabledCount() const { return int(m_enabled.count()); }
    QString EnabledCaptions() const;
    QString EnabledCodes() const;
    QList<TVN> ListEnabled() const;
    /// The next enabled variable after the last one returned, wrapping round; nothing when
    /// none is enabled.
    std::optional<TVN> NextEnabled();
    /// The values of the enabled variables, each followed by the separator, with the last
    /// separator dropped (a line of an export).
    QString RecordLine(tags::TMP3& file) const;
    /// Every code replaced by its caption, for showing a template in readable form.
    QString ReplaceByCaptions(const QString& text) const;

    /// Replaces every code in one left-to-right pass, so that a value that happens to
    /// contain a code is never expanded again. `hadEmpty` reports a code with an empty value;
    /// `filter` (when given) transforms each value before it is inserted.
    QString ReplaceByValues(const QString& text, tags::TMP3& file, bool* hadEmpty = nullptr,
                            const std::function<QString(const QString&)>& filter = {}) const;

private:
    QString rawValue(TVN variable, tags::TMP3& file) const;

    std::bitset<kVariableCount> m_enabled;
    int m_cursor = -1;
};

/// Walks a template once from left to right: `variable` is called for each known code,
/// `literal` for every other character.
void walkTemplate(const QString& text, const std::function<void(TVN)>& variable,
                  const std::function<void(QChar)>& literal);

} // namespace operations

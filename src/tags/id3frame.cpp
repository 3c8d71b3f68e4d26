#include "id3frame.h"

#include "bytecursor.h"
#include "genres.h"
#include "id3framelayout.h"

#include <QRegularExpression>
#include <QUrl>
#include <optional>

namespace tags {

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

QString cutAtNul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString latin1Field(QByteArrayView bytes) {
    return cutAtNul(QString::fromLatin1(bytes));
}

/// URLs are Latin-1 by the standard; characters beyond it are percent-encoded (UTF-8) so that
/// nothing is lost.
QByteArray urlBytes(const QString& text) {
    QByteArray out;
    for (QChar c : text) {
        if (c.unicode() <= 0xFF)
            out += char(c.unicode());
        else
            out += QUrl::toPercentEncoding(QString(c));
    }
    return out;
}

/// The language field: exactly three characters, NUL-padded or cut.
QByteArray languageBytes(const QString& language) {
    return language.left(3).toLatin1().leftJustified(3, '\0');
}

/// URL frames other than WXXX: Latin-1 without an encoding byte. Older Varlo versions wrote an
/// encoding byte, so a leading NUL is skipped.
QString urlFrameText(const QByteArray& body) {
    return latin1Field(body.startsWith('\0') ? QByteArrayView(body).sliced(1) : body);
}

QString commentText(const EncodedFrame& parts, bool trailingBreak) {
    const QString text = latin1Field(parts.head) + kLineBreak + parts.strings.value(0) +
                         kLineBreak + cutAtNul(parts.strings.value(1));
    return trailingBreak ? text + kLineBreak : text;
}

QString pictureText(TID3Frame& frame, const EncodedFrame& parts) {
    frame.pictureStart = parts.tailStart();
    const QString mime = latin1Field(parts.head);
    const int type = parts.head.size() > mime.size() + 1 ? quint8(parts.head.back()) : 0;
    return mime + kLineBreak + QString::number(type) + kLineBreak + parts.strings.value(0) +
           kLineBreak;
}

QString involvedPeopleText(const EncodedFrame& parts) {
    QString text;
    for (const QString& name : parts.strings) {
        if (name.isEmpty())
            break;
        text += name + kLineBreak;
    }
    return text;
}

QByteArray encodedStrings(const QStringList& strings, bool terminateLast) {
    const quint8 encoding = Id3EncodingFor(strings.join(QString()));
    QByteArray body(1, char(encoding));
    for (qsizetype i = 0; i < strings.size(); ++i) {
        body += EncodeId3Text(encoding, strings[i]);
        if (terminateLast || i + 1 < strings.size())
            body += Id3Terminator(encoding);
    }
    return body;
}

QString withoutTrailingBreaks(QString text) {
    while (text.endsWith('\r') || text.endsWith('\n'))
        text.chop(1);
    return text;
}

QByteArray counterBody(const QString& text) {
    bool ok = false;
    const quint64 value = text.trimmed().toULongLong(&ok);
    QByteArray body;
    AppendBE(body, value > 0xFFFFFFFFu ? 8 : 4, ok ? value : 0);
    return body;
}

/// The new body for a text form, or nothing for ids whose body SetFrameText leaves alone.
std::optional<QByteArray> bodyForText(const TID3Frame& frame, const QByteArray& id,
                                      const QString& text) {
    const QStringList lines = SplitTextForm(text);
    if (id == "WXXX") {
        const QString description = UserFrameDescription(frame);
        return encodedStrings({description}, true) + urlBytes(text);
    }
    if (IsUrlFrameId(id))
        return urlBytes(text);
    if (id == "TXXX")
        return encodedStrings({UserFrameDescription(frame), text}, false);
    if (id.startsWith('T'))
        return encodedStrings({text}, false);
    if (id == "PCNT")
        return counterBody(text);
    if (id == "COMM") {
        const QString rest = withoutTrailingBreaks(lines.mid(2).join(kLineBreak));
        const QByteArray strings = encodedStrings({lines.value(1), rest}, false);
        return strings.left(1) + languageBytes(lines.value(0)) + strings.mid(1);
    }
    if (id == "USLT") {
        QString lyrics;
        for (const QString& line : lines.mid(2))
            lyrics += line + '\n';
        const QByteArray strings = encodedStrings({lines.value(1), lyrics}, true);
        return strings.left(1) + languageBytes(lines.value(0)) + strings.mid(1);
    }
    if (id == "PRIV")
        return (frame.opaque ? QByteArray() : frame.body) + text.toLatin1();
    if (id == "IPLS")
        return encodedStrings(lines, true);
    if (id == "RVRB")
        return text.toLatin1();
    return std::nullopt;
}

bool isDecimal(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,3}$"));
    return digits.match(text).hasMatch();
}

} // namespace

QStringList SplitTextForm(const QString& text) {
    QString whole = cutAtNul(text);
    if (whole.endsWith('\n') || whole.endsWith('\r'))
        whole = whole.chopped(whole.endsWith(kLineBreak) ? 2 : 1);
    QStringList lines;
    if (whole.isEmpty())
        return lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (whole[i] != '\r' && whole[i] != '\n')
            continue;
        lines << whole.mid(start, i - start);
        if (whole[i] == '\r' && i + 1 < whole.size() && whole[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines << whole.mid(start);
    return lines;
}

QString GetFrameText(TID3Frame& frame) {
    if (frame.opaque)
        return {};
    const QByteArray id = frame.id.toUpper();
    const QByteArray& body = frame.body;
    if (IsUrlFrameId(id))
        return urlFrameText(body);
    const EncodedFrame parts = EncodedFrame::split(id, body);
    if (id == "WXXX")
        return latin1Field(parts.tail);
    if (id.startsWith('T'))
        return cutAtNul(FrameValues(frame).value(0));
    if (id == "COMM" || id == "USLT")
        return commentText(parts, id == "COMM");
    if (id == "APIC")
        return pictureText(frame, parts);
    if (id == "GEOB")
        return latin1Field(parts.head) + kLineBreak + parts.strings.value(0) + kLineBreak +
               parts.strings.value(1) + kLineBreak;
    if (id == "IPLS")
        return involvedPeopleText(parts);
    if (id == "UFID")
        return TBuf(body).ReadLatin1ZString();
    if (id == "PCNT")
        return QString::number(TBuf(body).ReadBE(8));
    if (id == "PRIV" || id == "RVRB")
        return QString::fromLatin1(body);
    return QStringLiteral("<Not supported>");
}

void SetFrameText(TID3Frame& frame, const QString& text) {
    const std::optional<QByteArray> body = bodyForText(frame, frame.id.toUpper(), text);
    if (!body)
        return;
    frame.body = *body;
    if (frame.opaque) { // the new body is plain data: the old frame's coding no longer applies
        frame.opaque = false;
        frame.flags = 0;
        frame.encryptionMethod = 0;
        frame.dataLength = 0;
    }
}

QStringList FrameValues(const TID3Frame& frame) {
    if (frame.opaque)
        return {};
    const QByteArray id = frame.id.toUpper();
    if (!id.startsWith('T') && id != "IPLS")
        return {};
    const QStringList strings = EncodedFrame::split(id, frame.body).strings;
    return IsUserFrameId(id) ? strings.mid(1) : strings;
}

QString UserFrameDescription(const TID3Frame& frame) {
    if (frame.opaque)
        return {};
    return EncodedFrame::split(frame.id.toUpper(), frame.body).strings.value(0);
}

void SetUserFrameDescription(TID3Frame& frame, const QString& description) {
    const QString value = GetFrameText(frame);
    frame.body = encodedStrings({description}, true);
    if (!value.isEmpty())
        SetFrameText(frame, value);
}

void ConvertToV23Encoding(TID3Frame& frame) {
    if (frame.opaque)
        return;
    EncodedFrame parts = EncodedFrame::split(frame.id.toUpper(), frame.body);
    if (!parts.known || (parts.encoding != kUtf16BE && parts.encoding != kUtf8))
        return;
    parts.encoding = kUtf16;
    frame.body = parts.join();
    if (frame.pictureStart > 0)
        frame.pictureStart = parts.tailStart();
}

int GenreIndexOf(const TID3Frame& frame) {
    const QString text = FrameValues(frame).value(0);
    if (text.isEmpty())
        return GenreNames::kNone;
    if (isDecimal(text)) // ID3v2.4 writes the bare index
        return text.toInt() <= 255 ? text.toInt() : GenreNames::kNone;
    return GenreNames::IndexOf(text);
}

QString GenreTextOf(const TID3Frame& frame) {
    const QString whole = FrameValues(frame).value(0);
    QString text = whole;
    if (text.startsWith('(')) {
        const qsizetype close = text.indexOf(')');
        if (close >= 0)
            text = text.mid(close + 1);
    }
    const int index = GenreIndexOf(frame);
    const bool bareIndex = isDecimal(whole) && index < GenreNames::kCount;
    if (!text.isEmpty() && !bareIndex)
        return text;
    // "(RX)", "(CR)" and other references without a name stay as they are.
    return index == GenreNames::kNone ? whole : GenreNames::NameOf(index);
}

void SetGenreIndex(TID3Frame& frame, int index) {
    if (index == GenreNames::kNone)
        frame.body = QByteArray(1, '\0');
    else
        SetGenreText(frame, QStringLiteral("(%1)%2").arg(index).arg(GenreNames::NameOf(index)));
}

void SetGenreText(TID3Frame& frame, const QString& text) {
    frame.body = encodedStrings({text}, false);
    frame.opaque = false;
}

} // namespace tags

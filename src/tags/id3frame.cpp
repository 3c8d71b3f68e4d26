#include "id3frame.h"

#include "genres.h"

#include <QStringDecoder>
#include <QStringList>

namespace tags {

namespace {

QString decode(quint8 encoding, QByteArrayView bytes) {
    switch (encoding) {
    case 1:
        if (bytes.size() >= 2 && quint8(bytes[0]) == 0xFE && quint8(bytes[1]) == 0xFF)
            return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data() + 2),
                                      (bytes.size() - 2) / 2)
                .normalized(QString::NormalizationForm_C);
        [[fallthrough]];
    case 2:
        return QStringDecoder(encoding == 2 ? QStringDecoder::Utf16BE : QStringDecoder::Utf16)
            .decode(bytes);
    case 3:
        return QString::fromUtf8(bytes);
    default:
        return QString::fromLatin1(bytes);
    }
}

QString cutAtNul(QString text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

bool isUserFrame(QByteArrayView id) {
    return id.size() == 4 && id.sliced(1).compare("XXX", Qt::CaseInsensitive) == 0;
}

} // namespace

QString GetFrameText(TID3Frame& frame) {
    const QByteArray& b = frame.body;
    if (frame.id.startsWith('T') || frame.id.startsWith('W')) {
        if (b.isEmpty())
            return {};
        const quint8 enc = quint8(b[0]);
        QString text = decode(enc, QByteArrayView(b).sliced(1));
        if (isUserFrame(frame.id)) {
            const qsizetype nul = text.indexOf(QChar(0));
            text = nul < 0 ? QString() : text.mid(nul + 1);
        }
        return cutAtNul(text);
    }
    if (frame.id == "COMM") {
        if (b.size() < 4)
            return {};
        const quint8 enc = quint8(b[0]);
        const QString lang = QString::fromLatin1(QByteArrayView(b).sliced(1, 3));
        const QString rest = decode(enc, QByteArrayView(b).sliced(4));
        const qsizetype nul = rest.indexOf(QChar(0));
        const QString desc = nul < 0 ? rest : rest.left(nul);
        const QString text = nul < 0 ? QString() : cutAtNul(rest.mid(nul + 1));
        return cutAtNul(lang) + "\r\n" + desc + "\r\n" + text + "\r\n";
    }
    if (frame.id == "PRIV")
        return QString::fromLatin1(b);
    return QStringLiteral("<Not supported>");
}

void SetFrameText(TID3Frame& frame, const QString& text) {
    if (frame.id.startsWith('T') || frame.id.startsWith('W')) {
        frame.body = QByteArray(1, '\0') +
                     (isUserFrame(frame.id) ? QByteArray(1, '\0') : QByteArray()) + text.toLatin1();
        return;
    }
    if (frame.id == "COMM") {
        QStringList lines = text.split(QStringLiteral("\r\n"));
        const QString lang = lines.value(0).leftJustified(3, QChar(0), true);
        const QString desc = lines.value(1);
        QString rest = lines.mid(2).join(QStringLiteral("\r\n"));
        while (rest.endsWith('\r') || rest.endsWith('\n'))
            rest.chop(1);
        frame.body =
            QByteArray(1, '\0') + lang.toLatin1() + desc.toLatin1() + '\0' + rest.toLatin1();
        return;
    }
}

int GenreIndexOf(const TID3Frame& frame) {
    if (frame.body.size() <= 1)
        return GenreNames::kNone;
    return GenreNames::IndexOf(decode(quint8(frame.body[0]), QByteArrayView(frame.body).sliced(1)));
}

QString GenreTextOf(const TID3Frame& frame) {
    if (frame.body.size() <= 1)
        return {};
    QString text = cutAtNul(decode(quint8(frame.body[0]), QByteArrayView(frame.body).sliced(1)));
    if (text.startsWith('(')) {
        const qsizetype close = text.indexOf(')');
        if (close >= 0)
            text = text.mid(close + 1);
    }
    if (text.isEmpty())
        return GenreNames::NameOf(GenreIndexOf(frame));
    return text;
}

void SetGenreIndex(TID3Frame& frame, int index) {
    frame.body = QByteArray(1, '\0');
    if (index != GenreNames::kNone)
        frame.body += QStringLiteral("(%1)%2").arg(index).arg(GenreNames::NameOf(index)).toLatin1();
}

void SetGenreText(TID3Frame& frame, const QString& text) {
    frame.body = QByteArray(1, '\0') + text.toLatin1();
}

} // namespace tags

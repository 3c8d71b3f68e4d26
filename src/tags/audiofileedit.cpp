// Writing the unified fields and the operations that change an audio object's tags.
#include "audiofile.h"

#include "genres.h"

#include <cmath>

namespace tags {

namespace {

const char kLineBreak[] = "\r\n";
const char* const kMpegVersionNames[] = {"2.5", "?", "2", "1"};
const char* const kLayerNames[] = {"?", "I", "II", "III"};

QString collapseSpaces(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!(c == QLatin1Char(' ') && out.endsWith(QLatin1Char(' '))))
            out += c;
    return out;
}

QString formatTime(int seconds) {
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString TMP3::normalised(Field field, const QString& value) const {
    if (field == Field::Year || field == Field::Mood || field == Field::Situation)
        return value;
    const QString trimmed = value.trimmed();
    return m_options.keepDoubleSpaces ? trimmed : collapseSpaces(trimmed);
}

void TMP3::set(Field field, const QString& value) {
    ensureSynchronised();
    switch (field) {
    case Field::Genre:
        setGenre(value.trimmed().toInt());
        return;
    case Field::Track:
        setTrack(value.trimmed().toInt());
        return;
    case Field::Tempo:
        return; // read-only
    default:
        break;
    }
    const QString text = normalised(field, value);
    if (field == Field::Mood || field == Field::Situation) {
        if (m_wma && field == Field::Mood) {
            m_wmaTag.setProperty(QStringLiteral("Mood"), text);
            m_tag = true;
        } else if (MP3() && !m_wav && WorkVersion() == 2) {
            setMusicMatchField(field == Field::Mood ? "MusicMatch_Mood" : "MusicMatch_Situation",
                               text);
        }
        return;
    }
    if (mainMapping(field) || field == Field::GenreStr)
        setMainField(field, text);
    else
        setExtendedField(field, text);
}

void TMP3::setMainField(Field field, const QString& value) {
    if (m_ogg) {
        m_oggTag.setField(field == Field::GenreStr ? QStringLiteral("Genre")
                                                   : QLatin1String(mainMapping(field)->oggProperty),
                          value);
        m_tag = true;
    } else if (m_wma) {
        if (field == Field::GenreStr) {
            m_wmaTag.setGenreId(GenreNames::IndexOf(value));
            m_wmaTag.setProperty(QStringLiteral("Genre"), value);
        } else {
            m_wmaTag.setProperty(QLatin1String(mainMapping(field)->wmaProperty), value);
        }
        m_tag = true;
    } else if (MP3()) {
        if (WorkVersion() == 1) {
            setMainFieldV1(field, value);
            return;
        }
        setMainFieldV2(field, value);
        if (m_options.tagMode == TagOptions::Mixed)
            setMainFieldV1(field, value);
    }
}

void TMP3::setMainFieldV1(Field field, const QString& value) {
    if (field == Field::GenreStr)
        m_id3v1.setGenre(GenreNames::IndexOf(value));
    else
        m_id3v1.write(ID3v1Block::Field(mainMapping(field)->v1Field), value);
    m_tag = true;
}

void TMP3::setMainFieldV2(Field field, const QString& value) {
    if (field == Field::Comment)
        setID3v2Comment(value);
    else if (field == Field::GenreStr)
        SetGenreText(m_id3v2.FindOrAddFrame("TCON"), value);
    else
        SetFrameText(m_id3v2.FindOrAddFrame(mainMapping(field)->frameId), value);
    m_id3v2.modified = true;
}

void TMP3::setID3v2Comment(const QString& value) {
    TID3Frame* frame = commentFrame();
    if (value.isEmpty()) {
        if (frame)
            m_id3v2.deleteFrame(frame);
        return;
    }
    if (!frame) {
        frame = &m_id3v2.AddFrame("COMM");
        SetFrameText(*frame, QStringLiteral("eng\r\nID3v1\r\n"));
    }
    // Keep the language and description of the comment the value was read from.
    const QStringList lines = SplitTextForm(GetFrameText(*frame));
    SetFrameText(*frame,
                 lines.value(0) + kLineBreak + lines.value(1) + kLineBreak + value + kLineBreak);
}

void TMP3::setMusicMatchField(const char* description, const QString& value) {
    const QString name = QLatin1String(description);
    TID3Frame& frame = m_id3v2.FindOrAddComment(name, QStringLiteral("eng"));
    if (value.contains(QStringLiteral("musicmatch_"), Qt::CaseInsensitive))
        SetFrameText(frame, value);
    else
        SetFrameText(frame, QStringLiteral("eng") + kLineBreak + name + kLineBreak + value);
    m_id3v2.modified = true;
}

void TMP3::setExtendedField(Field field, const QString& value) {
    const ExtendedFieldMapping* mapping = extendedMapping(field);
    if (!mapping)
        return;
    if (m_ogg) {
        if (*mapping->oggProperty) {
            m_oggTag.setField(QLatin1String(mapping->oggProperty), value);
            m_tag = true;
        }
        return;
    }
    if (m_wma) {
        if (*mapping->wmaProperty) {
            m_wmaTag.setProperty(QLatin1String(mapping->wmaProperty), value);
            m_tag = true;
        }
        return;
    }
    if (!MP3() || WorkVersion() != 2)
        return;
    const bool userFrame = field == Field::Lyrics || field == Field::Contact;
    TID3Frame* frame = userFrame ? m_id3v2.FindUserFrame(mapping->frameId, QString())
                                 : m_id3v2.FindFrame(mapping->frameId);
    if (value.isEmpty()) {
        if (frame)
            m_id3v2.deleteFrame(frame);
    } else {
        if (!frame)
            frame = userFrame ? &m_id3v2.FindOrAddUserFrame(mapping->frameId, QString())
                              : &m_id3v2.AddFrame(mapping->frameId);
        SetFrameText(*frame, value);
    }
    m_id3v2.modified = true;
}

void TMP3::setGenre(int index) {
    ensureSynchronised();
    if (index < 0 || index > 255)
        index = GenreNames::kNone;
    if (m_ogg) {
        m_oggTag.setField(QStringLiteral("Genre"), GenreNames::NameOf(index));
        m_tag = true;
    } else if (m_wma) {
        m_wmaTag.setGenreId(index);
        m_wmaTag.setProperty(QStringLiteral("Genre"), GenreNames::NameOf(index));
        m_tag = true;
    } else if (MP3()) {
        const bool v2 = WorkVersion() == 2;
        if (v2) {
            SetGenreIndex(m_id3v2.FindOrAddFrame("TCON"), index);
            m_id3v2.modified = true;
        }
        if (!v2 || m_options.tagMode == TagOptions::Mixed) {
            m_id3v1.setGenre(index);
            m_tag = true;
        }
    }
}

void TMP3::setTrack(int track) {
    ensureSynchronised();
    track = qMax(track, 0);
    if (m_ogg) {
        m_oggTag.setTrack(track);
        m_tag = true;
    } else if (m_wma) {
        m_wmaTag.setTrack(track);
        m_tag = true;
    } else if (MP3()) {
        if (WorkVersion() == 1) {
            setTrackV1(track);
            return;
        }
        // Track 0 means no track: the empty frame is dropped when the tag is written.
        SetFrameText(m_id3v2.FindOrAddFrame("TRCK"),
                     track > 0 ? QString::number(track) : QString());
        m_id3v2.modified = true;
        if (m_options.tagMode == TagOptions::Mixed)
            setTrackV1(track);
    }
}

void TMP3::setTrackV1(int track) {
    if (track < 256) {
        m_id3v1.setTrackByte(track);
        m_tag = true;
    } else if (m_options.tagMode == TagOptions::ID3v1Only) {
        m_id3v1.setByteAt(ID3v1Block::kTrack, 255);
        m_tag = true;
    }
}

// --- operations ---

void TMP3::ClearID3v1() {
    m_id3v1.clear();
    m_tag = false;
}

void TMP3::CopyID3v2ToID3v1() {
    ensureSynchronised();
    if (m_ogg || m_wma)
        return;
    ClearID3v1();
    QString title = frameText("TIT2");
    if (title.isEmpty())
        title = frameText("TIT1");
    m_id3v1.write(ID3v1Block::Title, title);
    QString artist = frameText("TPE2");
    if (artist.isEmpty())
        artist = frameText("TPE1");
    m_id3v1.write(ID3v1Block::Artist, artist);
    m_id3v1.write(ID3v1Block::Album, frameText("TALB"));
    m_id3v1.write(ID3v1Block::Comment, id3v2Comment());
    if (TID3Frame* tcon = m_id3v2.FindFrame("TCON");
        tcon && GenreIndexOf(*tcon) != GenreNames::kNone)
        m_id3v1.setGenre(GenreIndexOf(*tcon));
    const int track = qMin(leadingNumber(frameText("TRCK")), 255);
    if (track > 0)
        m_id3v1.setTrackByte(track);
    m_id3v1.write(ID3v1Block::Year, frameText("TYER"));
    m_tag = true;
    setChanged(true);
}

void TMP3::CopyID3v1ToID3v2() {
    ensureSynchronised();
    for (const auto& [id, v1Field] :
         {std::pair{"TIT2", ID3v1Block::Title}, std::pair{"TALB", ID3v1Block::Album},
          std::pair{"TPE1", ID3v1Block::Artist}}) {
        const QString value = m_id3v1.read(v1Field);
        if (value.isEmpty())
            continue;
        TID3Frame& frame = m_id3v2.FindOrAddFrame(id);
        if (GetFrameText(frame).isEmpty())
            SetFrameText(frame, value);
    }
    if (m_id3v1.genre() != GenreNames::kNone)
        SetGenreIndex(m_id3v2.FindOrAddFrame("TCON"), m_id3v1.genre());
    if (const int track = m_id3v1.byteAt(ID3v1Block::kTrack); track != 0)
        SetFrameText(m_id3v2.FindOrAddFrame("TRCK"), QString::number(track));
    const QString comment = m_id3v1.read(ID3v1Block::Comment);
    if (comment.isEmpty())
        m_id3v2.DeleteComment(QStringLiteral("ID3v1"), QStringLiteral("eng"));
    else
        SetFrameText(m_id3v2.FindOrAddComment(QStringLiteral("ID3v1"), QStringLiteral("eng")),
                     QStringLiteral("eng\r\nID3v1\r\n") + comment);
    const QString year = m_id3v1.read(ID3v1Block::Year);
    if (!year.isEmpty())
        SetFrameText(m_id3v2.FindOrAddFrame("TYER"), year);
    m_id3v2.modified = true;
}

void TMP3::RemoveOggTag() {
    if (!m_ogg)
        return;
    m_oggTag.clearFields();
    m_tag = false;
}

void TMP3::RemoveWmaTag() {
    if (!m_wma)
        return;
    m_wmaTag.Clear();
    m_tag = false;
}

void TMP3::RemoveAPETag() {
    if (m_apeSize > 0)
        m_ape = false;
}

bool TMP3::IsTagless() {
    ensureSynchronised();
    if (m_wav)
        return false;
    if (m_ogg)
        return m_oggTag.IsEmpty();
    if (m_wma)
        return m_wmaTag.IsEmpty();
    return !m_tag && m_id3v2.frameCount() == 0;
}

QString TMP3::TrackText(int number) const {
    if (number <= 0)
        return {};
    return m_options.leadingZero ? QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'))
                                 : QString::number(number);
}

QString TMP3::InfoText() {
    const Stream& s = stream();
    const QString kHz = QString::number(s.SampleRate / 1000);
    if (m_ogg)
        return QStringLiteral("Ogg %1kbps, %2, %3kHz  %4")
            .arg(m_oggTag.BitRate())
            .arg(formatTime(int(std::nearbyint(m_oggTag.Duration()))), kHz, m_oggTag.ChannelMode());
    if (m_wma)
        return QStringLiteral("WMA %1kbps, %2, %3kHz  %4")
            .arg(m_wmaTag.BitRate())
            .arg(formatTime(int(m_wmaTag.Duration())), kHz, m_wmaTag.ChannelMode());
    if (m_wav)
        return QStringLiteral("WAV, %1, %2kHz  %3  ")
            .arg(formatTime(s.TimeLength), kHz, StereoModeStr());
    QString flags;
    const quint32 h = s.Header;
    const quint32 bigEndian =
        ((h & 0xFF) << 24) | ((h & 0xFF00) << 8) | ((h >> 8) & 0xFF00) | (h >> 24);
    if ((bigEndian >> 8) & 1)
        flags += QStringLiteral("Private ");
    if ((bigEndian >> 3) & 1)
        flags += QStringLiteral("Copyright ");
    if ((bigEndian >> 2) & 1)
        flags += QStringLiteral("Original ");
    return QStringLiteral("MPEG%1/L-%2, %3 %4kbps, %5, %6kHz,  %7  %8")
        .arg(QLatin1String(kMpegVersionNames[s.MpegVersion & 3]),
             QLatin1String(kLayerNames[s.LayerVersion & 3]),
             s.VBR ? QStringLiteral("VBR") : QStringLiteral("CBR"))
        .arg(s.BitRate)
        .arg(formatTime(s.TimeLength), kHz, StereoModeStr(), flags);
}

} // namespace tags

#include "oggvorbis.h"

#include "readonlyfile.h"

#include "fileio.h"
#include "oggpage.h"
#include "vorbisheaders.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>

#include <cmath>

namespace tags {

namespace {

constexpr qsizetype kIdentificationSize = 30;
constexpr QByteArrayView kSetupStart("\x05vorbis", 7);

Status openError(const QString& path, const QIODevice& file) {
    return Status::error(QFileInfo::exists(path) ? ErrorCode::OpenFailed : ErrorCode::NotFound,
                         QStringLiteral("Cannot open \"%1\": %2").arg(path, file.errorString()));
}

Status withPath(const Status& status, const QString& path) {
    return Status::error(status.code(), QStringLiteral("\"%1\": %2").arg(path, status.message()));
}

/// The header region with the new pages in place of the old Vorbis pages; pages of other
/// logical streams keep their places. Each old Vorbis page's place takes one new page, the
/// last place takes the rest.
Status layOutRegion(QIODevice& device, const VorbisHeaders& headers, const QList<OggPage>& pages,
                    QByteArray& out) {
    const qsizetype places = headers.vorbisPageCount();
    qsizetype place = 0;
    qsizetype next = 0;
    for (const VorbisHeaders::RegionPage& old : headers.region()) {
        if (!old.vorbis) {
            const QByteArray bytes = readAt(device, old.offset, old.size);
            if (bytes.size() != old.size)
                return Status::error(ErrorCode::ReadFailed,
                                     QStringLiteral("The file could not be read."));
            out += bytes;
            continue;
        }
        const qsizetype take =
            ++place == places ? pages.size() - next : qMin<qsizetype>(1, pages.size() - next);
        for (qsizetype i = 0; i < take; ++i)
            out += pages[next++].render();
    }
    return Status::success();
}

/// Everything from `from` to the end, with the sequence numbers of the later pages of
/// stream `serial` moved by `shift` (their checksums follow). Bytes that are not pages are
/// copied as they are.
Status renumberTail(QIODevice& device, qint64 from, quint32 serial, quint32 shift,
                    QByteArray& out) {
    const qint64 size = device.size();
    for (qint64 offset = from; offset < size;) {
        std::optional<OggPage> page = OggPage::read(device, offset);
        const qint64 expected = page ? page->size() : size - offset;
        QByteArray bytes;
        if (page && page->serial == serial) {
            page->sequence += shift;
            bytes = page->render();
        } else {
            bytes = readAt(device, offset, expected);
        }
        if (bytes.size() != expected)
            return Status::error(ErrorCode::ReadFailed,
                                 QStringLiteral("The file could not be read."));
        out += bytes;
        offset += bytes.size();
    }
    return Status::success();
}

} // namespace

void TOggVorbis::Clear() {
    const bool keepEmptyFields = KeepEmptyFields;
    *this = TOggVorbis();
    KeepEmptyFields = keepEmptyFields;
}

Status TOggVorbis::ReadOggFile(const QString& path) {
    Clear();
    ReadOnlyFile file(path);
    if (!file.openForReading())
        return openError(path, file);
    const Status status = read(file);
    return status ? status : withPath(status, path);
}

Status TOggVorbis::read(QIODevice& device) {
    Clear();
    m_fileSize = device.size();
    VorbisHeaders headers;
    if (Status status = headers.read(device); !status)
        return status;
    m_id3v2Size = headers.id3v2Size();
    if (!takeIdentification(headers.identification()))
        return Status::error(ErrorCode::InvalidData,
                             QStringLiteral("The Vorbis identification header is damaged."));
    // A missing or damaged comment header still leaves the stream values readable.
    m_commentsLoaded = m_comments.parse(headers.comment());
    const std::optional<OggPage> last =
        OggPage::findLast(device, headers.serial(), headers.audioStart());
    m_samples = last ? last->granule : 0;
    return Status::success();
}

bool TOggVorbis::takeIdentification(const QByteArray& packet) {
    if (packet.size() < kIdentificationSize)
        return false;
    const auto* raw = reinterpret_cast<const uchar*>(packet.constData());
    m_channels = raw[11];
    m_sampleRate = qFromLittleEndian<quint32>(raw + 12);
    m_nominalBitRate = qFromLittleEndian<qint32>(raw + 20);
    return true;
}

Status TOggVorbis::WriteOggFile(const QString& path) {
    ReadOnlyFile file(path);
    if (!file.openForReading())
        return openError(path, file);
    OggRewrite rewrite;
    const Status planned = planWrite(file, rewrite);
    file.close();
    if (!planned)
        return withPath(planned, path);
    if (Status written = replaceRange(path, rewrite.offset, rewrite.length, rewrite.data); !written)
        return written;
    m_fileSize = QFileInfo(path).size();
    m_commentsLoaded = true;
    return Status::success();
}

Status TOggVorbis::planWrite(QIODevice& device, OggRewrite& rewrite) const {
    VorbisHeaders headers;
    if (Status status = headers.read(device); !status)
        return status;
    VorbisComments stored;
    if (!stored.parse(headers.comment()) || !headers.setup().startsWith(kSetupStart))
        return Status::error(ErrorCode::InvalidData,
                             QStringLiteral("The Vorbis comment or setup header is damaged; the "
                                            "file was left unchanged."));
    if (!headers.canRewrite())
        return Status::error(
            ErrorCode::Unsupported,
            QStringLiteral("The Vorbis header pages are laid out in a way that "
                           "cannot be rewritten safely; the file was left unchanged."));
    const QByteArray packet = commentsToWrite(stored).toPacket(KeepEmptyFields);
    if (packet.size() > VorbisHeaders::kMaxPacketSize)
        return Status::error(ErrorCode::Unsupported,
                             QStringLiteral("The comments are larger than 16 MiB."));

    const QList<VorbisHeaders::RegionPage>& region = headers.region();
    QList<OggPage> pages = OggPage::paginate({packet, headers.setup()}, headers.vorbisPageCount(),
                                             headers.serial(), region.front().sequence, 0);
    if (region.back().lastOfStream)
        pages.back().flags |= OggPage::LastOfStream;

    rewrite = OggRewrite{region.front().offset, headers.audioStart() - region.front().offset, {}};
    if (Status status = layOutRegion(device, headers, pages, rewrite.data); !status)
        return status;
    const qsizetype shift = pages.size() - headers.vorbisPageCount();
    if (shift == 0)
        return Status::success();
    // The page count changed: every later page of the stream gets a new sequence number.
    rewrite.length = device.size() - rewrite.offset;
    return renumberTail(device, headers.audioStart(), headers.serial(), quint32(shift),
                        rewrite.data);
}

VorbisComments TOggVorbis::commentsToWrite(const VorbisComments& stored) const {
    VorbisComments result = m_commentsLoaded ? m_comments : stored;
    if (!m_commentsLoaded)
        for (const QString& property : VorbisComments::properties())
            result.setField(property, m_comments.field(property));
    result.takeFramingFrom(stored);
    return result;
}

void TOggVorbis::setField(const QString& property, const QString& value) {
    m_comments.setField(property, value);
}

bool TOggVorbis::hasProperty(const QString& property) {
    return VorbisComments::hasProperty(property);
}

int TOggVorbis::Track() const {
    static const QRegularExpression digits(QStringLiteral("\\d+"));
    const QRegularExpressionMatch match = digits.match(field(QStringLiteral("TrackString")));
    bool ok = false;
    const int track = match.hasMatch() ? match.captured().toInt(&ok) : 0;
    return ok ? track : 0;
}

void TOggVorbis::setTrack(int track) {
    setField(QStringLiteral("TrackString"), track > 0 ? QString::number(track) : QString());
}

double TOggVorbis::Duration() const {
    if (m_samples > 0 && m_sampleRate > 0)
        return double(m_samples) / m_sampleRate;
    if (m_nominalBitRate > 0)
        return double(streamBytes()) * 8 / double(m_nominalBitRate);
    return 0;
}

int TOggVorbis::BitRate() const {
    if (m_nominalBitRate > 0)
        return BitRateNominal();
    const double duration = Duration();
    return duration > 0 ? int(std::lround(double(streamBytes()) / duration / 125)) : 0;
}

QString TOggVorbis::ChannelMode() const {
    switch (m_channels) {
    case 0:
        return QStringLiteral("Unknown");
    case 1:
        return QStringLiteral("Mono");
    case 2:
        return QStringLiteral("Stereo");
    default:
        return QStringLiteral("%1 channels").arg(m_channels);
    }
}

bool TOggVorbis::Valid() const {
    return (m_channels == 1 || m_channels == 2) && m_sampleRate > 0 && Duration() > 0.1 &&
           BitRate() > 0;
}

} // namespace tags

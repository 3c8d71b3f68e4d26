#include "id3frametables.h"

#include <algorithm>

#include <array>
#include <utility>

namespace tags {

namespace {

using Pair = std::pair<const char*, const char*>;

// ID3v2.2 ids and their ID3v2.3 equivalents, including the sort and compilation ids that
// iTunes writes. LNK and CRM are left out: their layouts differ from LINK and have no
// ID3v2.3 counterpart.
constexpr std::array kV22Ids = {
    Pair{"BUF", "RBUF"}, Pair{"CNT", "PCNT"}, Pair{"COM", "COMM"}, Pair{"CRA", "AENC"},
    Pair{"ETC", "ETCO"}, Pair{"EQU", "EQUA"}, Pair{"GEO", "GEOB"}, Pair{"IPL", "IPLS"},
    Pair{"MCI", "MCDI"}, Pair{"MLL", "MLLT"}, Pair{"PIC", "APIC"}, Pair{"POP", "POPM"},
    Pair{"REV", "RVRB"}, Pair{"RVA", "RVAD"}, Pair{"SLT", "SYLT"}, Pair{"STC", "SYTC"},
    Pair{"TAL", "TALB"}, Pair{"TBP", "TBPM"}, Pair{"TCM", "TCOM"}, Pair{"TCO", "TCON"},
    Pair{"TCR", "TCOP"}, Pair{"TDA", "TDAT"}, Pair{"TDY", "TDLY"}, Pair{"TEN", "TENC"},
    Pair{"TFT", "TFLT"}, Pair{"TIM", "TIME"}, Pair{"TKE", "TKEY"}, Pair{"TLA", "TLAN"},
    Pair{"TLE", "TLEN"}, Pair{"TMT", "TMED"}, Pair{"TOA", "TOPE"}, Pair{"TOF", "TOFN"},
    Pair{"TOL", "TOLY"}, Pair{"TOR", "TORY"}, Pair{"TOT", "TOAL"}, Pair{"TP1", "TPE1"},
    Pair{"TP2", "TPE2"}, Pair{"TP3", "TPE3"}, Pair{"TP4", "TPE4"}, Pair{"TPA", "TPOS"},
    Pair{"TPB", "TPUB"}, Pair{"TRC", "TSRC"}, Pair{"TRD", "TRDA"}, Pair{"TRK", "TRCK"},
    Pair{"TSI", "TSIZ"}, Pair{"TSS", "TSSE"}, Pair{"TT1", "TIT1"}, Pair{"TT2", "TIT2"},
    Pair{"TT3", "TIT3"}, Pair{"TXT", "TEXT"}, Pair{"TXX", "TXXX"}, Pair{"TYE", "TYER"},
    Pair{"UFI", "UFID"}, Pair{"ULT", "USLT"}, Pair{"WAF", "WOAF"}, Pair{"WAR", "WOAR"},
    Pair{"WAS", "WOAS"}, Pair{"WCM", "WCOM"}, Pair{"WCP", "WCOP"}, Pair{"WPB", "WPUB"},
    Pair{"WXX", "WXXX"}, Pair{"TCP", "TCMP"}, Pair{"TST", "TSOT"}, Pair{"TSP", "TSOP"},
    Pair{"TSA", "TSOA"}, Pair{"TS2", "TSO2"}, Pair{"TSC", "TSOC"},
};

constexpr std::array kV22ImageFormats = {
    Pair{"JPG", "image/jpeg"}, Pair{"PNG", "image/png"},  Pair{"GIF", "image/gif"},
    Pair{"BMP", "image/bmp"},  Pair{"TIF", "image/tiff"},
};

// MIME subtype (lower case) -> extension. Only these names ever reach a file name.
constexpr std::array kPictureExtensions = {
    Pair{"jpeg", "jpg"},   Pair{"jpg", "jpg"},
    Pair{"pjpeg", "jpg"},  Pair{"png", "png"},
    Pair{"gif", "gif"},    Pair{"bmp", "bmp"},
    Pair{"x-bmp", "bmp"},  Pair{"x-ms-bmp", "bmp"},
    Pair{"bitmap", "bmp"}, Pair{"tiff", "tif"},
    Pair{"tif", "tif"},    Pair{"webp", "webp"},
    Pair{"x-icon", "ico"}, Pair{"vnd.microsoft.icon", "ico"},
};

} // namespace

const QList<QByteArray>& KnownFrameIds() {
    static const QList<QByteArray> ids = {
        "AENC", "APIC", "ASPI", "COMM", "COMR", "ENCR", "EQU2", "EQUA", "ETCO", "GEOB", "GRID",
        "IPLS", "LINK", "MCDI", "MLLT", "OWNE", "PCNT", "POPM", "POSS", "PRIV", "RBUF", "RVA2",
        "RVAD", "RVRB", "SEEK", "SIGN", "SYLT", "SYTC", "TALB", "TBPM", "TCOM", "TCON", "TCOP",
        "TDAT", "TDEN", "TDLY", "TDOR", "TDRC", "TDRL", "TDTG", "TENC", "TEXT", "TFLT", "TIME",
        "TIPL", "TIT1", "TIT2", "TIT3", "TKEY", "TLAN", "TLEN", "TMCL", "TMED", "TMOO", "TOAL",
        "TOFN", "TOLY", "TOPE", "TORY", "TOWN", "TPE1", "TPE2", "TPE3", "TPE4", "TPOS", "TPRO",
        "TPUB", "TRCK", "TRDA", "TRSN", "TRSO", "TSIZ", "TSOA", "TSOP", "TSOT", "TSRC", "TSSE",
        "TSST", "TXXX", "TYER", "UFID", "USER", "USLT", "WCOM", "WCOP", "WOAF", "WOAR", "WOAS",
        "WORS", "WPAY", "WPUB", "WXXX"};
    return ids;
}

bool IsKnownFrameId(QByteArrayView id) {
    // Looked up for every frame of every file read: the list is sorted, search it.
    const QList<QByteArray>& ids = KnownFrameIds();
    Q_ASSERT(std::is_sorted(ids.begin(), ids.end()));
    return std::binary_search(ids.begin(), ids.end(), id,
                              [](QByteArrayView a, QByteArrayView b) { return a.compare(b) < 0; });
}

bool IsValidFrameId(QByteArrayView id, int length) {
    if (id.size() != length)
        return false;
    for (const char c : id)
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return false;
    return true;
}

QByteArray MapV22FrameId(QByteArrayView id) {
    for (const auto& [v22, v23] : kV22Ids)
        if (id == v22)
            return v23;
    return {};
}

QByteArray MimeForV22ImageFormat(QByteArrayView format) {
    const QByteArray upper = format.toByteArray().toUpper();
    for (const auto& [name, mime] : kV22ImageFormats)
        if (upper == name)
            return mime;
    if (upper == "-->")
        return "-->"; // a link to the picture instead of the picture
    return "image/" + format.toByteArray().toLower();
}

QString PictureExtensionForMime(const QString& mime) {
    const qsizetype slash = mime.indexOf('/');
    if (slash < 0 || mime.left(slash).compare(QLatin1String("image"), Qt::CaseInsensitive) != 0)
        return {};
    const QString subtype = mime.mid(slash + 1).trimmed().toLower();
    for (const auto& [name, extension] : kPictureExtensions)
        if (subtype == QLatin1String(name))
            return QString::fromLatin1(extension);
    return {};
}

} // namespace tags

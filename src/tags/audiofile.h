#pragma once

#include "apetag.h"
#include "commontagdata.h"
#include "fields.h"
#include "filestamp.h"
#include "id3v1.h"
#include "id3v2.h"
#include "oggvorbis.h"
#include "status.h"
#include "tagoptions.h"
#include "wav.h"
#include "wma.h"

#include <QDateTime>
#include <functional>

namespace tags {

class TMP3;

/// What an audio object tells the tag cache: implemented by the cache manager.
class CacheLink {
public:
    virtual ~CacheLink() = default;
    /// Stores the object's current state as its cache record.
    virtual void updateEntry(TMP3& file) = 0;
};

/// True once any audio object was marked changed; read and cleared by the main window.
bool pendingChanges();
void clearPendingChanges();

/// One audio file, whatever its format: identity, stream values, one tag object per format
/// and the unified tag fields that read from and write to whichever tag the file and the
/// tag mode call for.
///
/// An object built from a cache record is not synchronised: it reads its file on first
/// access to a field (see ensureSynchronised), unless it has unsaved changes.
class TMP3 {
public:
    /// Reads the file at once when `path` is not empty.
    explicit TMP3(const QString& path = {}, const TagOptions& options = {},
                  CacheLink* cache = nullptr);

    // --- options ---
    const TagOptions& options() const { return m_options; }
    void setOptions(const TagOptions& options) { m_options = options; }
    /// Which ID3 version the fields of an MPEG file use: 1 or 2.
    int WorkVersion() const;

    // --- loading ---
    /// Reads the file named by FilePath. An error means nothing useful could be read (file
    /// missing or unreadable, no audio and no tag); the object then holds what was found.
    Status LoadFromFile();
    /// A note about a file that was read but is incomplete (an MPEG file without frames).
    const QString& loadWarning() const { return m_loadWarning; }

    // --- saving and file operations ---
    /// Writes the tags into the file. A failure leaves the file as it was.
    Status SaveTags();
    Status WriteID3v1();
    Status WriteID3v2();
    /// Moves the file to NewFileDir + FileName + its extension; never replaces a file.
    Status MoveToNewFileDir();
    /// Reads the file again, dropping unsaved changes.
    Status Revert();
    /// Cuts junk between the ID3v2 tag and the first audio frame; an error when there is none.
    Status RepairBrokenHeader();

    // --- unified fields ---
    /// Any field as text; Genre and Track as decimal numbers.
    QString get(Field field);
    void set(Field field, const QString& value);
    int Genre();
    void setGenre(int index);
    int Track();
    void setTrack(int track);
    QString FallbackText(Field field);
    QString CommentForDisplay();
    QString CommentForDisplayWithV1();

    // --- identity ---
    const QString& FilePath() const { return m_filePath; }
    void setFilePath(const QString& path) { m_filePath = path; }
    QString NewFileDir();
    void setNewFileDir(const QString& dir) { m_newFileDir = dir; }
    QString FileName();
    /// Sets the name without folder and extension; characters no file name may hold go.
    void setFileName(const QString& name);
    QDateTime DateTime();
    void setDateTime(const QDateTime& dateTime) { m_dateTime = dateTime; }
    QString FolderName();
    QString Extension() const;

    // --- flags ---
    bool Changed() const { return m_changed; }
    void setChanged(bool changed);
    bool MP3() const { return !m_wma && !m_ogg && !m_wav; }
    bool WMA() const { return m_wma; }
    bool OGG() const { return m_ogg; }
    bool WAV() const { return m_wav; }
    void setFormat(bool wma, bool ogg, bool wav);
    bool APE() const { return m_ape; }
    void setAPE(bool ape) { m_ape = ape; }
    qint64 apeSize() const { return m_apeSize; }
    void setApeSize(qint64 size) { m_apeSize = size; }
    bool Tag();
    void setTag(bool tag) { m_tag = tag; }
    bool Ver1() { return Tag(); }
    bool Ver2() const { return m_id3v2.frameCount() > 0; }

    // --- deferred loading ---
    bool IsSyn() const { return m_isSyn; }
    void setIsSyn(bool value) { m_isSyn = value; }
    bool ShouldSyn() const { return m_shouldSyn; }
    void setShouldSyn(bool value) { m_shouldSyn = value; }
    bool ShouldUpdateCache() const { return m_shouldUpdateCache; }
    void setShouldUpdateCache(bool value) { m_shouldUpdateCache = value; }
    CacheLink* cacheLink() const { return m_cache; }
    void setCacheLink(CacheLink* cache) { m_cache = cache; }
    /// Called after a deferred load so that the row showing the object can redraw itself.
    std::function<void(TMP3&)> doUpdateListItem;
    /// Reads the file now when this object came from a cache record and has not been read.
    void ensureSynchronised();

    // --- stream values ---
    struct Stream {
        quint32 Header = 0;
        qint64 Offs = 0;
        int MpegVersion = 0;
        int LayerVersion = 0;
        int BitRate = 0;
        int BitsPerSample = 0;
        qint64 Size = 0;
        bool VBR = false;
        int SampleRate = 0;
        int StereoMode = 0;
        int TimeLength = 0;
        qint64 Frames = 0;
        bool operator==(const Stream&) const = default;
    };
    const Stream& stream();
    Stream& streamForUpdate() { return m_stream; }
    QString BitRateStr();
    QString StereoModeStr();

    // --- tag objects ---
    TID3v2& ID3v2();
    TOggVorbis& OggTag();
    TWMA& WmaTag();
    TWav& WavTag();
    /// The APE tag found at load (read for display; Varlo removes but never writes APE).
    const TAPEtag& APETag() const { return m_apeTag; }
    ID3v1Block& id3v1();

    // --- exchange ---
    /// The text by which the tag cache stores this object; fields are read under `tagMode`
    /// without loading the file.
    QString ToCacheString(int tagMode);
    /// Restores an object from its cache text; false (and nothing changed) for a text of
    /// another format version or a damaged one.
    bool FromCacheString(const QString& text);
    TCommonTagData ToCommonTagData();
    void FromCommonTagData(const TCommonTagData& data);
    /// Copies another object's identity, flags, stream values and tags; the source is
    /// left as it was.
    void Assign(TMP3& source);
    /// Size, times and inode of the file when it was read; the tag cache compares them.
    const FileStamp& stamp() const { return m_stamp; }
    void setStamp(const FileStamp& stamp) { m_stamp = stamp; }

    // --- operations ---
    void ClearID3v1();
    void CopyID3v2ToID3v1();
    void CopyID3v1ToID3v2();
    void RemoveOggTag();
    void RemoveWmaTag();
    void RemoveAPETag();
    bool IsTagless();
    QString InfoText();
    QString TrackText(int number) const;

private:
    friend struct CacheTextCodec;
    QString mainFieldOgg(Field field);
    QString mainFieldWma(Field field);
    QString mainFieldV1(Field field);
    QString mainFieldV2(Field field);
    QString mainFieldMpeg(Field field);
    QString extendedField(Field field);
    QString musicMatchField(const char* description);
    void setMainField(Field field, const QString& value);
    void setMainFieldV1(Field field, const QString& value);
    void setMainFieldV2(Field field, const QString& value);
    void setExtendedField(Field field, const QString& value);
    void setMusicMatchField(const char* description, const QString& value);
    void setTrackV1(int track);
    TID3Frame* commentFrame();
    void setID3v2Comment(const QString& value);
    QString id3v2Comment();
    QString frameText(const char* id);
    QString normalised(Field field, const QString& value) const;
    Status loadMpeg(const QString& path);
    Status loadOtherFormat(const QString& path, const QString& extension);

    TagOptions m_options;
    CacheLink* m_cache = nullptr;
    QString m_loadWarning;

    QString m_filePath;
    QString m_newFileDir;
    QString m_fileName;
    QDateTime m_dateTime;

    bool m_changed = false;
    bool m_wma = false;
    bool m_ogg = false;
    bool m_wav = false;
    bool m_ape = false;
    qint64 m_apeSize = 0;
    bool m_tag = false;
    bool m_isSyn = false;
    bool m_shouldSyn = true;
    bool m_shouldUpdateCache = true;

    Stream m_stream;
    FileStamp m_stamp;
    ID3v1Block m_id3v1;
    TID3v2 m_id3v2;
    TOggVorbis m_oggTag;
    TWMA m_wmaTag;
    TWav m_wavTag;
    TAPEtag m_apeTag;
};

} // namespace tags

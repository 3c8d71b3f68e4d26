#pragma once

#include <QtGlobal>

class QIODevice;

namespace tags::mpeg {

/// One MPEG audio frame header, the four bytes read as a big-endian word.
struct FrameHeader {
    quint32 value = 0;

    static FrameHeader fromBytes(const uchar* bytes);

    int versionBits() const {
        return (value >> 19) & 3;
    }                  ///< 0 MPEG 2.5, 1 reserved, 2 MPEG 2, 3 MPEG 1
    int layer() const; ///< 1, 2, 3; 0 for the reserved value
    int bitRateIndex() const { return (value >> 12) & 15; }
    int sampleRateIndex() const { return (value >> 10) & 3; }
    bool padding() const { return (value >> 9) & 1; }
    bool privateBit() const { return (value >> 8) & 1; }
    int channelMode() const { return (value >> 6) & 3; } ///< 0 stereo, 1 joint, 2 dual, 3 mono
    bool copyright() const { return (value >> 3) & 1; }
    bool original() const { return (value >> 2) & 1; }

    /// Sync bits set, version and layer not reserved, bit rate index neither free (0) nor
    /// bad (15), sample rate index not reserved.
    bool isValid() const;
    int bitRate() const;    ///< kbit/s, 0 when undefined
    int sampleRate() const; ///< Hz, the true rates of MPEG 2.5 included; 0 when reserved
    int samplesPerFrame() const;
    int frameLength() const; ///< bytes, padding included; 0 for an invalid header
    int xingOffset() const;  ///< where a Xing/Info header sits, from the frame start
    /// Same version, layer, sample rate and channel count: a header that can follow this one.
    bool sameStream(const FrameHeader& other) const;
};

/// Offset of the first 0xFF byte at or after `start` followed by a byte with its three top
/// bits set (and not 0xFF itself); -1 when there is none.
qint64 FindSync(QIODevice& device, qint64 start);
/// As FindSync, and the header must also have a valid version, layer, bit rate and sample
/// rate.
qint64 FindValidSync(QIODevice& device, qint64 start);

/// What the stream analysis found.
struct StreamInfo {
    quint32 header = 0; ///< the first frame's header bytes, first byte lowest
    qint64 offs = -1;   ///< offset of the first audio frame
    int mpegVersion = 0;
    int layerVersion = 0;
    int bitRate = 0; ///< kbit/s, average for VBR
    int sampleRate = 0;
    int stereoMode = 0;
    bool vbr = false;
    qint64 frames = 0;
    double duration = 0; ///< seconds
    int timeLength = 0;  ///< whole seconds
    bool privateBit = false;
    bool copyright = false;
    bool original = false;
};

struct StreamOptions {
    /// Sample frames to tell VBR from CBR; off for files on network drives unless asked.
    bool sampleFrames = true;
};

/// Finds the first real audio frame at or after `start` (a header followed by a matching
/// one) and works out bit rate, sample rate, mode, frames and duration from a Xing, Info or
/// VBRI header, from sampled frames or, for VBR streams without such a header, from a walk
/// over every frame. `audioEnd` is where trailing tags begin.
StreamInfo analyse(QIODevice& device, qint64 start, qint64 audioEnd, const StreamOptions& options);

} // namespace tags::mpeg

#!/usr/bin/env python3
"""Prints, as JSON, the ID3v2 frames mutagen reads from each file given on the command line.

Used by the interop tests as a black-box reference: {path: {"version": major, "frames":
[[id, key, value], ...]}} or {path: {"error": text}}. Keys and values follow simple rules per
frame kind so that the C++ side can compute the same triple from its own reading.
"""
import hashlib
import io
import json
import sys

import mutagen.id3 as id3


def triple(frame):
    fid = frame.FrameID
    if fid == "TXXX":
        return [fid, frame.desc, str(frame.text[0]) if frame.text else ""]
    if fid == "WXXX":
        return [fid, frame.desc, frame.url]
    if fid.startswith("T"):
        return [fid, "", str(frame.text[0]) if frame.text else ""]
    if fid.startswith("W"):
        return [fid, "", frame.url]
    if fid in ("COMM", "USLT"):
        text = frame.text[0] if fid == "COMM" and frame.text else (frame.text if fid == "USLT" else "")
        key = frame.lang.split("\x00")[0] + "|" + frame.desc  # as read up to a NUL
        return [fid, key, str(text).replace("\r\n", "\n").rstrip("\n")]
    if fid == "APIC":
        digest = hashlib.sha1(frame.data).hexdigest()
        return [fid, frame.desc, "%s|%d|%s" % (frame.mime, int(frame.type), digest)]
    if fid in ("PRIV", "UFID"):
        return [fid, frame.owner, frame.data.hex()]
    if fid == "PCNT":
        return [fid, "", str(frame.count)]
    return [fid, "", ""]


def padded(path):
    """The file's bytes, zero-padded to the size its tag header declares: mutagen refuses tags
    that run past the end of a file, which a reader should still read as far as they go."""
    with open(path, "rb") as f:
        data = f.read()
    size = 10 + sum((b & 0x7F) << (7 * (3 - i)) for i, b in enumerate(data[6:10]))
    return io.BytesIO(data + b"\x00" * max(0, size + 128 - len(data)))


def dump(path):
    try:
        tag = id3.ID3(padded(path), translate=False, load_v1=False)
    except Exception as error:  # no tag, or one mutagen rejects
        return {"error": repr(error)}
    return {"version": tag.version[1], "frames": [triple(f) for f in tag.values()]}


if __name__ == "__main__":
    json.dump({path: dump(path) for path in sys.argv[1:]}, sys.stdout)

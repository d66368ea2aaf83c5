#!/usr/bin/env python3
"""Writes the small seed files of fuzz_wav into tests/fuzz/corpus/wav."""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "wav")


def chunk(cid, body, stated=None):
    size = len(body) if stated is None else stated
    return cid + struct.pack("<I", size) + body + (b"\0" if len(body) % 2 else b"")


def riff(*chunks):
    content = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(content)) + content


def fmt(tag, channels, rate, bits, extra=None):
    align = channels * bits // 8
    body = struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits)
    if extra is not None:
        body += struct.pack("<H", len(extra)) + extra
    return chunk(b"fmt ", body)


PCM_GUID = bytes.fromhex("0100000000001000800000aa00389b71")
SEEDS = {
    "pcm16_stereo.wav": riff(fmt(1, 2, 22050, 16), chunk(b"data", struct.pack("<8h", *range(8)))),
    "pcm8_mono_11k.wav": riff(fmt(1, 1, 11025, 8), chunk(b"data", bytes([0, 64, 128, 255, 7]))),
    "short_data.wav": riff(fmt(1, 1, 44100, 16), chunk(b"data", b"\1\2\3\4", stated=400)),
    "list_first.wav": riff(chunk(b"LIST", b"INFOabc"), fmt(1, 1, 8000, 8), chunk(b"data", b"\x80" * 6)),
    "extensible.wav": riff(fmt(0xFFFE, 2, 48000, 16, struct.pack("<HI", 16, 3) + PCM_GUID),
                           chunk(b"data", b"\0\1" * 8)),
    "adpcm.wav": riff(fmt(2, 1, 22050, 4, b"\1\2\3\4"), chunk(b"data", b"\x55" * 4)),
}

os.makedirs(OUT, exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)

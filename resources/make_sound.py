#!/usr/bin/env python3
"""Synthesises the editor's one sound, the chime of the prompt box.

    python3 resources/make_sound.py          write prompt_sound.wav
    python3 resources/make_sound.py --check  exit 1 when the committed file differs

The file is a RIFF WAVE: a "fmt " chunk of 18 bytes (PCM, mono, 16,000
samples per second, 8 bits), a "data" chunk of 5,600 samples (0.35 s), then a
"LIST" chunk with the sound's name, which players skip. The samples are two
bell-like notes, each a few partials under an exponential decay, computed
with integer rounding so that every run writes the same bytes.
"""
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from make_tables import write_outputs  # noqa: E402

SOUND = os.path.join(HERE, "prompt_sound.wav")

RATE = 16000
SAMPLES = 5600
# (start in seconds, fundamental in Hz, loudness): a rising fifth.
NOTES = [(0.0, 1046.5, 0.55), (0.09, 1568.0, 0.45)]
# (multiple of the fundamental, relative strength, decay per second)
PARTIALS = [(1.0, 1.0, 9.0), (2.0, 0.35, 14.0), (3.01, 0.12, 22.0)]


def samples():
    out = bytearray()
    for n in range(SAMPLES):
        t = n / RATE
        value = 0.0
        for start, freq, loud in NOTES:
            if t < start:
                continue
            u = t - start
            attack = min(1.0, u / 0.004)  # 4 ms attack, no click
            for mult, strength, decay in PARTIALS:
                value += loud * strength * attack * math.exp(-decay * u) * math.sin(
                    2 * math.pi * freq * mult * u)
        # The last 20 ms fade out so that the sound ends at rest.
        remaining = (SAMPLES - 1 - n) / RATE
        if remaining < 0.02:
            value *= remaining / 0.02
        level = int(round(128 + 100 * max(-1.0, min(1.0, value))))
        out.append(max(0, min(255, level)))
    return bytes(out)


def chunk(tag, body):
    pad = b"\0" if len(body) % 2 else b""
    return tag + struct.pack("<I", len(body)) + body + pad


def wave():
    data = samples()
    assert len(data) == SAMPLES
    fmt = struct.pack("<HHIIHHH", 1, 1, RATE, RATE, 1, 8, 0)
    assert len(fmt) == 18
    name = b"Varnok prompt chime\0"
    info = b"INFO" + chunk(b"INAM", name)
    body = b"WAVE" + chunk(b"fmt ", fmt) + chunk(b"data", data) + chunk(b"LIST", info)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main(argv):
    return write_outputs([(SOUND, wave())], argv, HERE)


if __name__ == "__main__":
    sys.exit(main(sys.argv))

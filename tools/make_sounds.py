#!/usr/bin/env python3
"""Writes the scan sounds into resources/sounds/.

"scan_ok.wav" is one short high beep, "scan_err.wav" two low buzzes; both
8 kHz, 8-bit mono.  The program plays them from its working folder, where
tools/run.sh copies them.  The files are committed; run this again only
after changing a sound:

    python3 tools/make_sounds.py
"""
import math
import os
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources", "sounds")
RATE = 8000


def tone(frequency, seconds, square=False):
    samples = []
    count = int(RATE * seconds)
    for i in range(count):
        phase = math.sin(2 * math.pi * frequency * i / RATE)
        value = (1 if phase >= 0 else -1) if square else phase
        fade = min(1.0, i / 80, (count - i) / 80)   # no clicks at either end
        samples.append(int(128 + 90 * value * fade))
    return samples


def silence(seconds):
    return [128] * int(RATE * seconds)


def write(name, samples):
    with wave.open(os.path.join(OUT, name), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(1)
        out.setframerate(RATE)
        out.writeframes(bytes(samples))


os.makedirs(OUT, exist_ok=True)
write("scan_ok.wav", tone(1800, 0.08))
write("scan_err.wav", tone(220, 0.15, square=True) + silence(0.06) + tone(220, 0.15, square=True))

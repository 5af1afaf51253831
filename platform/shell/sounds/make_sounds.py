#!/usr/bin/env python3
"""Writes the shell's sounds. Run it from this folder after changing one; the .wav files it
writes are committed.

startup.wav: the chime the shell plays when the device has started, two soft notes (a fifth
apart) with a quick attack and a smooth decay, 16-bit mono PCM at 22050 Hz."""

import math
import struct

RATE = 22050


def note(frequency, start, length, total):
    samples = [0.0] * total
    for i in range(int(length * RATE)):
        t = i / RATE
        envelope = min(1.0, t / 0.01) * math.exp(-t * 6.0)
        value = math.sin(2 * math.pi * frequency * t) + 0.3 * math.sin(4 * math.pi * frequency * t)
        index = int(start * RATE) + i
        if index < total:
            samples[index] += 0.35 * envelope * value
    return samples


def write_wave(name, samples):
    data = b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767)))) for s in samples)
    header = b"RIFF" + struct.pack("<I", 36 + len(data)) + b"WAVE"
    header += b"fmt " + struct.pack("<IHHIIHH", 16, 1, 1, RATE, RATE * 2, 2, 16)
    header += b"data" + struct.pack("<I", len(data))
    with open(name, "wb") as out:
        out.write(header + data)


def startup():
    total = int(0.6 * RATE)
    first = note(659.25, 0.0, 0.6, total)
    second = note(987.77, 0.12, 0.48, total)
    return [a + b for a, b in zip(first, second)]


if __name__ == "__main__":
    write_wave("startup.wav", startup())

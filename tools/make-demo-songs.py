#!/usr/bin/env python3
"""Makes the demo song folder: 135 short, distinct MP3 songs iasn_X_001.mp3 .. iasn_X_135.mp3.

Each song is a little melody of sine tones (a theme in a key), encoded by the lame program with a title
frame "NNN - <theme> in <key> ". The title reader cuts the song number and separator from the front and
trims the trailing blank.

Usage: make-demo-songs.py FOLDER [COUNT]. Existing songs are kept; each new file appears complete (written
under a temporary name, then renamed).
"""
import concurrent.futures
import io
import math
import os
import shutil
import struct
import subprocess
import sys
import wave

RATE = 22050
NOTE_SECONDS = 0.45
THEMES = ["Morgenlied", "Abendlied", "Frühlingslied", "Sommerlied", "Herbstlied", "Winterlied", "Danklied",
          "Loblied", "Wanderlied", "Hoffnungslied", "Friedenslied", "Freudenlied", "Trostlied", "Wiegenlied",
          "Grußlied"]
# Key name, MIDI note of its tonic, major (True) or minor.
KEYS = [("C-Dur", 60, True), ("D-Dur", 62, True), ("E-Dur", 64, True), ("F-Dur", 65, True),
        ("G-Dur", 67, True), ("A-Dur", 69, True), ("B-Dur", 70, True), ("a-Moll", 57, False),
        ("e-Moll", 64, False)]
MAJOR = [0, 2, 4, 5, 7, 9, 11, 12]
MINOR = [0, 2, 3, 5, 7, 8, 10, 12]
# Melodies as scale degrees, one per theme; every song ends on the tonic.
MELODIES = [
    [0, 2, 4, 7, 4, 2, 0], [7, 5, 4, 2, 1, 0, 0], [0, 4, 2, 5, 4, 7, 0], [4, 4, 5, 7, 5, 4, 2, 0],
    [7, 6, 5, 4, 3, 2, 1, 0], [0, 0, 4, 4, 5, 5, 4, 0], [2, 4, 7, 4, 2, 1, 0], [0, 2, 4, 5, 7, 7, 0],
    [4, 2, 0, 2, 4, 4, 4, 0], [0, 7, 5, 4, 5, 2, 0], [2, 1, 0, 1, 2, 2, 2, 0], [0, 4, 7, 7, 5, 4, 0],
    [5, 4, 2, 4, 5, 1, 0], [4, 3, 2, 3, 4, 2, 0], [0, 1, 2, 3, 4, 5, 6, 7, 0],
]


def song(number):
    """Title and WAVE bytes of song number (1..)."""
    theme = (number - 1) % len(THEMES)
    key_name, tonic, major = KEYS[(number - 1) // len(THEMES) % len(KEYS)]
    scale = MAJOR if major else MINOR
    title = "%03d - %s in %s " % (number, THEMES[theme], key_name)
    samples = bytearray()
    note_len = int(RATE * NOTE_SECONDS)
    for degree in MELODIES[theme]:
        freq = 440.0 * 2 ** ((tonic + scale[degree % 8] - 69) / 12)
        step = 2 * math.pi * freq / RATE
        for i in range(note_len):
            envelope = min(1.0, i / 400) * (1 - i / note_len) ** 0.5
            value = math.sin(step * i) + 0.3 * math.sin(2 * step * i)
            samples += struct.pack("<h", int(7000 * envelope * value))
    out = io.BytesIO()
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(samples))
    return title, out.getvalue()


def make(folder, number):
    path = os.path.join(folder, "iasn_X_%03d.mp3" % number)
    if os.path.exists(path):
        return
    title, wav = song(number)
    part = path + ".part"
    env = dict(os.environ, LC_ALL="C.UTF-8")
    subprocess.run(["lame", "--quiet", "-b", "64", "--add-id3v2", "--tt", title, "--ta", "Demo",
                    "--tl", "Demolieder", "--tn", str(number), "-", part],
                   input=wav, env=env, check=True)
    os.replace(part, path)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 135
    if shutil.which("lame") is None:
        sys.exit("make-demo-songs: the lame program is not installed")
    os.makedirs(folder, exist_ok=True)
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 2) as pool:
        for future in [pool.submit(make, folder, n) for n in range(1, count + 1)]:
            future.result()


if __name__ == "__main__":
    main()

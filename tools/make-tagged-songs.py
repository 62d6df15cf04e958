#!/usr/bin/env python3
"""Makes short MP3 songs whose ID3v2 tags other taggers wrote, for the title reader's tests.

Usage: make-tagged-songs.py FOLDER RECIPE...

Each RECIPE is "NAME|TOOL|VERSION|ENCODING|TITLE|ALBUM" and makes FOLDER/NAME: a one-second tone encoded by
ffmpeg without a tag, then tagged by TOOL with TITLE and ALBUM (either may be empty: no such frame), a
comment and a front cover picture, each over 127 bytes:

  mutagen  VERSION 3 or 4, ENCODING 0..3 (the ID3 text encoding byte; version 3 writes 2 and 3 as 1)
  eyed3    VERSION 3 or 4, ENCODING latin1, utf8, utf16 or utf16-be (eyeD3's names)
  id3v2    the id3v2 program (id3lib): version 3, ISO-8859-1; no picture
  ffmpeg   VERSION 3 or 4, ffmpeg's own choice of encoding; the comment as TXXX, the picture last
  none     no tag at all

mutagen puts the title first, so its long frames come before the album only; eyeD3 and id3v2 put the
comment (and eyeD3 the picture) before the title, ffmpeg the comment.
"""
import os
import subprocess
import sys
import tempfile

COMMENT = "Aufgenommen im Saal; " * 12
TONE = ["-f", "lavfi", "-i", "sine=frequency=440:duration=1:sample_rate=44100"]


def run(args):
    subprocess.run(args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def ffmpeg(args):
    run(["ffmpeg", "-nostdin", "-loglevel", "error", "-y"] + args)


def tag_with_mutagen(path, version, encoding, title, album, picture):
    from mutagen.id3 import APIC, COMM, ID3, TALB, TIT2, TPE1
    tag = ID3()
    tag.add(COMM(encoding=encoding, lang="deu", desc="", text=COMMENT))
    with open(picture, "rb") as f:
        tag.add(APIC(encoding=encoding, mime="image/png", type=3, desc="Titelbild", data=f.read()))
    # A long artist comes before the album (mutagen orders title, artist, track, album).
    tag.add(TPE1(encoding=encoding, text="Chor und Orchester " * 10))
    if title:
        tag.add(TIT2(encoding=encoding, text=title))
    if album:
        tag.add(TALB(encoding=encoding, text=album))
    tag.save(path, v2_version=version)


def tag_with_eyed3(path, version, encoding, title, album, picture):
    args = ["eyeD3", "--quiet", "--to-v2.%d" % version, "--encoding", encoding, "--add-comment", COMMENT,
            "--add-image", picture + ":FRONT_COVER"]
    if title:
        args += ["--title", title]
    if album:
        args += ["--album", album]
    run(args + [path])


def tag_with_id3v2(path, title, album):
    args = ["id3v2", "--id3v2-only", "--comment", COMMENT]
    if title:
        args += ["--song", title]
    if album:
        args += ["--album", album]
    run(args + [path])


def tag_with_ffmpeg(path, version, title, album, picture, tone):
    args = ["-i", tone, "-i", picture, "-map", "0", "-map", "1", "-c", "copy", "-id3v2_version", str(version),
            "-metadata", "comment=" + COMMENT]
    if title:
        args += ["-metadata", "title=" + title]
    if album:
        args += ["-metadata", "album=" + album]
    ffmpeg(args + [path])


def make(folder, recipe, tone, picture):
    name, tool, version, encoding, title, album = recipe.split("|")
    path = os.path.join(folder, name)
    if tool == "ffmpeg":
        tag_with_ffmpeg(path, int(version), title, album, picture, tone)
        return
    with open(tone, "rb") as src, open(path, "wb") as dst:
        dst.write(src.read())
    if tool == "mutagen":
        tag_with_mutagen(path, int(version), int(encoding), title, album, picture)
    elif tool == "eyed3":
        tag_with_eyed3(path, int(version), encoding, title, album, picture)
    elif tool == "id3v2":
        tag_with_id3v2(path, title, album)
    elif tool != "none":
        sys.exit("unknown tool: " + tool)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    env_locale = os.environ.get("LC_ALL")
    if not env_locale or "UTF-8" not in env_locale.upper():
        os.environ["LC_ALL"] = "C.UTF-8"  # the taggers read their arguments as UTF-8
    with tempfile.TemporaryDirectory() as work:
        tone = os.path.join(work, "tone.mp3")
        ffmpeg(TONE + ["-c:a", "libmp3lame", "-b:a", "64k", "-id3v2_version", "0", tone])
        picture = os.path.join(work, "cover.png")
        ffmpeg(["-f", "lavfi", "-i", "testsrc=size=32x32", "-frames:v", "1", picture])
        for recipe in sys.argv[2:]:
            make(folder, recipe, tone, picture)


if __name__ == "__main__":
    try:
        main()
    except subprocess.CalledProcessError as e:
        sys.exit("%s failed: %s" % (e.cmd[0], e.stderr.decode(errors="replace")))

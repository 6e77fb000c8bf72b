#!/usr/bin/env bash
# Writes the MP3 fuzzer's seed files with lame: a few frames of each MPEG version, with and
# without the encoder's Info frame, and with ID3v2 and ID3v1 tags, so the fuzzer starts inside
# every branch of the check.   usage: tools/dev/fuzz-seeds/mp3-seeds.sh tests/fuzz/mp3_corpus
set -eu
out=${1:?usage: $0 DIR}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# 0.05 s of a 1 kHz tone, 16-bit mono at 44100 Hz.
python3 - "$work/tone.wav" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1], "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(44100)
    w.writeframes(b"".join(struct.pack("<h", int(8000 * math.sin(2 * math.pi * 1000 * i / 44100)))
                           for i in range(2205)))
PY
encode() { lame --quiet -m m "$@" "$work/tone.wav" "$work/out.mp3" && cat "$work/out.mp3"; }
encode -b 128 > "$out/mpeg1_info.mp3"
encode -b 128 -t > "$out/mpeg1_bare.mp3"
encode -V 9 --resample 22.05 > "$out/mpeg2_vbr.mp3"
encode -b 8 --resample 8 -t --add-id3v2 --tt T > "$out/mpeg25_id3v2.mp3"
encode -b 64 -t --resample 48 --id3v1-only --tt T > "$out/mpeg1_id3v1.mp3"

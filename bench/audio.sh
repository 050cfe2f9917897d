#!/bin/sh
# Audio engine figures, each against a reference measured in this same run.
# Usage: bench/audio.sh BUILD_DIR   (builds nothing; needs hyperfine, fluidsynth, python3)
set -eu
build=${1:?usage: $0 BUILD_DIR}
bench=$build/bench/AudioBench
[ -x "$bench" ] || { echo "no $bench: build the AudioBench target first" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --make-media "$work"
export TUNEVANE_BENCH_MEDIA="$work"

# The bank the program itself picks.
sf2=/usr/share/sounds/sf2/default-GM.sf2
[ -e "$sf2" ] || sf2=/usr/share/sounds/sf2/TimGM6mb.sf2

"$bench" --benchmark_filter='BM_WavOpen10MB|BM_WavDecodeWhole10MB|BM_MidiOpenLoaded' \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=json >"$work/open.json" 2>/dev/null

# A first load happens once per process, so each sample is a fresh process.
for i in 1 2 3 4 5 6 7; do
    "$bench" --benchmark_filter=BM_MidiOpenFirstLoad --benchmark_format=json \
        >"$work/first$i.json" 2>/dev/null
done

hyperfine --style none --warmup 1 --runs 5 --export-json "$work/render.json" \
    "$bench --render $work/song.mid" \
    "fluidsynth -F $work/cli.wav -ni $sf2 $work/song.mid" >/dev/null 2>&1

"$bench" --players "$work/song.mid" "$work/other.mid" >"$work/rss-two" 2>/dev/null
"$bench" --players >"$work/rss-none" 2>/dev/null
"$bench" --rendered "$work/song.mid" "$work/other.mid" >"$work/rss-rendered" 2>/dev/null

python3 - "$work" "$sf2" <<'PY'
import json, statistics, sys, glob
work, sf2 = sys.argv[1], sys.argv[2]

def median_of(name):
    for b in json.load(open(f"{work}/open.json"))["benchmarks"]:
        if b["name"] == f"{name}_median":
            return b["real_time"]
    raise SystemExit(f"no result for {name}")

wav_open = median_of("BM_WavOpen10MB")
wav_decode = median_of("BM_WavDecodeWhole10MB")
midi_loaded = median_of("BM_MidiOpenLoaded")
firsts = [json.load(open(f))["benchmarks"][0]["real_time"] for f in sorted(glob.glob(f"{work}/first*.json"))]
midi_first = statistics.median(firsts)
runs = json.load(open(f"{work}/render.json"))["results"]
ours, cli = runs[0]["mean"], runs[1]["mean"]
rss_two = int(open(f"{work}/rss-two").read()) / 1024
rss_none = int(open(f"{work}/rss-none").read()) / 1024
rss_rendered = int(open(f"{work}/rss-rendered").read()) / 1024

print(f"SoundFont: {sf2}")
print(f"{'figure':34} {'measured':>10} {'reference':>10} {'ratio':>7}  {'goal':>8}  reference is")
rows = [
    ("WAV open, 10 MB (ms)", wav_open, wav_decode, wav_open / wav_decode, f"<= 10", "decoding the whole file"),
    ("MIDI open, bank loaded (ms)", midi_loaded, midi_first, midi_loaded / midi_first, "<= 10", "MIDI open with first load"),
    ("MIDI open, first load (ms)", midi_first, 60.0, midi_first / 60.0, "<= 60", "the goal (60 ms)"),
    ("MIDI render, whole song (s)", ours, cli, cli / ours, ">= 0.9", "fluidsynth -F; ratio = cli/ours"),
    ("peak RSS, two MIDI players (MB)", rss_two, rss_none, rss_two / rss_none, "<= 80", "same process, no player"),
    ("peak RSS, two songs rendered (MB)", rss_rendered, rss_none, rss_rendered / rss_none, "(<= 80)", "a player process with none open"),
]
for name, value, ref, ratio, goal, what in rows:
    print(f"{name:34} {value:10.2f} {ref:10.2f} {ratio:7.3f}  {goal:>8}  {what}")
PY

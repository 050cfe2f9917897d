#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tunevane developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Audio figures against their goals, each beside a reference measured in this same run.
# Usage: bench/audio.sh BUILD_DIR   (builds nothing; needs hyperfine, fluidsynth, jq,
# pulseaudio: without a reachable sound server it starts a private one on a null sink; Xvfb
# and xdotool, for the exit figure, which drives the real program on an X server of its own)
source "$(dirname "$0")/common.sh"
build=${1:?usage: $0 BUILD_DIR}
bench=$build/bench/AudioBench
needs "$bench" "$build/bin/tunevane" hyperfine fluidsynth jq pulseaudio pactl Xvfb xdotool

work=$(mktemp -d)
pids=()
cleanup() {
    # A server the stopped-server figure left stopped would not see the TERM.
    for pid in "${pids[@]}"; do kill -CONT "$pid" 2>/dev/null; kill "$pid" 2>/dev/null || true; done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# start_server RUNTIME: a private server on a null sink, for what follows with
# XDG_RUNTIME_DIR=RUNTIME; its PID is left in $server.
start_server() {
    mkdir -m 700 "$1"
    XDG_RUNTIME_DIR=$1 pulseaudio --daemonize=no --exit-idle-time=-1 -n \
        --load="module-null-sink sink_name=null" \
        --load="module-native-protocol-unix auth-anonymous=1" >"$1.log" 2>&1 &
    server=$!
    pids+=($server)
    for _ in $(seq 50); do XDG_RUNTIME_DIR=$1 pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    # A new stream on an idle null sink stalls; one silent stream keeps it running.
    XDG_RUNTIME_DIR=$1 pacat --raw --latency-msec=20 /dev/zero 2>>"$1.log" &
    pids+=($!)
    sleep 2
}

if ! pactl info >/dev/null 2>&1; then
    start_server "$work/runtime"
    export XDG_RUNTIME_DIR=$work/runtime
fi
# The stopped-server figure stops a server of its own, never the desktop's.
start_server "$work/stoppable"
stoppable=$server

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
display=:$(head -n1 "$work/display")

"$bench" --make-media "$work"
export TUNEVANE_BENCH_MEDIA="$work"
sf2=/usr/share/sounds/sf2/default-GM.sf2
[[ -e $sf2 ]] || sf2=/usr/share/sounds/sf2/TimGM6mb.sf2

"$bench" --benchmark_filter='BM_WavDecodeWhole10MB' --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_format=json 2>/dev/null |
    jq '.benchmarks[] | select(.aggregate_name == "median") | .real_time' >"$work/decode"
"$bench" --clicks "$work" >"$work/clicks"
# A first load happens once per process, so each sample is a fresh process.
for i in 1 2 3 4 5 6 7; do "$bench" --cold "$work" >"$work/cold$i"; done
hyperfine --style none --warmup 1 --runs 5 --export-json "$work/render.json" \
    "$bench --render $work/song.mid" \
    "fluidsynth -F $work/cli.wav -ni $sf2 $work/song.mid" >/dev/null 2>&1
"$bench" --players "$work/song.mid" "$work/other.mid" >"$work/rss-two"
"$bench" --players >"$work/rss-none"
for i in 1 2 3; do
    "$bench" --stall "$work/dense.mid" >"$work/stall$i"
    "$bench" --stall >"$work/idle$i"
    "$bench" --silent-server "$work" >"$work/silent$i"
    rm -f "$work/silent"
    XDG_RUNTIME_DIR=$work/stoppable "$bench" --stopped-server "$work" "$stoppable" >"$work/stopped$i"
    # A run that could not drive the program leaves its file empty; the figure says so.
    XDG_RUNTIME_DIR=$work/stoppable "$bench" --exit "$work" "$stoppable" "$display" \
        >"$work/exit$i" || true
    XDG_RUNTIME_DIR=$work/stoppable "$bench" --exit "$work" 0 "$display" >"$work/answered$i" || true
done

python3 - "$work" "$sf2" <<'PY'
import json, statistics, sys
work, sf2 = sys.argv[1], sys.argv[2]
def lines(name):
    return [float(x) for x in open(f"{work}/{name}").read().split()]
decode = lines("decode")[0]
wav_click, first_midi, midi_warm = lines("clicks")
colds = [lines(f"cold{i}") for i in range(1, 8)]
layer = statistics.median(c[0] for c in colds)
midi_cold = statistics.median(c[1] for c in colds)
runs = json.load(open(f"{work}/render.json"))["results"]
ours, cli = runs[0]["mean"], runs[1]["mean"]
rss_two = int(open(f"{work}/rss-two").read()) / 1024
rss_none = int(open(f"{work}/rss-none").read()) / 1024
stalls = [lines(f"stall{i}") for i in (1, 2, 3)]
stall = max(s[0] for s in stalls)
command = max(s[1] for s in stalls)
idle = max(lines(f"idle{i}")[0] for i in (1, 2, 3))
silent = max(lines(f"silent{i}")[0] for i in (1, 2, 3))
stopped = max(lines(f"stopped{i}")[0] for i in (1, 2, 3))
# A run that did not end with status 0 counts as the 30 s waited for it.
def exit_ms(name):
    runs = [lines(f"{name}{i}") for i in (1, 2, 3)]
    ms = max(r[0] if r[1:] == [0.0] else 30000.0 for r in runs)
    return ms, " ".join(str(int(r[1])) if len(r) == 2 else "-" for r in runs)
exit_stopped, stopped_status = exit_ms("exit")
exit_answered, answered_status = exit_ms("answered")

# One line per figure for bench/run: name|measured|reference|ratio|goal.
print(f"SoundFont: {sf2}")
def row(name, value, reference, goal):
    ratio = value / reference if reference else 0.0
    print(f"{name}|{value:.3f}|{reference:.3f}|{ratio:.3f}|{goal}")
row("click -> player open, 10 MB WAV, ms (vs decoding it whole)", wav_click, decode, "<= 10 ms")
row("first MIDI click, SoundFont warmed, ms (vs a later click)", first_midi, midi_warm, "<= 10 ms")
row("MIDI click, SoundFont cold, ms (vs loading the audio layer)", midi_cold, layer, "<= 60 ms")
row("MIDI render, s (vs fluidsynth -F, same SoundFont)", ours, cli, "<= 1.11x")
row("peak RSS, two MIDI players, MiB (vs no player)", rss_two, rss_none, "<= 80 MiB")
row("longest window stall, dense MIDI playing, ms (vs nothing playing)", stall, idle, "<= 20 ms")
row("longest window stall, sound server not answering, ms (vs nothing playing)", silent, idle,
    "<= 50 ms")
row("longest window stall, sound server stopped while playing, ms (vs nothing playing)", stopped,
    idle, "<= 50 ms")
row("Exit Program -> program ended, sound server stopped while playing, ms (vs answering)",
    exit_stopped, exit_answered, "<= 1000 ms")
print(f"exit status of 3 runs, sound server stopped: {stopped_status}; answering: "
      f"{answered_status} (- where the program could not be driven); the figure is the worst run")
print(f"longest player command while the dense MIDI played: {command:.1f} ms (worst of 3 runs of 4 s)")
PY

#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tunevane developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Times a browsing pane filling its file list from a 10,000-file folder (5,000 of them
# .wav) against `find` filtering the same folder (goal: at most 3x).
# Usage: bench/panes.sh BUILD_DIR      Prints: name|measured|reference|ratio|goal
source "$(dirname "$0")/common.sh"

build=${1:?usage: bench/panes.sh BUILD_DIR}
bench=$build/bench/PanesBench
needs "$bench" hyperfine jq

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder=$work/folder
mkdir "$folder"
(
    cd "$folder"
    seq -f 'EFFECT%05g.WAV' 1 2500 | xargs touch
    seq -f 'effect%05g.wav' 2501 5000 | xargs touch
    seq -f 'music%05g.mid' 1 2500 | xargs touch
    seq -f 'notes%05g.txt' 1 2500 | xargs touch
)

pane_ms=$(TUNEVANE_BENCH_DIR=$folder QT_QPA_PLATFORM=offscreen "$bench" \
    --benchmark_repetitions=15 --benchmark_report_aggregates_only=true \
    --benchmark_format=json 2>/dev/null |
    jq '.benchmarks[] | select(.aggregate_name == "median") | .real_time')

hyperfine --shell=none --warmup 5 --runs 60 --style none \
    --export-json "$work/find.json" "find $folder -maxdepth 1 -iname *.wav" >/dev/null 2>&1
find_ms=$(jq '.results[0].median * 1000' "$work/find.json")

awk -v pane="$pane_ms" -v find="$find_ms" 'BEGIN {
    printf "10,000-file folder listed (5,000 WAV), ms (vs find -iname *.wav)|%.3f|%.3f|%.3f|<= 3x\n",
        pane, find, pane / find
}'

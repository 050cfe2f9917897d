#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tunevane developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Start → start-up window drawn, the program against a bare Qt Widgets window, offscreen.
# Both run unchanged with bench/ExitWhenDrawn preloaded, which ends each at its first frame.
# Usage: bench/startup.sh BUILD_DIR      Prints: name|measured|reference|ratio|goal
source "$(dirname "$0")/common.sh"

build=${1:?usage: bench/startup.sh BUILD_DIR}
preload=$build/bench/libExitWhenDrawn.so
needs "$preload" "$build/bin/tunevane" "$build/bench/BareWindow" hyperfine jq

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 700 "$work/runtime"
# The program folder goes into the scratch folder, not the user's data.
env=(LD_PRELOAD="$preload" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime"
    XDG_DATA_HOME="$work/data")
launch="env ${env[*]}"

# A program the preload cannot end would hang the timer; try each once first.
for program in "$build/bin/tunevane" "$build/bench/BareWindow"; do
    timeout 30 $launch "$program" >/dev/null 2>&1 ||
        { echo "$program did not end at its first frame" >&2; exit 1; }
done

hyperfine --shell=none --warmup 5 --runs 40 --style none --export-json "$work/startup.json" \
    "$launch $build/bin/tunevane" "$launch $build/bench/BareWindow" >/dev/null 2>&1
jq -r '.results | "start -> start-up window drawn, ms (vs bare Qt Widgets window)|\(.[0].median * 1000)|\(.[1].median * 1000)|\(.[0].median / .[1].median)|<= 1.2x"' \
    "$work/startup.json"

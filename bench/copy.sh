#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tunevane developers
# SPDX-License-Identifier: GPL-3.0-or-later

# A copy run of 6 files of 64 MiB (the way a switch copies) against cp of the same files
# followed by sync of the copies, page cache warm, runs alternating; throughput ratio.
# Usage: bench/copy.sh BUILD_DIR [SCRATCH_PARENT]   (scratch defaults to the build folder,
# which lies on a disk; /tmp may be a tmpfs, where sync costs nothing)
# Prints: name|measured|reference|ratio|goal
source "$(dirname "$0")/common.sh"

build=${1:?usage: bench/copy.sh BUILD_DIR [SCRATCH_PARENT]}
copier=$build/bench/CopyTiming
needs "$copier"
files=6
mib=64
runs=7

work=$(mktemp -d -p "${2:-$build}")
trap 'rm -rf "$work"' EXIT
mkdir "$work/new" "$work/ours" "$work/cp"
for i in $(seq "$files"); do
    head -c $((mib * 1024 * 1024)) /dev/urandom >"$work/new/SOUND$i.WAV"
done
# Both replace files that are there, as a switch does.
cp "$work"/new/* "$work/ours/"
cp "$work"/new/* "$work/cp/"
cat "$work"/new/* >/dev/null

now() { date +%s%N; }
ours=()
theirs=()
checks=()
for run in $(seq "$runs"); do
    for who in ours cp; do
        # Dirty pages of the run before must not be flushed on this run's clock.
        sync
        start=$(now)
        if [[ $who == ours ]]; then
            check=$("$copier" "$work/new" "$work/ours")
            ours+=($(($(now) - start)))
            checks+=("$check")
        else
            cp -f "$work"/new/* "$work/cp/" && sync "$work"/cp/* "$work/cp"
            theirs+=($(($(now) - start)))
        fi
    done
done
cmp -s "$work/new/SOUND1.WAV" "$work/ours/SOUND1.WAV" || { echo "copy is wrong" >&2; exit 1; }

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
awk -v ours="$(median "${ours[@]}")" -v cp="$(median "${theirs[@]}")" \
    -v mib=$((files * mib)) -v files="$files" -v each="$mib" 'BEGIN {
    mine = mib / (ours / 1e9); ref = mib / (cp / 1e9)
    printf "copy run %d x %d MiB, MiB/s (vs cp + sync of the copies)|%.0f|%.0f|%.3f|>= 0.9x\n",
        files, each, mine, ref, mine / ref
}'
# Every copy reads its source again and compares it with what it wrote (sshfs shows no
# rewrite in its times); what that costs the run:
awk -v check="$(median "${checks[@]}")" -v ours="$(median "${ours[@]}")" 'BEGIN {
    printf "note: checking the copies against their sources took %.0f ms of the run'"'"'s %.0f ms\n",
        check / 1e6, ours / 1e6
}'

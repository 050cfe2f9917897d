#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tunevane developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The longest window stall from start-up (the start-up window drawn) through the music
# window, its drive list opened and a network mount picked as a drive and opened as a folder,
# while that mount's server is stopped (a dropped sshfs, a sleeping NAS), against the same
# with the server answering (goal: at most 50 ms). Building the music window stalls as long
# whatever the mounts do, so it is a note of its own. The mount is a bindfs typed as sshfs;
# needs /dev/fuse.
# Usage: bench/mounts.sh BUILD_DIR      Prints: name|measured|reference|ratio|goal
source "$(dirname "$0")/common.sh"

build=${1:?usage: bench/mounts.sh BUILD_DIR}
bench=$build/bench/StallBench
needs "$bench" bindfs

work=$(mktemp -d)
server=
cleanup() {
    if [[ -n $server ]]; then
        kill -CONT "$server" 2>/dev/null || true
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    fi
    mountpoint -q "$work/nas" && umount -l "$work/nas" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/real/sounds" "$work/nas"
touch "$work/real/sounds/ON_NAS.WAV"
bindfs -f -o subtype=sshfs "$work/real" "$work/nas" &
server=$!
for _ in $(seq 100); do mountpoint -q "$work/nas" && break; sleep 0.05; done
mountpoint -q "$work/nas"

runs=5
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
answering=()
entering=()
stopped=()
measure() {
    local stall enter
    read -r stall enter < <("$bench" --mount "$work/nas" 2>/dev/null)
    eval "$1+=($stall)"
    entering+=("$enter")
}
for _ in $(seq "$runs"); do measure answering; done
kill -STOP "$server"
for _ in $(seq "$runs"); do measure stopped; done
kill -CONT "$server"

awk -v dead="$(median "${stopped[@]}")" -v live="$(median "${answering[@]}")" 'BEGIN {
    printf "longest window stall, a mount not answering, ms (vs the mount answering)|%.2f|%.2f|%.3f|<= 50 ms\n",
        dead, live, dead / live
}'
echo "building the music window stalls it for $(median "${entering[@]}") ms, mounts answering or not"

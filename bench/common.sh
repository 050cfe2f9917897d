# SPDX-FileCopyrightText: 2026 The Tunevane developers
# SPDX-License-Identifier: GPL-3.0-or-later

# What the benchmark scripts share; sourced, never run.
set -euo pipefail

# needs FILE... TOOL...: the files the build must have made (paths) and the commands on PATH;
# a benchmark without them cannot measure anything, so it stops saying what is missing.
needs() {
    local item
    for item; do
        if [[ $item == */* ]]; then
            [[ -e $item ]] || { echo "missing $item: build it first" >&2; exit 2; }
        else
            command -v "$item" >/dev/null || { echo "missing $item" >&2; exit 2; }
        fi
    done
}

#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tunevane developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Times the search for game places over 500 games of every launcher (300 Steam games in 5
# libraries, one in the installation and four on other folders; 50 each of Heroic and Lutris;
# 25 each of Bottles, minigalaxy, itch and winetricks) against `find` listing the same folders
# (goal: at most 20 ms, on the search's own thread); and the longest the music window's two
# panes stall the window when 20,000 found games arrive, against none found (goal: at most
# 50 ms).
# Usage: bench/games.sh BUILD_DIR      Prints: name|measured|reference|ratio|goal
source "$(dirname "$0")/common.sh"

build=${1:?usage: bench/games.sh BUILD_DIR}
bench=$build/bench/GamePlacesBench
stalls=$build/bench/StallBench
needs "$bench" "$stalls" hyperfine jq sqlite3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
home=$work/home
install=$home/.local/share/Steam
libraries=("$install" "$work"/disk{1..4}/SteamLibrary)
{
    echo '"libraryfolders" {'
    for i in "${!libraries[@]}"; do
        echo "  \"$i\" { \"path\" \"${libraries[$i]}\" \"label\" \"\" }"
    done
    echo '}'
} >"$work/libraryfolders.vdf"
for i in "${!libraries[@]}"; do
    apps=${libraries[$i]}/steamapps
    mkdir -p "$apps/common"
    for n in $(seq 1 60); do
        id=$((i * 1000 + n))
        mkdir "$apps/common/Game $id"
        printf '"AppState"\n{\n\t"appid"\t\t"%s"\n\t"name"\t\t"Game %s"\n\t"installdir"\t\t"Game %s"\n}\n' \
            "$id" "$id" "$id" >"$apps/appmanifest_$id.acf"
    done
done
mv "$work/libraryfolders.vdf" "$install/steamapps/"
# The other launchers' records, each with its games' folders.
heroic=$home/.config/heroic/legendaryConfig/legendary
mkdir -p "$heroic" "$home/.local/share/lutris" "$home/.config/itch/db"
sql="CREATE TABLE games (name, slug, runner, directory, installed, configpath);"
itch="CREATE TABLE games (id, title); CREATE TABLE install_locations (id, path);
    CREATE TABLE caves (game_id, install_location_id, install_folder_name, custom_install_folder);
    INSERT INTO install_locations VALUES (1, '$home/itch');"
{
    echo '{'
    for n in $(seq 1 50); do
        mkdir -p "$home/Games/Heroic/Epic $n" "$home/Games/lutris/lutris-$n"
        sql+=" INSERT INTO games VALUES ('Lutris $n', 'l$n', 'linux', '$home/Games/lutris/lutris-$n', 1, 'l$n');"
        echo "\"epic$n\": {\"title\": \"Epic $n\", \"install_path\": \"~/Games/Heroic/Epic $n\"}$([[ $n -lt 50 ]] && echo ,)"
    done
    echo '}'
} >"$heroic/installed.json"
for n in $(seq 1 25); do
    mkdir -p "$home/.local/share/bottles/bottles/Bottle $n/drive_c" "$home/gog/GOG $n" \
        "$home/itch/itch-$n" "$home/.local/share/wineprefixes/tricks-$n/drive_c"
    itch+=" INSERT INTO games VALUES ($n, 'Itch $n'); INSERT INTO caves VALUES ($n, 1, 'itch-$n', NULL);"
done
mkdir -p "$home/.config/minigalaxy"
echo "{\"install_dir\": \"~/gog\"}" >"$home/.config/minigalaxy/config.json"
sqlite3 "$home/.local/share/lutris/pga.db" "$sql"
sqlite3 "$home/.config/itch/db/butler.db" "$itch"
folders=("${libraries[@]/%//steamapps}" "$home/Games/Heroic" "$home/Games/lutris"
    "$home/.local/share/bottles/bottles" "$home/gog" "$home/itch" "$home/.local/share/wineprefixes")

search_ms=$(TUNEVANE_BENCH_HOME=$home "$bench" \
    --benchmark_repetitions=15 --benchmark_report_aggregates_only=true \
    --benchmark_format=json 2>/dev/null |
    jq '.benchmarks[] | select(.aggregate_name == "median") | .real_time')

hyperfine --shell=none --warmup 5 --runs 60 --style none --export-json "$work/find.json" \
    "find ${folders[*]} -maxdepth 2" >/dev/null 2>&1
find_ms=$(jq '.results[0].median * 1000' "$work/find.json")

awk -v search="$search_ms" -v find="$find_ms" 'BEGIN {
    printf "500 games of every launcher found, ms (vs find over their folders)|%.3f|%.3f|%.3f|<= 20 ms\n",
        search, find, search / find
}'

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
mkdir "$work/many" "$work/none"
"$stalls" --make-games "$work/many" 20000 2>/dev/null
many=()
none=()
for _ in 1 2 3 4 5; do
    many+=("$("$stalls" --games "$work/many" 20000 2>/dev/null)")
    none+=("$("$stalls" --games "$work/none" 0 2>/dev/null)")
done
awk -v many="$(median "${many[@]}")" -v none="$(median "${none[@]}")" 'BEGIN {
    printf "longest window stall, 20,000 games found, ms (vs none found)|%.2f|%.2f|%.3f|<= 50 ms\n",
        many, none, many / none
}'

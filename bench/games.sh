#!/usr/bin/env bash
# Times the search for game places over 500 Steam games in 5 libraries (one in the
# installation, four on other folders) against `find` listing the same folders (goal: at
# most 20 ms, on the search's own thread); and the longest the music window's two panes stall
# the window when 20,000 found games arrive, against none found (goal: at most 50 ms).
# Usage: bench/games.sh BUILD_DIR      Prints: name|measured|reference|ratio|goal
source "$(dirname "$0")/common.sh"

build=${1:?usage: bench/games.sh BUILD_DIR}
bench=$build/bench/GamePlacesBench
stalls=$build/bench/StallBench
needs "$bench" "$stalls" hyperfine jq

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
install=$work/home/.local/share/Steam
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
    for n in $(seq 1 100); do
        id=$((i * 1000 + n))
        mkdir "$apps/common/Game $id"
        printf '"AppState"\n{\n\t"appid"\t\t"%s"\n\t"name"\t\t"Game %s"\n\t"installdir"\t\t"Game %s"\n}\n' \
            "$id" "$id" "$id" >"$apps/appmanifest_$id.acf"
    done
done
mv "$work/libraryfolders.vdf" "$install/steamapps/"

search_ms=$(TUNEVANE_BENCH_HOME=$work/home "$bench" \
    --benchmark_repetitions=15 --benchmark_report_aggregates_only=true \
    --benchmark_format=json 2>/dev/null |
    jq '.benchmarks[] | select(.aggregate_name == "median") | .real_time')

hyperfine --shell=none --warmup 5 --runs 60 --style none --export-json "$work/find.json" \
    "find ${libraries[*]/%//steamapps} -maxdepth 2" >/dev/null 2>&1
find_ms=$(jq '.results[0].median * 1000' "$work/find.json")

awk -v search="$search_ms" -v find="$find_ms" 'BEGIN {
    printf "500 Steam games in 5 libraries found, ms (vs find over the libraries)|%.3f|%.3f|%.3f|<= 20 ms\n",
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

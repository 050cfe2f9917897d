#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Tunevane developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Checks on the built .deb, as a Debian packager and a user would see it:
#   package.sh lintian DIR             lintian finds no error
#   package.sh same DIR SOURCE           the same commit built again in another folder gives
#                                      a package with the same contents (needs
#                                      SOURCE_DATE_EPOCH, as scripts/test sets it; skips
#                                      without)
#   package.sh install DIR SMOKETEST [FOLDER...]
#                                      it installs into a scratch root, its code names none
#                                      of the FOLDERs (the build's), the installed program
#                                      starts and ends on a key, and removing it leaves
#                                      nothing of it behind, and the user's folders in place
#   package.sh licence SOURCE          every source file of the checkout names the holder and
#                                      licence that the package's copyright file gives for
#                                      all files (skips outside a git checkout)
set -euo pipefail

mode="$1"
dir="$2"

if [ "$mode" = licence ]; then
    git -C "$dir" rev-parse --is-inside-work-tree >/dev/null 2>&1 ||
        { echo "$dir is not a git checkout"; exit 77; }
    copyright="$dir/packaging/copyright.in"
    # The "Files: *" stanza's fields, as the package ships them.
    field() { awk -v name="$1" '/^Files: \*$/ { all = 1; next } /^$/ { all = 0 }
        all && index($0, name ": ") == 1 { print substr($0, length(name) + 3); exit }' "$copyright"; }
    holder="$(field Copyright)"
    case "$(field License)" in
    GPL-3+) spdx=GPL-3.0-or-later ;;
    *) echo "no SPDX name for the licence \"$(field License)\" of $copyright" >&2; exit 1 ;;
    esac
    checked=0
    wrong=()
    while IFS= read -r -d '' file; do
        path="$dir/$file"
        [ -f "$path" ] && [ ! -L "$path" ] || continue
        case "$file" in
        *.cpp | *.h | *.h.in | *.sh | *.cmake | CMakeLists.txt | */CMakeLists.txt) ;;
        *) [ "$(head -c 2 "$path" | tr -d '\0')" = "#!" ] || continue ;;
        esac
        checked=$((checked + 1))
        # In the first lines, under the shebang where there is one.
        top="$(head -n 4 "$path")"
        has() { grep -qxF -e "// SPDX-$1" -e "# SPDX-$1" <<<"$top"; }
        has "FileCopyrightText: $holder" && has "License-Identifier: $spdx" || wrong+=("$file")
    done < <(git -C "$dir" ls-files -z)
    if [ ${#wrong[@]} -gt 0 ]; then
        printf 'no "SPDX-FileCopyrightText: %s" and "SPDX-License-Identifier: %s" at the top of:\n' \
            "$holder" "$spdx" >&2
        printf '  %s\n' "${wrong[@]}" >&2
        exit 1
    fi
    echo "$checked source files name $holder and $spdx"
    exit 0
fi

debs=("$dir"/tunevane_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "expected one package in $dir" >&2; exit 1; }
deb="${debs[0]}"

case "$mode" in
lintian)
    # Tags are printed for the record; only errors fail.
    lintian --fail-on error --tag-display-limit 0 "$deb"
    ;;
same)
    source_dir="$3"
    [ -n "${SOURCE_DATE_EPOCH:-}" ] || { echo "SOURCE_DATE_EPOCH is not set"; exit 77; }
    other="$(mktemp -d /tmp/tunevane-again.XXXXXX)"
    trap 'rm -rf "$other"' EXIT
    mkdir "$other/checkout" "$other/one" "$other/two"
    tar -C "$source_dir" --exclude=./build -cf - . | tar -C "$other/checkout" -xf -
    cmake --preset release -S "$other/checkout" >/dev/null
    cmake --build "$other/checkout/build/release" \
        --target tunevane tunevane_audio_plugin tunevane_package_files >/dev/null
    (cd "$other/checkout/build/release" && cpack --config CPackConfig.cmake >/dev/null)
    dpkg-deb -R "$deb" "$other/one"
    dpkg-deb -R "$other"/checkout/build/release/package/tunevane_*.deb "$other/two"
    diff -r "$other/one" "$other/two"
    echo "the package built in another folder is the same"
    ;;
install)
    smoketest="$3"
    depends="$(dpkg-deb --field "$deb" Depends)"
    echo "Depends: $depends"
    for needed in "timgm6mb-soundfont | fluid-soundfont-gm" fonts-liberation libqt6widgets6 libqt6svg6; do
        [[ "$depends" == *"$needed"* ]] || { echo "Depends lacks $needed" >&2; exit 1; }
    done

    root="$(mktemp -d /tmp/tunevane-root.XXXXXX)"
    trap 'rm -rf "$root"' EXIT
    mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/log"
    touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
    as_root=()
    [ "$(id -u)" -eq 0 ] || as_root=(fakeroot)
    dpkg_root() {
        "${as_root[@]}" dpkg --root="$root" --log="$root/var/log/dpkg.log" --force-not-root \
            --force-depends "$@"
    }
    # A user who ran the program before has a program folder with a favourite in it.
    favourite="$root/home/user/.local/share/Tunevane/Favorite Midi/SONG.MID"
    mkdir -p "$(dirname "$favourite")"
    echo keep >"$favourite"

    dpkg_root --install "$deb"
    for file in usr/bin/tunevane \
        usr/share/applications/tunevane.desktop \
        usr/share/metainfo/org.example.Tunevane.metainfo.xml \
        usr/share/icons/hicolor/scalable/apps/tunevane.svg \
        usr/share/icons/hicolor/48x48/apps/tunevane.png \
        usr/share/icons/hicolor/256x256/apps/tunevane.png \
        usr/share/man/man1/tunevane.1.gz \
        usr/share/doc/tunevane/copyright \
        usr/share/doc/tunevane/changelog.gz; do
        [ -f "$root/$file" ] || { echo "not installed: /$file" >&2; exit 1; }
    done
    # Code that names a build folder would look there for more code on the user's machine.
    for folder in "${@:4}"; do
        if grep -rlaF "$folder" "$root/usr/bin" "$root/usr/lib"; then
            echo "the installed code names $folder" >&2
            exit 1
        fi
    done
    TUNEVANE_BINARY="$root/usr/bin/tunevane" "$smoketest"

    dpkg_root --purge tunevane
    left="$(cd "$root" && find usr -type f 2>/dev/null || true)"
    [ -z "$left" ] || { echo "left behind after removal:" >&2; echo "$left" >&2; exit 1; }
    [ "$(cat "$favourite")" = keep ] || { echo "the user's folder was touched" >&2; exit 1; }
    echo "installed, started, removed cleanly"
    ;;
*)
    echo "usage: package.sh lintian|same|install DIR [SOURCE|SMOKETEST [FOLDER...]]" >&2
    exit 2
    ;;
esac

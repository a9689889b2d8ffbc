#!/usr/bin/env bash
# Builds the Debian package from the build folder into a temporary folder and
# reads it back: name, section, dependencies found by dpkg-shlibdeps, the
# files it carries, and lintian without errors (when lintian is there).
# Skipped (77) without dpkg-shlibdeps or file, which cpack needs.
#   debian_package_test.sh BUILD_DIR
set -euo pipefail
build="$1"
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null || { echo "$tool missing: package not built"; exit 77; }
done
work="$(mktemp -d /tmp/orbelune-deb-XXXXXX)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack"; }
deb="$(ls "$work"/orbelune_*.deb)"
field() { dpkg-deb -f "$deb" "$1"; }
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes; Depends: $(field Depends)"
[[ "$(field Package)" == orbelune && "$(field Section)" == games ]] || fail "name or section"
for dependency in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libfltk1.3 libpng16-16 libglu1-mesa libc6 libegl-mesa0; do
    [[ ", $(field Depends)," == *", $dependency"[\ ,]* ]] || fail "Depends lacks $dependency: $(field Depends)"
done
files="$(dpkg-deb -c "$deb" | awk '{print $6}')"
for path in ./usr/games/orbelune ./usr/share/orbelune/data/script/texture.dat \
            ./usr/share/orbelune/data/music/drabelfinal.mp3 ./usr/share/man/man6/orbelune.6.gz \
            ./usr/share/doc/orbelune/copyright ./usr/share/doc/orbelune/changelog.gz; do
    grep -qx -- "$path" <<<"$files" || fail "the package lacks $path"
done
grep -q '^\./usr/share/applications/.*\.desktop$' <<<"$files" || fail "no desktop entry"
grep -q '^\./usr/share/metainfo/.*\.metainfo\.xml$' <<<"$files" || fail "no metainfo"
grep -q "^\./usr/bin/" <<<"$files" && fail "an empty /usr/bin is packaged"

if command -v lintian >/dev/null; then
    lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
        { cat "$work/lintian.log"; fail "lintian found errors"; }
    echo "lintian: $(grep -c '^W:' "$work/lintian.log" || true) warnings, no errors"
    grep '^[WI]:' "$work/lintian.log" || true
else
    echo "lintian missing: package not linted"
fi
echo "debian package: ok"

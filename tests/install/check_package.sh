#!/usr/bin/env bash
# Makes the Debian package of the build with CPack and checks it: its name,
# its control fields, the dependencies dpkg-shlibdeps found, the files under
# /usr with the compressed manual page, copyright file and changelog, and no
# lintian error.
# Usage: check_package.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log"; fail "cpack -G DEB"; }
arch=$(dpkg --print-architecture)
deb="$out/quillora_1.0_$arch.deb"
[ -f "$deb" ] || { ls "$out"; fail "no quillora_1.0_$arch.deb"; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quillora ] || fail "Package: $(field Package)"
[ "$(field Section)" = graphics ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
depends=$(field Depends)
for lib in libqt6widgets6 libqt6printsupport6 libcups2 libqpdf; do
    [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
description=$(field Description)
[[ $description == *"order forms"* ]] || fail "Description: $description"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/quillora ./usr/share/man/man1/quillora.1.gz ./usr/share/doc/quillora/copyright \
         ./usr/share/doc/quillora/changelog.gz ./usr/share/quillora/translate.dat \
         ./usr/share/applications/quillora.desktop; do
    grep -qxF "$f" <<<"$files" || fail "not in the package: $f"
done
! grep -v '^\./usr/' <<<"$files" | grep -qv '^\./$' || fail "files outside /usr"

if command -v lintian >/dev/null; then
    status=0
    lintian --fail-on error "$deb" >"$out/lintian.log" 2>&1 || status=$?
    grep -v 'root privileges' "$out/lintian.log" >&2 || true
    [ "$status" = 0 ] && ! grep -q '^E:' "$out/lintian.log" || fail "lintian errors"
else
    echo "lintian is not installed: package not checked by it" >&2
fi
echo "package check passed: $(basename "$deb")"

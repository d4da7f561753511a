#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what it installed: the
# desktop entry, the AppStream metadata, the MIME type of *.qlr, the icons, the
# manual page (compressed), and that the installed program finds its data there.
# Usage: check_install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$prefix/dest" cmake --install "$build" --prefix /opt/quillora >/dev/null
root="$prefix/dest/opt/quillora"
share="$root/share"
for f in bin/quillora "share/quillora/logo torvane200x200.gif" share/quillora/test.qlr share/quillora/digits.model \
         share/quillora/translate.dat \
         share/applications/quillora.desktop share/mime/packages/quillora.xml \
         share/metainfo/de.torvane.Quillora.metainfo.xml share/man/man1/quillora.1.gz \
         share/doc/quillora/copyright share/doc/quillora/changelog.gz \
         share/icons/hicolor/scalable/apps/quillora.svg \
         share/icons/hicolor/48x48/apps/quillora.png \
         share/icons/hicolor/256x256/mimetypes/application-x-quillora-project.png; do
    [ -e "$root/$f" ] || fail "not installed: $f"
done

desktop-file-validate "$share/applications/quillora.desktop" || fail "desktop entry"
appstreamcli validate --no-net --pedantic "$share/metainfo/de.torvane.Quillora.metainfo.xml" ||
    fail "AppStream metadata"
man --warnings -l -Tutf8 "$share/man/man1/quillora.1.gz" >/dev/null 2>"$prefix/man.err" || true
[ ! -s "$prefix/man.err" ] || { cat "$prefix/man.err"; fail "manual page"; }

update-mime-database "$share/mime" || fail "MIME database"
grep -q 'application/x-quillora-project:\*\.qlr' "$share/mime/globs2" ||
    fail "*.qlr does not resolve to application/x-quillora-project"
grep -q 'application/x-quillora-project:application-x-quillora-project' "$share/mime/icons" ||
    fail "the MIME type has no icon"

# The installed translation table: 20 columns and its rows, the same as the build's.
[ "$(od -An -tx1 -N4 "$share/quillora/translate.dat" | tr -d ' ')" = 14000000 ] ||
    fail "the installed translate.dat does not start with its 20 columns"
cmp -s "$share/quillora/translate.dat" "$build/shipped/translate.dat" ||
    fail "the installed translate.dat differs from the build's"

# The installed program tells its version without a display and without a window.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/quillora" --version 2>/dev/null) ||
    fail "--version of the installed program"
[[ $version == "Quillora "* ]] || fail "--version printed \"$version\""
# The installed program, run from elsewhere, finds the logo and the sample in share/quillora.
cd "$prefix"
QT_QPA_PLATFORM=offscreen "$root/bin/quillora" --render-png page.png --page 1 \
    "$share/quillora/test.qlr" || fail "export from the installed program"
[ -s page.png ] || fail "no page image"
# Without the installed logo the page must come out different: the logo was found there.
rm "$share/quillora/logo torvane200x200.gif"
QT_QPA_PLATFORM=offscreen "$root/bin/quillora" --render-png bare.png --page 1 \
    "$share/quillora/test.qlr" || fail "export without the logo"
! cmp -s page.png bare.png || fail "the installed program did not find its logo"
echo "install check passed"

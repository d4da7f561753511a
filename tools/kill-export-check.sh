#!/bin/bash
# Kills the command-line PDF export of a generated 1,000-page form with
# SIGKILL at random moments, again and again, and checks that the output
# folder never holds anything but the project and either the former output
# (whole) or the complete new one. Usage:
#   tools/kill-export-check.sh BUILD_DIR [ROUNDS]
set -u
build=${1:?build directory}
rounds=${2:-20}
program="$build/quillora"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
out="$work/out"
mkdir "$out"

# 2,000 fields of 18 x 12 cm, two to an A4 page: 1,000 pages.
python3 - "$out/form.qlr" "$(dirname "$0")/../fuzz/corpus/empty.qlr" <<'PY'
import struct, sys
target, empty = sys.argv[1], sys.argv[2]
def s(t): b = t.encode('cp1252'); return struct.pack('<i', len(b)) + b
body = struct.pack('<i', 1) + s('Bestellung') + struct.pack('<i', 2000)
for i in range(2000):
    body += s('Feld %d' % (i + 1)) + s('') + struct.pack('<iddi', 0, 18.0, 12.0, 0)
    body += struct.pack('<ii', 1, 0) + struct.pack('<i', 0)
tail = open(empty, 'rb').read()[4:]
open(target, 'wb').write(body + tail)
PY

export QT_QPA_PLATFORM=offscreen
start=$(date +%s.%N)
"$program" --print-pdf "$out/form.pdf" "$out/form.qlr" || { echo "export failed"; exit 1; }
full=$(echo "$(date +%s.%N) - $start" | bc)
cp "$out/form.pdf" "$work/new.pdf"
printf 'former output\n' > "$out/form.pdf"
cp "$out/form.pdf" "$work/former.pdf"
echo "one export takes ${full}s; new PDF $(stat -c %s "$work/new.pdf") bytes"

bad=0 former=0 new=0
for ((i = 1; i <= rounds; i++)); do
    delay=$(python3 -c "import random; print(round(random.uniform(0.05, $full * 1.3), 3))")
    "$program" --print-pdf "$out/form.pdf" "$out/form.qlr" >/dev/null 2>&1 &
    pid=$!
    sleep "$delay"
    kill -9 "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    listing=$(ls -A "$out" | tr '\n' ' ')
    if [ "$listing" != "form.pdf form.qlr " ]; then
        echo "round $i (${delay}s): stray files: $listing"; bad=$((bad + 1))
    elif cmp -s "$out/form.pdf" "$work/former.pdf"; then
        former=$((former + 1))
    elif [ "$(stat -c %s "$out/form.pdf")" -eq "$(stat -c %s "$work/new.pdf")" ] && tail -c 8 "$out/form.pdf" | grep -q "%%EOF"; then
        new=$((new + 1)); cp "$work/former.pdf" "$out/form.pdf"
    else
        echo "round $i (${delay}s): form.pdf is neither the former nor a whole new file"; bad=$((bad + 1))
    fi
done
echo "rounds: $rounds, former kept: $former, new complete: $new, bad: $bad"
[ "$bad" -eq 0 ]

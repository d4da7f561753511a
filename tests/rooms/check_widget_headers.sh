#!/usr/bin/env bash
# Fails when a room below the window includes a widget header: document/,
# program/, images/, render/, translate/ and editing/ (outside their forms/),
# returns/, output/ and cli/ must build without Qt Widgets and Qt PrintSupport. Widget
# code lives in app/, widgets/ (the general widgets) and the forms/ folders; a
# source folder that is neither a room nor one of these fails too, so that a
# new room is checked from its first file. The headers
# counted as widget headers are every class header of the QtWidgets and
# QtPrintSupport include folders given, the modules themselves, and a fixed
# list with the patterns Q...Widget and QAbstract...View.
# Usage: check_widget_headers.sh SOURCE_DIR [QT_INCLUDE_DIR...]
set -euo pipefail
source_dir=$1
shift
fail() { echo "FAIL: $*" >&2; exit 1; }

declare -A widget_header=()
for name in QtWidgets QtPrintSupport QWidget QApplication QDialog QMessageBox QPrinter \
            QPrinterInfo QPrintDialog QPrintPreviewDialog QPrintPreviewWidget QPageSetupDialog \
            QAbstractPrintDialog QMainWindow QLabel QLineEdit QPushButton QComboBox QSpinBox \
            QCheckBox QRadioButton QGroupBox QFileDialog QColorDialog QFontDialog QInputDialog \
            QProgressDialog QDialogButtonBox QMenu QMenuBar QToolBar QStatusBar QLayout \
            QBoxLayout QHBoxLayout QVBoxLayout QGridLayout QFormLayout QStackedLayout \
            QScrollArea QSplitter QFrame QStyle QStyleFactory QStyledItemDelegate; do
    widget_header[$name]=1
done
for dir in "$@"; do
    case $dir in
    */QtWidgets | */QtPrintSupport) ;;
    *) continue ;;
    esac
    [ -d "$dir" ] || continue
    for header in "$dir"/Q*; do
        name=${header##*/}
        [[ $name == *.* ]] || widget_header[$name]=1
    done
done

is_widget_header() {
    local name=${1%.h}
    case $1 in QtWidgets/* | QtPrintSupport/*) return 0 ;; esac
    name=${name##*/}
    [ -n "${widget_header[$name]:-}" ] && return 0
    [[ $name =~ ^Q[A-Za-z]*Widget$ || $name =~ ^QAbstract[A-Za-z]*View$ ]]
}

# Prints "file: header" for every widget header included under the folders given.
widget_includes() {
    local root=$1
    shift
    local folder file header prune
    for folder in "$@"; do
        [ -d "$root/$folder" ] || continue
        # Dialogs of the core rooms live in their forms/; returns/, output/ and cli/ have none.
        prune=()
        case $folder in returns | output | cli) ;; *) prune=(-path "$root/$folder/forms" -prune -o) ;; esac
        while IFS= read -r -d '' file; do
            while IFS= read -r header; do
                if is_widget_header "$header"; then echo "${file#"$root"/}: $header"; fi
            done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/p' "$file")
        done < <(find "$root/$folder" "${prune[@]}" -type f \
                      \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' \) -print0)
    done
}

rooms=(document program images render translate editing returns output cli)
widget_folders=(app widgets)
not_rooms=(tests bench fuzz build .git)

# The check must catch a widget header at all: one planted in a copy of a room.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/output" "$scratch/render/forms"
printf '#include <QtGui/QImage>\n#include <QPageLayout>\n' >"$scratch/output/Fine.cpp"
printf '#include <QLabel>\n' >"$scratch/render/forms/Dialog.cpp"
[ -z "$(widget_includes "$scratch" "${rooms[@]}")" ] || fail "the check counts allowed headers"
mkdir -p "$scratch/cli/forms"
printf '#include <QtWidgets/QLabel>\n' >"$scratch/cli/forms/Dialog.h"
[ -n "$(widget_includes "$scratch" "${rooms[@]}")" ] || fail "the check misses cli/forms/"
rm -r "$scratch/cli/forms"
printf '#include "QGraphicsView"\n' >"$scratch/output/Wrong.h"
[ -n "$(widget_includes "$scratch" "${rooms[@]}")" ] || fail "the check misses a widget header"

# Every top folder holding C++ sources is a room, a widget folder or none of the program's.
for folder in "$source_dir"/*/; do
    name=$(basename "$folder")
    case " ${rooms[*]} ${widget_folders[*]} ${not_rooms[*]} " in *" $name "*) continue ;; esac
    [ -z "$(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' \) -print -quit)" ] ||
        fail "$name/ holds sources but is neither a room nor a widget folder"
done

found=$(widget_includes "$source_dir" "${rooms[@]}")
[ -z "$found" ] || fail "widget headers below the window:"$'\n'"$found"
echo "no widget header in: ${rooms[*]}"

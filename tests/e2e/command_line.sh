#!/usr/bin/env bash
# The program's command line as a user meets it in a terminal: help, version,
# wrong options, a missing document, printing and the PDF export, and removing
# the desktop registration. None of these needs a display, so they run with
# neither DISPLAY nor a Qt platform set. Usage: command_line.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
failures=0

# run NAME EXPECTED_STATUS ARGS...: runs the program without a display,
# keeping its output in $work/out and $work/err.
run() {
  local name=$1 want=$2
  shift 2
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
    timeout 20 "$bin" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [[ $got -ne $want ]]; then
    echo "FAIL $name: exit status $got, expected $want"
    sed 's/^/  stderr: /' "$work/err"
    failures=$((failures + 1))
    return 1
  fi
  return 0
}

# expect NAME FILE PATTERN: FILE (out or err) contains PATTERN.
expect() {
  if ! grep -q -- "$3" "$work/$2"; then
    echo "FAIL $1: $2 lacks '$3'"
    sed "s/^/  $2: /" "$work/$2"
    failures=$((failures + 1))
  fi
}

# empty NAME FILE: FILE (out or err) is empty.
empty() {
  if [[ -s $work/$2 ]]; then
    echo "FAIL $1: unexpected $2:"
    sed "s/^/  $2: /" "$work/$2"
    failures=$((failures + 1))
  fi
}

run help 0 --help && { expect help out "Usage: tavromark"; expect help out "/Unregister"; expect help out "--pdf"; empty help err; }
run "short help" 0 -h && expect "short help" out "Usage: tavromark"
run version 0 --version && { expect version out "^tavromark [0-9][0-9.]*$"; empty version err; }

run "unknown option" 2 --frobnicate && {
  expect "unknown option" err "unknown option '--frobnicate'"
  expect "unknown option" err "--help"
  empty "unknown option" out
}
run "two documents" 2 a.tav b.tav && expect "two documents" err "one document"

run "missing document" 1 "$work/nothing here.tav" && {
  expect "missing document" err "cannot open '$work/nothing here.tav'"
  expect "missing document" err "No such file"
}
run "directory as document" 1 "$work" && expect "directory as document" err "Is a directory"

data=$(cd "$(dirname "$0")/../data" && pwd)
printf 'x' >"$work/a.tav"
run "print a foreign file" 1 /p "$work/a.tav" && expect "print a foreign file" err "is not a Tavromark document"
run "print a missing file" 1 /p "$work/none.tav" && expect "print a missing file" err "No such file"
run "print to an unknown printer" 1 /pt "$data/default.tav" "No Such Printer" &&
  expect "print to an unknown printer" err "unknown printer 'No Such Printer'"

# The PDF export: one page, real text, moved by the page offset of the
# settings file, and clear failures.
run pdf 0 --pdf "$work/plain.pdf" "$data/preset-7x20-texts.tav"
if command -v pdftotext >/dev/null; then
  [[ $(pdfinfo "$work/plain.pdf" | awk '/^Pages:/ {print $2}') == 1 ]] || {
    echo "FAIL pdf: not one page"
    failures=$((failures + 1))
  }
  mkdir -p "$work/config/TAVRO"
  printf '[General]\nPageMoveX=500\nPageMoveY=-250\n' >"$work/config/TAVRO/tavro.ini"
  run "pdf with an offset" 0 --pdf "$work/moved.pdf" "$data/preset-7x20-texts.tav"
  rm "$work/config/TAVRO/tavro.ini"
  # The first word's corner, in points: moved 5 mm right, 2.5 mm up.
  corner() { pdftotext -bbox "$1" - | grep -m1 -o 'xMin="[0-9.]*" yMin="[0-9.]*"' | tr -dc '0-9. '; }
  read -r x0 y0 < <(corner "$work/plain.pdf")
  read -r x1 y1 < <(corner "$work/moved.pdf")
  awk -v dx="$(echo "$x1 - $x0" | bc)" -v dy="$(echo "$y1 - $y0" | bc)" \
    'BEGIN { exit !(dx > 13.9 && dx < 14.5 && dy < -6.8 && dy > -7.4) }' || {
    echo "FAIL pdf with an offset: text moved by ($x0,$y0) -> ($x1,$y1)"
    failures=$((failures + 1))
  }
fi
run "pdf of the baseline" 0 --pdf "$work/base.pdf" --baseline "$data/default.tav"
run "pdf of a missing document" 1 --pdf "$work/x.pdf" "$work/none.tav" &&
  expect "pdf of a missing document" err "cannot open"
run "pdf into a missing directory" 1 --pdf "$work/no/dir/x.pdf" "$data/default.tav" &&
  expect "pdf into a missing directory" err "cannot write '$work/no/dir/x.pdf'"
# A 16-bit text holding a Thai letter (U+0E01), which code page 936 lacks.
LC_ALL=C sed 's/\x41\x00\xAC\x20/\x41\x00\x01\x0E/' "$data/wide-string-2x2.tav" >"$work/thai.tav"
run "pdf of a text code page 936 cannot hold" 1 --pdf "$work/x.pdf" "$work/thai.tav" &&
  expect "pdf of a text code page 936 cannot hold" err "holds the character U+0E01"
[[ -e $work/x.pdf ]] && { echo "FAIL: a PDF was written for a missing document"; failures=$((failures + 1)); }
run "pdf without a document" 2 --pdf "$work/x.pdf" && expect "pdf without a document" err "exactly one document"

mkdir -p "$work/data/applications" "$work/data/mime/packages"
touch "$work/data/applications/tavromark.desktop" "$work/data/mime/packages/tavromark.xml"
run unregister 0 /Unregister && {
  expect unregister out "removed"
  for f in applications/tavromark.desktop mime/packages/tavromark.xml; do
    [[ -e $work/data/$f ]] && { echo "FAIL unregister: $f still there"; failures=$((failures + 1)); }
  done
}
run "unregserver when nothing is registered" 0 -Unregserver

if ((failures)); then
  echo "$failures failure(s)"
  exit 1
fi
echo "all command line checks passed"

#!/usr/bin/env bash
# The program's command line as a user meets it in a terminal: help, version,
# wrong options, a missing document, printing not yet available, and removing
# the desktop registration. None of these needs a display, so they run with
# neither DISPLAY nor a Qt platform set. Usage: command_line.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
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

run help 0 --help && { expect help out "Usage: tavromark"; expect help out "/Unregister"; empty help err; }
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

printf 'x' >"$work/a.tav"
run print 1 /p "$work/a.tav" && expect print err "printing from the command line is not available yet"
run "print to" 1 /pt "$work/a.tav" Office && expect "print to" err "not available yet"

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

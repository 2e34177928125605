#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the installed tree:
# every file in place and nothing else, the desktop entry, the AppStream data,
# the manual page and the MIME type valid. Then the desktop registration at start-up: the
# installed program writes none, the build tree's program writes one whose
# entry is the installed entry but for the program's path, and "/Unregister"
# of the installed program removes it.
# Usage: install_tree.sh CMAKE BUILD_DIR
set -uo pipefail
cmake=${1:?usage: $0 CMAKE BUILD_DIR} build=${2:?usage: $0 CMAKE BUILD_DIR}
for tool in desktop-file-validate appstreamcli update-mime-database identify man; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0
fail() {
  echo "FAIL $*"
  failures=$((failures + 1))
}

if ! "$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi

icon_sizes=(16 24 32 48 64 128 256)
expected=(
  bin/tavromark
  share/applications/tavromark.desktop
  share/doc/tavromark/changelog.gz
  share/doc/tavromark/copyright
  share/icons/hicolor/scalable/apps/tavromark.svg
  share/man/man1/tavromark.1.gz
  share/metainfo/org.tavromark.Tavromark.metainfo.xml
  share/mime/packages/tavromark.xml
)
for size in "${icon_sizes[@]}"; do
  expected+=("share/icons/hicolor/${size}x${size}/apps/tavromark.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f -printf '%P\n' | sort) >"$work/diff" ||
  { fail "installed files (< missing, > unexpected):"; cat "$work/diff"; }

for size in "${icon_sizes[@]}"; do
  got=$(identify -format '%m %wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/tavromark.png" 2>&1)
  [[ $got == "PNG ${size}x${size}" ]] || fail "icon ${size}x${size} is '$got'"
done
[[ -x $prefix/bin/tavromark ]] || fail "the program is not executable"
version=$(env -u DISPLAY "$prefix/bin/tavromark" --version 2>&1)
[[ $version == "tavromark "* ]] || fail "installed program --version: '$version'"

entry=$prefix/share/applications/tavromark.desktop
report=$(desktop-file-validate "$entry" 2>&1) && [[ -z $report ]] || fail "desktop-file-validate: $report"
grep -qx 'Exec=tavromark %f' "$entry" || fail "the entry does not start the program by name"
grep -qx 'Exec=tavromark /p %f' "$entry" || fail "the entry has no print action"

report=$(appstreamcli validate --no-net "$prefix/share/metainfo/org.tavromark.Tavromark.metainfo.xml" 2>&1) ||
  fail "appstreamcli validate: $report"

# The manual page reads without a warning and has every form of the command.
page=$prefix/share/man/man1/tavromark.1.gz
report=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$work/page") && [[ -z $report ]] || fail "man: $report"
for form in 'tavromark /p FILE.tav' 'tavromark /pt FILE.tav PRINTER --list WIRES' '--selected-only' \
  'EXIT STATUS' '$XDG_CONFIG_HOME/TAVRO/tavro.ini'; do
  grep -qF -- "$form" "$work/page" || fail "the manual page lacks '$form'"
done

# The type as the desktop sees it once the package's trigger has run.
report=$(XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime" 2>&1) && [[ -z $report ]] || fail "update-mime-database: $report"
[[ -f $prefix/share/mime/application/x-tavro-document.xml ]] || fail "the MIME database lacks the type"
grep -qx '50:application/x-tavro-document:\*\.tav' "$prefix/share/mime/globs2" 2>/dev/null || fail "globs2 lacks *.tav"
grep -q 'application/x-tavro-document' "$prefix/share/mime/magic" 2>/dev/null || fail "magic lacks the signature"
grep -q 'TAVRO Document' "$prefix/share/mime/application/x-tavro-document.xml" || fail "the type has no description"

# start DATA_HOME PROGRAM ARGS...: runs the program offscreen until its
# first paint, with its own settings and data directories.
start() {
  local data=$1
  shift
  QT_QPA_PLATFORM=offscreen TAVRO_EXIT_AFTER_FIRST_PAINT=1 \
    XDG_DATA_HOME="$data" XDG_CONFIG_HOME="$work/config" \
    timeout 60 "$@" >"$work/out" 2>&1 || { fail "$* ended with status $?:"; cat "$work/out"; }
}

start "$work/data-installed" "$prefix/bin/tavromark" /nologo
registered=$(find "$work/data-installed" -type f 2>/dev/null)
[[ -z $registered ]] || fail "the installed program wrote a per-user registration: $registered"

program=$(readlink -f "$build/src/tavromark")
start "$work/data-build" "$program" /nologo
user_entry=$work/data-build/applications/tavromark.desktop
for f in applications/tavromark.desktop mime/packages/tavromark.xml icons/hicolor/scalable/apps/tavromark.svg; do
  [[ -f $work/data-build/$f ]] || fail "the build tree's program did not write $f"
done
# One text for both: the entries differ only in how they name the program
# (a path without characters that need quoting is written as it is).
[[ -f $user_entry ]] && { diff "$entry" <(sed "s|^Exec=$program |Exec=tavromark |" "$user_entry") >"$work/diff" ||
  { fail "the per-user entry differs from the installed one:"; cat "$work/diff"; }; }
cmp -s "$prefix/share/mime/packages/tavromark.xml" "$work/data-build/mime/packages/tavromark.xml" ||
  fail "the per-user MIME type differs from the installed one"

XDG_DATA_HOME="$work/data-build" env -u DISPLAY "$prefix/bin/tavromark" /Unregister >"$work/out" 2>&1 ||
  fail "/Unregister of the installed program: $(cat "$work/out")"
for f in applications/tavromark.desktop mime/packages/tavromark.xml icons/hicolor/scalable/apps/tavromark.svg; do
  [[ -e $work/data-build/$f ]] && fail "/Unregister left $f"
done

if ((failures)); then
  echo "$failures failure(s)"
  exit 1
fi
echo "installed tree checks passed"

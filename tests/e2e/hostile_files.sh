#!/usr/bin/env bash
# The program against hostile files and conditions: FIFOs where it reads a
# file, a full disk and a file size limit where it writes one, and settings
# files that claim huge counts or are huge. Nothing may hang, nothing may be
# lost, and every failure says why. The full disk needs root (a small tmpfs);
# those cases are skipped otherwise. Usage: hostile_files.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
data=$(cd "$(dirname "$0")/../data" && pwd)
work=$(mktemp -d)
mounted=
cleanup() {
  [[ -n $mounted ]] && umount -l "$mounted"
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
failures=0
skipped=0

fail() {
  echo "FAIL $1"
  [[ -f $work/err ]] && sed 's/^/  stderr: /' "$work/err"
  failures=$((failures + 1))
}

# run NAME EXPECTED_STATUS ARGS...: the program without a window (the
# offscreen platform for the GUI), settings in $work/config, at most 30 s.
run() {
  local name=$1 want=$2
  shift 2
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen \
    XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" \
    timeout 30 "$bin" "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [[ $got -eq 124 ]]; then
    fail "$name: hung (killed after 30 s)"
    return 1
  fi
  if [[ $got -ne $want ]]; then
    fail "$name: exit status $got, expected $want"
    return 1
  fi
  return 0
}

expect_err() {
  grep -q -- "$2" "$work/err" || fail "$1: stderr lacks '$2'"
}

same_file() {
  cmp -s "$2" "$3" || fail "$1: $2 was changed"
}

no_temporaries() {
  local left
  left=$(find "$2" -name '*tavromark-save*' | head -1)
  [[ -z $left ]] || fail "$1: temporary file left: $left"
}

mkdir -p "$work/config/TAVRO" "$work/data"

# A FIFO as the document, on the command line and for --pdf.
mkfifo "$work/fifo.tav"
run "fifo document" 1 "$work/fifo.tav" && expect_err "fifo document" "not a regular file"
run "fifo to pdf" 1 --pdf "$work/out.pdf" "$work/fifo.tav" && expect_err "fifo to pdf" "not a regular file"

# FIFOs as every settings file: the program starts with its defaults.
for name in tavro.ini tavropage.lps tavrops.spd; do
  mkfifo "$work/config/TAVRO/$name"
done
TAVRO_EXIT_AFTER_FIRST_PAINT=1 run "fifo settings, start" 0 && expect_err "fifo settings, start" "tavro.ini"
run "fifo settings, pdf" 0 --pdf "$work/out.pdf" "$data/default.tav"
rm -f "$work/config/TAVRO/"*

# A count of two thousand million recent files starts at once.
printf '[RecentFiles]\nsize=2147483647\n1\\File=%s\n' "$data/default.tav" >"$work/config/TAVRO/tavro.ini"
TAVRO_EXIT_AFTER_FIRST_PAINT=1 run "huge recent-file count" 0

# A settings file beyond any the program writes is left alone, with a word.
{
  echo '[General]'
  head -c 3000000 /dev/zero | tr '\0' 'x' | fold -w 100 | sed 's/^/Junk=/'
} >"$work/config/TAVRO/tavro.ini"
cp "$work/config/TAVRO/tavro.ini" "$work/big.ini"
TAVRO_EXIT_AFTER_FIRST_PAINT=1 run "oversized settings" 0 "$data/default.tav" && {
  expect_err "oversized settings" "tavro.ini"
  expect_err "oversized settings" "larger than"
  same_file "oversized settings" "$work/big.ini" "$work/config/TAVRO/tavro.ini"
}
rm -f "$work/config/TAVRO/tavro.ini"

# A file size limit: the PDF fails like a full disk, the old one stays.
run "pdf" 0 --pdf "$work/keep.pdf" "$data/preset-7x20-texts.tav"
cp "$work/keep.pdf" "$work/before.pdf"
(
  ulimit -f 2
  run "pdf under a file size limit" 1 --pdf "$work/keep.pdf" "$data/preset-7x20-texts.tav"
  exit $failures
) || failures=$((failures + 1))
expect_err "pdf under a file size limit" "File too large"
same_file "pdf under a file size limit" "$work/before.pdf" "$work/keep.pdf"
no_temporaries "pdf under a file size limit" "$work"

# A full disk: the same.
if [[ $(id -u) -eq 0 ]] && mkdir "$work/small" && mount -t tmpfs -o size=64k tmpfs "$work/small"; then
  mounted="$work/small"
  run "pdf on a roomy disk" 0 --pdf "$work/small/out.pdf" "$data/default.tav"
  cp "$work/small/out.pdf" "$work/before.pdf"
  # Fill the disk up to a few kilobytes.
  head -c $((64 * 1024 - $(stat -c %s "$work/small/out.pdf") - 6 * 1024)) /dev/zero >"$work/small/filler" 2>/dev/null
  run "pdf on a full disk" 1 --pdf "$work/small/out.pdf" "$data/preset-7x20-texts.tav" &&
    expect_err "pdf on a full disk" "No space left on device"
  same_file "pdf on a full disk" "$work/before.pdf" "$work/small/out.pdf"
  no_temporaries "pdf on a full disk" "$work/small"
else
  echo "SKIP full disk: needs root and a tmpfs mount"
  skipped=1
fi

if [[ $failures -gt 0 ]]; then
  echo "$failures failure(s)"
  exit 1
fi
[[ $skipped -eq 1 ]] && echo "(the full-disk case was skipped)"
exit 0

#!/usr/bin/env bash
# A wire list printed through a real CUPS queue with /pt and /p: a private
# scheduler with a cups-pdf printer (scripts/cups-test-server.sh). The job
# that arrives must hold one page per sheet with the markers on them. Runs
# only with TAVRO_REAL_PRINTER_TESTS=1, as root (cups-pdf reads its settings
# from /etc/cups); skips otherwise. Usage: wire_list_printer.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIP: $*"; exit 77; }
[[ ${TAVRO_REAL_PRINTER_TESTS:-} == 1 ]] || skip "set TAVRO_REAL_PRINTER_TESTS=1 to print through CUPS"
[[ $(id -u) -eq 0 ]] || skip "printing to a private CUPS queue needs root"
for tool in /usr/sbin/cupsd lpadmin lpstat pdfinfo pdftotext; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh)"
done
[[ -f /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd ]] || skip "printer-driver-cups-pdf is not installed"

work=$(mktemp -d)
chmod 755 "$work" # the filters run as the lp user
queue=tavro_wires_$$
server=$here/../../scripts/cups-test-server.sh
cleanup() {
  "$server" stop "$work/cups" >/dev/null 2>&1
  local pid
  pid=$(cat "$work/cups/cupsd.pid" 2>/dev/null)
  for _ in $(seq 50); do [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  rm -f "/etc/cups/cups-pdf-$queue.conf"
  [[ -n ${KEEP_WORK:-} ]] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$server" start "$work/cups" "$queue" >"$work/start.out" 2>&1 ||
  fail "the private CUPS server did not start: $(cat "$work/start.out")"
export CUPS_SERVER=$(sed -n 's/^CUPS_SERVER=//p' "$work/start.out")
lpstat -p "$queue" >/dev/null 2>&1 || fail "the private queue $queue did not come up"

# The 7 × 20 preset sheet has 70 selected labels, so 100 markers take two
# sheets: 70 on the first, 30 on the second (one word each).
seq -f 'WL%03g' 1 100 >"$work/wires.csv"
sheet=$here/../data/preset-7x20-texts.tav

# print NAME ARGS...: prints, waits for cups-pdf's file and checks it.
print() {
  local name=$1
  shift
  rm -f "$work"/cups/out/*.pdf
  env -u DISPLAY XDG_CONFIG_HOME="$work/config" timeout 60 "$bin" "$@" --list "$work/wires.csv" ||
    fail "$name exited with $?"
  for _ in $(seq 300); do
    [[ -z $(lpstat -o "$queue" 2>/dev/null) ]] && compgen -G "$work/cups/out/*.pdf" >/dev/null && break
    sleep 0.1
  done
  local pdf
  pdf=$(compgen -G "$work/cups/out/*.pdf" | head -n1)
  [[ -n $pdf ]] || fail "$name: no PDF arrived from the queue"
  sleep 0.3 # cups-pdf may still be closing the file
  local pages first second
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
  [[ $pages == 2 ]] || fail "$name: the queue printed $pages pages, not 2"
  # Ghostscript redistills the text into glyphs without their characters:
  # the markers are counted as words.
  first=$(pdftotext -f 1 -l 1 "$pdf" - | wc -w)
  second=$(pdftotext -f 2 -l 2 "$pdf" - | wc -w)
  [[ $first == 70 && $second == 30 ]] || fail "$name: $first and $second markers on the pages, not 70 and 30"
}
print "/pt" /pt "$sheet" "$queue"
print "/p" /p "$sheet"
echo "printed a wire list through $queue with /pt and /p: two sheets, the markers on them"

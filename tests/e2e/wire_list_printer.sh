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
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
fail() { echo "FAIL: $*"; exit 1; }

"$server" start "$work/cups" "$queue" >"$work/start.out" 2>&1 ||
  fail "the private CUPS server did not start: $(cat "$work/start.out")"
export CUPS_SERVER=$(sed -n 's/^CUPS_SERVER=//p' "$work/start.out")
lpstat -p "$queue" >/dev/null 2>&1 || fail "the private queue $queue did not come up"

# The 7 × 20 preset sheet has 70 selected labels, so 100 markers take two
# sheets: 70 on the first, 30 on the second (one word each). Some of its
# label formats are too small for a marker: --allow-clipping prints them as
# they are.
seq -f 'WL%03g' 1 100 >"$work/wires.csv"
sheet=$here/../data/preset-7x20-texts.tav
default=$here/../data/default.tav

# print NAME LIST ARGS...: prints, waits for cups-pdf's file and leaves its
# path in $pdf.
print() {
  local name=$1 list=$2
  shift 2
  rm -f "$work"/cups/out/*.pdf
  env -u DISPLAY XDG_CONFIG_HOME="$work/config" timeout 60 "$bin" "$@" --list "$list" ||
    fail "$name exited with $?"
  for _ in $(seq 300); do
    [[ -z $(lpstat -o "$queue" 2>/dev/null) ]] && compgen -G "$work/cups/out/*.pdf" >/dev/null && break
    sleep 0.1
  done
  pdf=$(compgen -G "$work/cups/out/*.pdf" | head -n1)
  [[ -n $pdf ]] || fail "$name: no PDF arrived from the queue"
  sleep 0.3 # cups-pdf may still be closing the file
  pdf_check "$pdf" || fail "$name: the queue's PDF is broken"
}

# print_two_sheets NAME ARGS...
print_two_sheets() {
  local name=$1
  shift
  print "$name" "$work/wires.csv" "$@"
  local pages first second
  pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
  [[ $pages == 2 ]] || fail "$name: the queue printed $pages pages, not 2"
  # Ghostscript redistills the text into glyphs without their characters:
  # the markers are counted as words.
  first=$(pdftotext -f 1 -l 1 "$pdf" - | wc -w)
  second=$(pdftotext -f 2 -l 2 "$pdf" - | wc -w)
  [[ $first == 70 && $second == 30 ]] || fail "$name: $first and $second markers on the pages, not 70 and 30"
}
print_two_sheets "/pt" /pt "$sheet" "$queue" --allow-clipping
print_two_sheets "/p" /p "$sheet" --allow-clipping

# A reprint of sheets 2 and 3 of a five-sheet job on the default sheet (70
# labels in 14 rows). The markers of sheet 3 have three lines, all others
# one, so the text lines of a printed page tell whose markers it holds: 14
# for sheet 2, three times as many for sheet 3. (Ghostscript redistills the
# text into glyphs without their characters, so words cannot be compared,
# and its glyphs may split a line in two.) Three lines overflow these
# labels: the job is printed as it is, with --allow-clipping.
awk 'BEGIN { for (i = 1; i <= 350; ++i) print (i > 140 && i <= 210) ? "\"W" i "\n2\n3\"" : "W" i }' >"$work/five.csv"
for pages in "" 2-3; do
  env -u DISPLAY XDG_CONFIG_HOME="$work/config" timeout 60 "$bin" --pdf "$work/five${pages}.pdf" "$default" \
    --list "$work/five.csv" --allow-clipping ${pages:+--pages $pages} || fail "--pdf ${pages:+--pages $pages} exited with $?"
done
[[ $(pdftotext -f 2 -l 3 "$work/five.pdf" -) == $(pdftotext "$work/five2-3.pdf" -) ]] ||
  fail "--pdf --pages 2-3 differs from the whole job's sheets 2 and 3"
# lines FILE.pdf PAGE: the page's lines of text.
lines() { pdftotext -layout -f "$2" -l "$2" "$1" - 2>/dev/null | grep -c '[^[:space:]]'; }
[[ $(lines "$work/five.pdf" 2) == 14 && $(lines "$work/five.pdf" 3) == 42 ]] ||
  fail "the job's sheets 2 and 3 have $(lines "$work/five.pdf" 2) and $(lines "$work/five.pdf" 3) lines, not 14 and 42"
print "/pt --pages 2-3" "$work/five.csv" /pt "$default" "$queue" --pages 2-3 --allow-clipping
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[[ $pages == 2 ]] || fail "--pages 2-3 printed $pages pages, not 2"
first=$(lines "$pdf" 1)
second=$(lines "$pdf" 2)
[[ $first == 14 && $second -ge 42 ]] ||
  fail "--pages 2-3 printed pages of $first and $second lines, not sheet 2's 14 and sheet 3's 42"
env -u DISPLAY XDG_CONFIG_HOME="$work/config" timeout 60 "$bin" /pt "$default" "$queue" --list "$work/five.csv" \
  --pages 6 2>"$work/beyond.err"
status=$?
[[ $status == 2 ]] || fail "--pages 6 of a five-sheet job exited with $status, not 2"
grep -q "5 sheets" "$work/beyond.err" || fail "--pages 6 did not name the job's 5 sheets: $(cat "$work/beyond.err")"
echo "printed wire lists through $queue with /pt and /p: every sheet, or only sheets 2 and 3"

#!/usr/bin/env bash
# A job's 打印... dialog with the sheets "1,3" typed into its 打印页 field,
# printed on a real CUPS queue (a private scheduler with a cups-pdf printer):
# the front-end test JobPrintDialog.PrintsTheListedSheets drives the dialog,
# and the queue must receive two pages, sheet 1 with six markers and sheet 3
# with three. LabelPrintDialog.UncalibratedQueueIsToldOnce checks, on the
# same queue, the dialog's word on a queue never calibrated. Opt-in with TAVRO_REAL_PRINTER_TESTS=1, as root (see
# private_cups.bash). Usage: job_print_dialog.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
here=$(cd "$(dirname "$0")" && pwd)
ui_tests=$(dirname "$bin")/../tests/tavro_ui_tests
queue=tavro_job_$$
source "$here/private_cups.bash" "$queue"
source "$here/pdf_check.bash" # every PDF the program writes passes qpdf --check
[[ -x $ui_tests ]] || fail "no front-end test binary at $ui_tests"
# The queue cannot print on the A4 paper's outer 18 points across and 36
# points down (6.35 and 12.7 mm), as office printers' PPDs say.
sed 's|^\*ImageableArea A4/\([^:]*\): .*|*ImageableArea A4/\1: "18 36 577 806"|' \
  /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd >"$work/margins.ppd"
grep -q '^\*ImageableArea A4/.*"18 36 577 806"' "$work/margins.ppd" || fail "no A4 printable area to set"
lpadmin -p "$queue" -P "$work/margins.ppd" 2>/dev/null || fail "the queue's PPD could not be replaced"

tests=JobPrintDialog.PrintsTheListedSheets:LabelPrintDialog.UncalibratedQueueIsToldOnce
env -u DISPLAY QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" TAVRO_TEST_QUEUE="$queue" \
  timeout 120 "$ui_tests" --gtest_filter=$tests >"$work/ui.out" 2>&1 ||
  fail "the dialog test failed: $(grep -v propagateSizeHints "$work/ui.out" | tail -20)"
grep -q '^\[  PASSED  \] 2 tests' "$work/ui.out" || fail "the dialog tests did not run: $(tail -5 "$work/ui.out")"

pdf=$(queue_pdf "$queue") || fail "no PDF arrived from the queue"
pages=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
[[ $pages == 2 ]] || fail "the queue printed $pages pages, not the 2 sheets asked for"
# Ghostscript redistills the text: the markers are told by their ink. Sheet 3
# holds half the markers of sheet 1 (three of six, all of three characters).
pdftoppm -gray -r 50 "$pdf" "$work/page" 2>/dev/null || fail "pdftoppm failed"
PYTHONDONTWRITEBYTECODE=1 PYTHONPATH=$here python3 - "$work"/page-*.pgm <<'PY' || fail "the pages are not sheets 1 and 3"
import sys
from pgm import read_pgm
ink = []
for path in sorted(sys.argv[1:]):
    width, height, pixels = read_pgm(path)
    ink.append(sum(1 for p in pixels if p < 160))
ratio = ink[1] / ink[0] if ink[0] else 0
print(f"dark pixels per page: {ink}, second to first {ratio:.2f}")
sys.exit(0 if 0.35 <= ratio <= 0.65 else 1)
PY
echo "the queue received sheets 1 and 3 of the job, as typed in the dialog"

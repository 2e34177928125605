# The setting of the printing tests that print through a private CUPS
# scheduler; sourced by them, no test itself. Skips (exit 77) unless opted in
# with TAVRO_REAL_PRINTER_TESTS=1, as root, with the tools installed (the
# cups-pdf backend reads its settings only from /etc/cups). Makes $work,
# starts the scheduler with cups-pdf queues named by the arguments (the first
# the default) and exports CUPS_SERVER; on exit stops it and removes what it
# wrote. KEEP_WORK=1 keeps $work. Defines skip, fail, queue_out_dir and
# queue_pdf (whose PDF passes pdf_check of pdf_check.bash, which the
# scripts source after this).
# Usage: source private_cups.bash QUEUE [QUEUE...]
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
[[ ${TAVRO_REAL_PRINTER_TESTS:-} == 1 ]] || skip "set TAVRO_REAL_PRINTER_TESTS=1 to print through a private CUPS queue"
[[ $(id -u) -eq 0 ]] || skip "printing to a private CUPS queue needs root"
for tool in /usr/sbin/cupsd lpadmin lpstat pdfinfo pdftoppm python3; do
  command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh)"
done
[[ -f /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd ]] || skip "printer-driver-cups-pdf is not installed"

cups_queues=("$@")
cups_server=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../scripts" && pwd)/cups-test-server.sh
work=$(mktemp -d)
chmod 755 "$work" # the filters run as the lp user
cleanup() {
  "$cups_server" stop "$work/cups" >/dev/null 2>&1
  # Wait for the scheduler to go, or it writes into what is being removed.
  local pid queue
  pid=$(cat "$work/cups/cupsd.pid" 2>/dev/null)
  for _ in $(seq 50); do [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  for queue in "${cups_queues[@]}"; do rm -f "/etc/cups/cups-pdf-$queue.conf"; done
  [[ -n ${KEEP_WORK:-} ]] && echo "kept $work" || rm -rf "$work"
}
trap cleanup EXIT

# Into a file: the scheduler keeps the script's output open while it runs.
"$cups_server" start "$work/cups" "${cups_queues[0]}" >"$work/start.out" 2>&1 ||
  fail "the private CUPS server did not start: $(cat "$work/start.out")"
for queue in "${cups_queues[@]:1}"; do
  "$cups_server" add "$work/cups" "$queue" >>"$work/start.out" 2>&1 || fail "queue $queue: $(cat "$work/start.out")"
done
export CUPS_SERVER=$(sed -n 's/^CUPS_SERVER=//p' "$work/start.out")
for queue in "${cups_queues[@]}"; do
  lpstat -p "$queue" >/dev/null 2>&1 || fail "the private queue $queue did not come up"
done

# The directory cups-pdf writes a queue's PDFs into.
queue_out_dir() { [[ $1 == "${cups_queues[0]}" ]] && echo "$work/cups/out" || echo "$work/cups/out-$1"; }

# The PDF a queue's job arrives as, once the job has left the queue: its path
# on standard output; status 1 when none arrives within 30 seconds.
queue_pdf() {
  local queue=$1 dir pdf
  dir=$(queue_out_dir "$queue")
  for _ in $(seq 300); do
    [[ -z $(lpstat -o "$queue" 2>/dev/null) ]] && compgen -G "$dir/*.pdf" >/dev/null && break
    sleep 0.1
  done
  pdf=$(compgen -G "$dir/*.pdf" | head -n1)
  [[ -n $pdf ]] || return 1
  sleep 0.3 # cups-pdf may still be closing the file
  pdf_check "$pdf" || return 1
  echo "$pdf"
}

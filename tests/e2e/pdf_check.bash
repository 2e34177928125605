# Every PDF a test script makes is read by a strict reader, so that a broken
# structure fails the test that made it. Sourced by the scripts (no test
# itself) once $bin and $work are set: $bin becomes a wrapper that runs the
# program and, when a run that writes a PDF succeeds, checks the PDF with
# `qpdf --check`; a broken one is reported on standard error and the run
# ends with exit status 70 instead. pdf_check FILE checks any other PDF.
pdf_check() {
  local out
  if ! command -v qpdf >/dev/null; then
    echo "FAIL qpdf is not installed (scripts/install-deps.sh)" >&2
    return 1
  fi
  # Exit status 3 is a warning: a reader had to repair something.
  out=$(qpdf --check "$1" 2>&1) || {
    echo "FAIL qpdf --check $1: $(grep -v '^checking\|^PDF Version\|^File is not' <<<"$out" | head -5)" >&2
    return 1
  }
}

# Absolute, so that the scripts may change directory.
pdf_checked_program=$bin
[[ $bin == */* ]] && pdf_checked_program=$(realpath "$bin")
bin=$work/.pdf-checked-program
cat >"$bin" <<WRAPPER
#!/usr/bin/env bash
$(declare -f pdf_check)
"$pdf_checked_program" "\$@"
status=\$?
args=("\$@")
for ((i = 0; i + 1 < \${#args[@]}; ++i)); do
  case \${args[i],,} in
  --pdf | -pdf | /pdf)
    if [[ \$status == 0 ]]; then pdf_check "\${args[i + 1]}" || exit 70; fi ;;
  esac
done
exit \$status
WRAPPER
chmod +x "$bin"

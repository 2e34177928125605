# Sourced by the benchmarks that race gLabels: the same sheet for both
# programs. A4, margins 5 mm, 15 × 25 labels of 12 × 10 mm.
#   make_full_sheet TEMPLATE.tav OUT.tav OUT.glabels SPAN [MERGE_CSV]
# OUT.tav has "W001" to "W375" in its labels, all selected, every other field
# as a new document has it (the records of TEMPLATE.tav, tests/data/default.tav).
# OUT.glabels has one text object per label whose span holds SPAN (XML: a
# text, or <Field name="1"/> with MERGE_CSV as its comma-separated merge
# source).
make_full_sheet() {
  local template=$1 tav=$2 glabels=$3 span=$4 merge=
  [[ -n ${5:-} ]] && merge="<Merge type=\"Text/Comma\" src=\"$5\"/>"
  python3 - "$template" "$tav" <<'PY'
import struct, sys
src = open(sys.argv[1], 'rb').read()
head = 1 + src[0]                      # the signature with its length byte
record = src[head + 72:head + 72 + 125]  # an empty label: 4 + 1 + 40 + 20 + 60 bytes
assert record[4] == 0, "the first label of the template is not empty"
fmt = struct.pack('<8d2i', 210, 297, 5, 5, 5, 5, 12, 10, 15, 25)
out = [src[:head], fmt]
for n in range(1, 376):
    text = b'W%03d' % n
    out.append(record[:4] + bytes([len(text)]) + text + record[5:])
open(sys.argv[2], 'wb').write(b''.join(out))
PY
  cat >"$glabels" <<XML
<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Tavro" part="B375" size="A4" description="15 x 25 labels">
    <Meta category="label"/>
    <Label-rectangle id="0" width="12mm" height="10mm" round="0mm" x_waste="0mm" y_waste="0mm">
      <Markup-margin size="0.5mm"/>
      <Layout nx="15" ny="25" x0="5mm" y0="5mm" dx="13.4286mm" dy="11.5417mm"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    <Object-text x="0.5mm" y="0.5mm" w="11mm" h="9mm" justify="Center" valign="Middle" auto_shrink="False"
                 a0="1" a1="0" a2="0" a3="1" a4="0" a5="0">
      <Span color="0x000000ff" font_family="Noto Serif CJK SC" font_size="9" font_weight="Regular"
            font_italic="False" line_spacing="1">$span</Span>
    </Object-text>
  </Objects>
  $merge
</Glabels-document>
XML
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# seconds NAME COMMAND...: runs the command once unmeasured, then $runs
# times; prints each run and leaves the median in $median.
seconds() {
  local name=$1
  shift
  "$@" >/dev/null 2>&1
  local times=()
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    t1=$(date +%s.%N)
    times+=("$(echo "$t1 - $t0" | bc)")
  done
  median=$(printf '%s\n' "${times[@]}" | median)
  printf '%-16s runs: %s\n' "$name" "${times[*]}"
}

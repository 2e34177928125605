#!/usr/bin/env bash
# Sheets made from the installed gLabels template collection print their
# labels where the templates put them: a sheet of each template below (as
# the sheet type dialog hands it to a new document, made by
# tavro_template_sheet) goes through `tavromark --pdf`, and the centre of
# every label's word box must lie within 0.1 mm of the centre the template's
# own file gives (x0 + column × dx + width / 2, likewise down), worked out
# here from the XML with its units. Skipped without glabels-data.
# Usage: template_positions.sh TAVROMARK
set -uo pipefail
bin=${1:?usage: $0 path/to/tavromark}
templates=/usr/share/libglabels-3.0/templates
tool=$(dirname "$bin")/../tests/tavro_template_sheet
command -v pdftotext >/dev/null || exit 77
[[ -f $templates/paper-sizes.xml && -x $tool ]] || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source "$(dirname "$0")/pdf_check.bash" # every PDF the program writes passes qpdf --check
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_DATA_DIRS=/usr/share QT_QPA_PLATFORM=offscreen
failures=0

# Avery 5160: inches on US Letter; Avery L7160: an alias of 7160, points
# without a unit on A4; Hisago OP2505: millimetres on a page of its own.
for template in "Avery|5160" "Avery|L7160" "Hisago|OP2505"; do
  brand=${template%|*} part=${template#*|}
  if ! "$tool" "$brand" "$part" "$work/sheet.tav" ||
    ! env -u DISPLAY -u WAYLAND_DISPLAY timeout 60 "$bin" --pdf "$work/sheet.pdf" "$work/sheet.tav"; then
    echo "FAIL $brand $part: no PDF"
    failures=$((failures + 1))
    continue
  fi
  pdftotext -bbox "$work/sheet.pdf" "$work/words.html" || exit 1
  pdfinfo "$work/sheet.pdf" | grep '^Page size' >"$work/page.txt"
  python3 - "$templates" "$brand" "$part" "$work/words.html" "$work/page.txt" <<'PY' || failures=$((failures + 1))
import glob, re, sys
import xml.etree.ElementTree as ET

folder, brand, part, words_path, page_path = sys.argv[1:]
units = {"pt": 25.4 / 72, "": 25.4 / 72, "in": 25.4, "mm": 1.0, "cm": 10.0, "pc": 25.4 / 6}
def mm(text):
    number, unit = re.fullmatch(r"\s*([-+0-9.eE]*?)\s*([a-z]*)\s*", text or "").groups()
    return float(number or 0) * units[unit]
def local(element):
    return element.tag.split("}")[-1]

papers = {p.get("id"): (mm(p.get("width")), mm(p.get("height")))
          for p in ET.parse(folder + "/paper-sizes.xml").getroot()}
templates = {}
for path in glob.glob(folder + "/*-templates.xml"):
    for t in ET.parse(path).getroot():
        if local(t) == "Template":
            templates.setdefault((t.get("brand"), t.get("part")), t)
t = templates[(brand, part)]
while t.get("equiv"):
    t = templates[(brand, t.get("equiv"))]
label = next(e for e in t if local(e) == "Label-rectangle")
layout = next(e for e in label if local(e) == "Layout")
w, h = mm(label.get("width")), mm(label.get("height"))
x0, y0, dx, dy = (mm(layout.get(k)) for k in ("x0", "y0", "dx", "dy"))
nx, ny = int(layout.get("nx")), int(layout.get("ny"))
page = papers.get(t.get("size")) or (mm(t.get("width")), mm(t.get("height")))

bad = []
shown = re.search(r"([\d.]+) x ([\d.]+) pts", open(page_path).read())
pdf_page = (float(shown.group(1)) * 25.4 / 72, float(shown.group(2)) * 25.4 / 72)
# A page that is a named paper size (100 × 148 mm is a postcard) comes out
# in whole points.
if abs(pdf_page[0] - page[0]) > 25.4 / 72 or abs(pdf_page[1] - page[1]) > 25.4 / 72:
    bad.append("page %.2f x %.2f mm, not %.2f x %.2f" % (*pdf_page, *page))
found = {}
for a, b, c, d, text in re.findall(r'xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)<',
                                  open(words_path).read()):
    found[text] = ((float(a) + float(c)) / 2 * 25.4 / 72, (float(b) + float(d)) / 2 * 25.4 / 72)
worst = 0.0
for r in range(ny):
    for c in range(nx):
        name = "r%dc%d" % (r + 1, c + 1)
        if name not in found:
            bad.append(name + " missing")
            continue
        want = (x0 + c * dx + w / 2, y0 + r * dy + h / 2)
        off = max(abs(found[name][0] - want[0]), abs(found[name][1] - want[1]))
        worst = max(worst, off)
        if off > 0.1:
            bad.append("%s at %.3f, %.3f mm, not %.3f, %.3f" % (name, *found[name], *want))
if len(found) != nx * ny:
    bad.append("%d words for %d labels" % (len(found), nx * ny))
for line in bad:
    print("FAIL %s %s: %s" % (brand, part, line))
print("%s %s: %d x %d labels, farthest %.3f mm from the template" % (brand, part, nx, ny, worst))
sys.exit(1 if bad else 0)
PY
done

if ((failures)); then
  exit 1
fi
echo "all template position checks passed"

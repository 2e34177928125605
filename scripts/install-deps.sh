#!/usr/bin/env bash
# Installs the Debian 12 packages Tavromark needs to build, run and test.
# Idempotent: packages already present are skipped, so a second run is quick.
set -euo pipefail

packages=(
  # build
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-qpa-plugins
  libqt6svg6 qt6-translations-l10n libx11-dev
  # wire lists: the zip container (minizip, unpacked with zlib), XML,
  # encoding detection
  libminizip-dev zlib1g-dev libexpat1-dev libuchardet-dev
  # the gLabels template collection the sheet type dialog offers (data only)
  glabels-data
  # fonts: "宋体" is drawn with Noto Serif CJK SC, "黑体" with Noto Sans CJK SC,
  # "楷体" with AR PL UKai CN, "仿宋" with AR PL UMing CN
  fonts-noto-cjk fonts-arphic-ukai fonts-arphic-uming fontconfig
  # Latin faces the tests draw with: DejaVu with its oblique and condensed
  # styles, and the URW faces (Nimbus Roman and the like)
  fonts-dejavu-core fonts-dejavu-extra fonts-urw-base35
  # tests, fuzzing, benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev clang-format
  xvfb xauth x11-utils xdotool xclip poppler-utils python3 bc
  # a strict PDF reader: every PDF a test writes passes qpdf --check
  qpdf
  # LibreOffice Calc, headless, for the clipboard test with its HTML filters
  # and to remake the spreadsheet fixtures (some 200 MB)
  libreoffice-calc-nogui
  # a private CUPS server with a PDF queue for the printing tests
  cups cups-client cups-bsd printer-driver-cups-pdf
  # installing and packaging: icons, the splash picture (librsvg2-bin draws
  # it, imagemagick turns it into plain pixels; the tests' screenshots use
  # imagemagick too) and the manual page made at build time (man-db checks
  # the page), the desktop's databases and validators,
  # xdg-open with the shared-mime-info lookup it uses outside a desktop
  # session, the Debian package and its checks
  librsvg2-bin imagemagick help2man man-db desktop-file-utils shared-mime-info appstream
  xdg-utils libfile-mimeinfo-perl
  dpkg-dev file lintian
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this script as root (or with sudo) to install them." >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

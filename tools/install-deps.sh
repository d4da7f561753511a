#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need. Safe to run again:
# it only calls apt-get when a package is missing. Run as root. The CUPS
# daemon is installed for the printing tests, which run one of their own;
# dpkg-dev and lintian make and check the Debian package (cpack -G DEB).
# OpenCV, ZXing-cpp, Poppler and Qt's TIFF reader read scanned order forms,
# libheif phone photos in HEIC (the tests make them with libheif-examples).
# pypdf, poppler's GObject binding, pdftk-java and qpdf fill returned forms
# in the tests as other programs fill them, and poppler reads them back.
# libxlsxwriter writes the order table as a workbook; the tests read it back
# with openpyxl. The digit classifier is trained from opencv-doc's sample
# digits and scikit-learn's by tools/digits/train_digits.py; its tests read
# the held-out digits of opencv-doc.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation xvfb xauth poppler-utils libqpdf-dev libjemalloc-dev
  desktop-file-utils appstream shared-mime-info man-db
  libcups2-dev cups printer-driver-cups-pdf ghostscript
  dpkg-dev file lintian
  libopencv-dev libtiff-dev libzxing-dev libpoppler-qt6-dev qt6-image-formats-plugins
  libheif-dev libheif-examples
  python3 python3-pypdf python3-gi python3-gi-cairo gir1.2-poppler-0.18 pdftk-java qpdf
  libxlsxwriter-dev python3-openpyxl
  opencv-doc python3-opencv python3-sklearn python3-numpy
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

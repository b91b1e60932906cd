# Shared by scripts/run, scripts/test and scripts/bench: installs what the
# build needs on Debian 12 and builds. Source it; do not run it.

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${TESSEL_BUILD_DIR:-$TOP/build}
WINDOWS_BUILD_DIR=${TESSEL_WINDOWS_BUILD_DIR:-$TOP/build-windows}

# Everything the build, the tests and the desktop program need.
PACKAGES=(
  cmake g++ make pkg-config
  libgtest-dev
  qt6-base-dev libgl-dev
  fonts-arphic-uming fonts-liberation2
  xvfb xauth
  xdg-utils
  # The check that the built-in variant tables match their Unicode and
  # OpenCC sources (scripts/generate-variant-tables --check).
  python3 unicode-data opencc libopencc-data
  # The report checks: the JSON Schema validator, xmllint for the TEI, and
  # a browser for the HTML.
  python3 python3-jsonschema libxml2-utils chromium
  # Qt's own texts (the file dialog's) in Traditional Chinese.
  qt6-translations-l10n
  # scripts/test and scripts/fuzz: the fuzz targets need clang's libFuzzer.
  clang libclang-rt-14-dev
  # scripts/package and scripts/test-package: the icons drawn from the SVG,
  # the package and its dependencies, and the validators it must pass.
  librsvg2-bin imagemagick dpkg-dev file
  appstream desktop-file-utils man-db lintian bash-completion
)

# Only scripts/build-windows and scripts/test-windows install these: the
# cross compilers for tessel-cli.exe, and Wine (64-bit only) with Python to
# run the whole-run cases through it, script (bsdutils) to give it a
# console, and the sources of the Traditional Chinese locale those runs use.
WINDOWS_PACKAGES=(
  cmake make
  g++-mingw-w64-x86-64-posix
  wine64
  python3 bsdutils
  locales
)

# Installs whatever of PACKAGES is missing; says nothing when all is there.
ensure_packages() {
  local missing=()
  local p
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
    --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures (Release) and builds everything into BUILD_DIR.
build_all() {
  cmake -S "$TOP" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$BUILD_DIR" -j "$(nproc)"
}

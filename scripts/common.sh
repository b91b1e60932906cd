# Shared by scripts/run, scripts/test and scripts/bench: installs what the
# build needs on Debian 12 and builds. Source it; do not run it.

TOP=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${TESSEL_BUILD_DIR:-$TOP/build}

# Everything the build, the tests and the desktop program need.
PACKAGES=(
  cmake g++ make pkg-config
  libgtest-dev
  qt6-base-dev libgl-dev
  fonts-arphic-uming fonts-liberation2
  xvfb xauth
  xdg-utils
  # Qt's own texts (the file dialog's) in Traditional Chinese.
  qt6-translations-l10n
  # scripts/test and scripts/fuzz: the fuzz targets need clang's libFuzzer.
  clang libclang-rt-14-dev
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

# Shared by run.sh and test.sh: packages, builds and the virtual display.
# shellcheck shell=bash

BRINDLOCK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BRINDLOCK_BUILD="${BRINDLOCK_BUILD:-$BRINDLOCK_ROOT/build}"

# Debian packages the builds and tests need.
BRINDLOCK_PACKAGES=(
  cmake ninja-build g++ googletest libgtest-dev libgmock-dev libssl-dev openssl
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 xvfb xauth xdotool xclip imagemagick x11-utils procps util-linux
  libbenchmark-dev time
  clang libclang-rt-14-dev
)

ensure_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "These Debian packages are missing: ${missing[*]}" >&2
    echo "Install them as root:  apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# configure_and_build NAME [extra cmake args...]
configure_and_build() {
  local name="$1"
  shift
  cmake -S "$BRINDLOCK_ROOT" -B "$BRINDLOCK_BUILD/$name" -G Ninja "$@" >/dev/null
  cmake --build "$BRINDLOCK_BUILD/$name" -j"$(nproc)"
}

# The native unit tests again, under AddressSanitizer and UBSan (tests "asan.*").
build_linux_sanitized() {
  configure_and_build linux-asan -DBRINDLOCK_SANITIZE=ON
}

# The libFuzzer targets (fuzz/, tests "fuzz.*"), a clang project of their own.
build_fuzz_targets() {
  cmake -S "$BRINDLOCK_ROOT/fuzz" -B "$BRINDLOCK_BUILD/fuzz" -G Ninja \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ "$@" >/dev/null
  cmake --build "$BRINDLOCK_BUILD/fuzz" -j"$(nproc)"
}

build_windows_x64() {
  configure_and_build win64 -DCMAKE_TOOLCHAIN_FILE="$BRINDLOCK_ROOT/cmake/toolchain-mingw64.cmake"
}

# Starts Xvfb on a free display unless one is set; exports DISPLAY.
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n=99
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  BRINDLOCK_XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  exit 1
}

stop_display() {
  if [ -n "${BRINDLOCK_XVFB_PID:-}" ]; then
    kill "$BRINDLOCK_XVFB_PID" 2>/dev/null || true
  fi
}

wine_env() {
  export WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

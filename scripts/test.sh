#!/usr/bin/env bash
# Installs what is missing, builds Linux, Windows x64 and Windows x86, and runs
# every test (native and under wine64) through CTest.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages "${BRINDLOCK_PACKAGES[@]}"

echo "== build: Linux"
configure_and_build linux
echo "== build: Linux with AddressSanitizer + UBSan"
build_linux_sanitized
echo "== build: fuzz targets (clang, libFuzzer)"
build_fuzz_targets
echo "== build: Windows x64"
build_windows_x64
echo "== build: Windows x86 (build only)"
configure_and_build win32 -DCMAKE_TOOLCHAIN_FILE="$BRINDLOCK_ROOT/cmake/toolchain-mingw32.cmake"

ensure_display
trap 'wineserver_stop; stop_display' EXIT
wineserver_stop() { WINEPREFIX="$BRINDLOCK_BUILD/win64/wineprefix" wineserver -k >/dev/null 2>&1 || true; }

echo "== wine prefix"
"$BRINDLOCK_ROOT/scripts/wine-run.sh" "$BRINDLOCK_BUILD/win64/wineprefix" cmd /c exit 0 >/dev/null 2>&1 || true

# One CTest run over all test trees, so one summary line closes the run.
cat >"$BRINDLOCK_BUILD/CTestTestfile.cmake" <<CT
subdirs("linux")
subdirs("linux-asan")
subdirs("fuzz")
subdirs("win64")
CT
echo "== tests"
ctest --test-dir "$BRINDLOCK_BUILD" --output-on-failure -j"$(nproc)" --timeout 600

#!/usr/bin/env bash
# Makes the Debian package and uses only what it installs: unpacks it into a scratch root,
# checks its fields and that this system has its dependencies, renders the showcase with the
# installed lumetra in a clean environment, and builds and runs a small C program against the
# installed render library, once through find_package(lumetra2) and once through pkg-config.
#
#   scripts/package-test.sh [BUILD_DIR]
#
# BUILD_DIR: a configured build folder to package (CI passes build-ci); without it a Release
# build without tests is made in build-package/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/scripts/packages.sh"
ensure_packages $LUMETRA_BUILD_PACKAGES dpkg-dev file

build="${1:-$root/build-package}"
if [ $# -eq 0 ]; then
  # Packaging builds only what is installed, not everything.
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
fi
build="$(cd "$build" && pwd)"
# The window's package when Qt was found: the Qt host and the plug-in's Qt windows.
gui_targets=()
# The list is taken whole first: grep -q would stop reading early, and pipefail count that against cmake.
targets="$(cmake --build "$build" --target help)"
if grep -q "^lumetra_gui:" <<<"$targets"; then
  gui_targets=(lumetra_gui lumetra_ui_qt)
fi
cmake --build "$build" -j "$(nproc)" --target lumetra_cli lumetra lumetra2 lumetra_povbridge lumetra_rib_cli \
  lumetra_rib_exporter "${gui_targets[@]}"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "package test: $*" >&2
  exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack could not make the package"; }
deb="$(ls "$scratch"/out/lumetra_*.deb)"
echo "Package: $(basename "$deb")"

# The fields, and the runtime dependencies dpkg-shlibdeps found, all met on this system.
version="$(dpkg-deb --field "$deb" Version)"
depends="$(dpkg-deb --field "$deb" Depends)"
[ "$(dpkg-deb --field "$deb" Package)" = lumetra ] || fail "the package is not named lumetra"
[ -n "$(dpkg-deb --field "$deb" Maintainer)" ] || fail "the package has no maintainer"
[ -n "$(dpkg-deb --field "$deb" Description)" ] || fail "the package has no description"
for library in libembree3 libtbb libavcodec libpng; do
  case "$depends" in *"$library"*) ;; *) fail "Depends lacks $library: $depends" ;; esac
done
dpkg-checkbuilddeps -d "$depends" /dev/null || fail "this system lacks dependencies of the package"

rootfs="$scratch/root"
dpkg -x "$deb" "$rootfs"
usr="$rootfs/usr"
# Nothing installed points into the build: every run path is relative to its file.
while IFS= read -r elf; do
  runpath="$(readelf -d "$elf" | sed -n 's/.*R\(UN\)\?PATH.*\[\(.*\)\]/\2/p')"
  # shellcheck disable=SC2016 # the text $ORIGIN itself
  case "$runpath" in '' | '$ORIGIN'*) ;; *) fail "$elf has the run path $runpath" ;; esac
done < <(find "$usr" -type f -exec sh -c 'head -c 4 "$1" | grep -q ELF' _ {} \; -print)

# The installed command, with no build folder and no library path anywhere in its environment.
run_installed() {
  env -i HOME="$scratch/home" PATH=/usr/bin:/bin LUMETRA_SHM_NAMESPACE="package-test-$$" \
    "$usr/bin/lumetra" "$@"
}
[ "$(run_installed --version)" = "lumetra $version" ] ||
  fail "lumetra --version is not lumetra $version"
picture="$scratch/x.png"
run_installed render "$root/examples/showcase/showcase.json" -o "$picture" --size 160x120 \
  --progress none
[ -s "$picture" ] || fail "the installed lumetra wrote no picture"
file "$picture" | grep -q "PNG image data, 160 x 120" ||
  fail "not a 160 x 120 PNG: $(file "$picture")"
echo "The installed lumetra rendered the showcase."
# The outside renderers: lumetra-rib and the RIB exporter come with the package, POV-Ray from
# Debian when it is there.
methods=(RIB)
command -v povray >/dev/null && methods+=(POV-Ray)
for method in "${methods[@]}"; do
  run_installed render "$root/examples/showcase/showcase.json" -o "$picture" --size 160x120 \
    --progress none --method "$method" >/dev/null || fail "the installed lumetra could not render by $method"
  file "$picture" | grep -q "PNG image data, 160 x 120" || fail "$method: not a 160 x 120 PNG: $(file "$picture")"
  echo "The installed lumetra rendered the showcase by $method."
done

# A program of another project against the installed library: CMake package, then pkg-config.
consumer="$root/renderlib/tests/consumer"
cmake -S "$consumer" -B "$scratch/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$usr" \
  -DWANTED_VERSION="$version" >"$scratch/consumer.log" 2>&1 ||
  { cat "$scratch/consumer.log" >&2; fail "find_package(lumetra2 $version) failed"; }
cmake --build "$scratch/consumer" >/dev/null
[ "$("$scratch/consumer/consumer")" = "lumetra2 $version" ] || fail "the CMake-built program failed"

PKG_CONFIG_PATH="$(dirname "$(find "$usr" -name lumetra2.pc)")"
export PKG_CONFIG_PATH
[ "$(pkg-config --modversion lumetra2)" = "$version" ] || fail "pkg-config gives another version"
libdir="$(pkg-config --variable=libdir lumetra2)"
# shellcheck disable=SC2046 # the flags are words
cc -std=c99 -Wall -Werror -o "$scratch/consumer-pc" "$consumer/consumer.c" \
  $(pkg-config --cflags --libs lumetra2) -Wl,-rpath,"$libdir"
[ "$("$scratch/consumer-pc")" = "lumetra2 $version" ] || fail "the pkg-config-built program failed"
echo "Programs built with find_package(lumetra2) and with pkg-config run against it."
echo "The package $(basename "$deb") works."
if [ ${#gui_targets[@]} -eq 0 ]; then
  echo "No lumetra-gui package: this build has no Qt window."
  exit 0
fi

# The window's package: it needs the first and Qt, and its host shows the showcase with the
# installed plug-in's bar (under Qt's off-screen platform, which needs no display).
gui_deb="$(ls "$scratch"/out/lumetra-gui_*.deb)"
echo "Package: $(basename "$gui_deb")"
gui_depends="$(dpkg-deb --field "$gui_deb" Depends)"
case "$gui_depends" in *"lumetra (= $version)"*) ;; *) fail "lumetra-gui does not depend on lumetra $version" ;; esac
case "$gui_depends" in *libqt6widgets6*) ;; *) fail "Depends of lumetra-gui lacks Qt: $gui_depends" ;; esac
case "$depends" in *libqt6*) fail "the package lumetra depends on Qt: $depends" ;; esac
dpkg-checkbuilddeps -d "$gui_depends" /dev/null 2>&1 | grep -v "lumetra" | grep -q . &&
  fail "this system lacks dependencies of lumetra-gui"
dpkg -x "$gui_deb" "$rootfs"
shot="$scratch/window.png"
env -i HOME="$scratch/home" PATH=/usr/bin:/bin LUMETRA_SHM_NAMESPACE="package-test-$$" \
  QT_QPA_PLATFORM=offscreen "$usr/bin/lumetra-gui" "$root/examples/showcase/showcase.json" \
  --screenshot "$shot" --after 0 >"$scratch/gui.log" 2>&1 || { cat "$scratch/gui.log" >&2; fail "the installed lumetra-gui failed"; }
file "$shot" | grep -q "PNG image data" || fail "the installed lumetra-gui saved no picture"
echo "The package $(basename "$gui_deb") works."

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
cmake --build "$build" -j "$(nproc)" --target lumetra_cli lumetra lumetra2

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
fail() {
  echo "package test: $*" >&2
  exit 1
}

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack could not make the package"; }
deb="$(ls "$scratch"/out/*.deb)"
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

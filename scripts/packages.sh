# Debian packages the build and the tests need; sourced by the other scripts.
LUMETRA_BUILD_PACKAGES="build-essential cmake ninja-build pkg-config nlohmann-json3-dev libcli11-dev libtinyobjloader-dev libembree-dev libtbb-dev libpng-dev zlib1g-dev libjpeg62-turbo-dev libtiff-dev libavformat-dev libavcodec-dev libavutil-dev libswscale-dev"
LUMETRA_TEST_PACKAGES="ccache libgtest-dev libgmock-dev libbenchmark-dev g++-multilib fonts-liberation fonts-dejavu-core imagemagick ffmpeg povray qt6-base-dev xvfb xauth"

# Installs the packages that are not installed yet (needs root; apt-get only when needed).
ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
# The render farm test (scripts/farm-test.sh) only: a one-node Slurm cluster and ffmpeg to compare movies.
LUMETRA_FARM_PACKAGES="slurm-wlm munge ffmpeg"

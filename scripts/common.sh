# Shared set-up of the two README commands: packages, build, data root.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TAVRIN_BUILD:-$ROOT/build}"

PACKAGES=(cmake g++ ninja-build pkg-config qtbase5-dev qtbase5-dev-tools libqt5sql5-sqlite
          libqt5charts5-dev libqcustomplot-dev nlohmann-json3-dev libssl-dev fonts-noto-cjk
          qttools5-dev qttools5-dev-tools
          ${EXTRA_PACKAGES[@]+"${EXTRA_PACKAGES[@]}"})

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$BUILD" --parallel "$(nproc)"
}

setup_data() {
    QT_QPA_PLATFORM=offscreen "$BUILD/tavrin-setup"
}

install_missing
build

# Debian packages the project needs; sourced by ./run and ./test.
VV_BUILD_PACKAGES=(
    build-essential cmake pkg-config clang-format
    qt6-base-dev qt6-charts-dev libqt6opengl6-dev libgl-dev
    libsqlite3-dev libzip-dev zipcmp zipmerge ziptool
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core
)
VV_TEST_PACKAGES=(
    libreoffice-writer-nogui poppler-utils fonts-liberation2
)
VV_RUN_PACKAGES=(
    qt6-qpa-plugins
)

# Installs the packages that are missing, quietly; apt-get update only when something is missing.
vv_ensure_packages() {
    local missing=()
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$p")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        return 0
    fi
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

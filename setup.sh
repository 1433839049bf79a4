#!/usr/bin/env bash
# KELMA set-up for a Debian 12 machine. Safe to run again: it skips what is done.
#
#   ./setup.sh run         install, build, prepare the database, start KELMA
#   ./setup.sh test        install, build, prepare, run the test suite (no slow tests)
#   ./setup.sh test --all  the same with the slow tests too
#   ./setup.sh build       install and build only
#   ./setup.sh package     install, build and make the Debian package
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build="$root/build"
cd "$root"

packages=(
    build-essential cmake pkg-config dpkg-dev file
    qt6-base-dev qt6-base-dev-tools qt6-pdf-dev libgl-dev qt6-translations-l10n
    libmagic-dev libgsf-1-dev libquazip1-qt6-dev
    firebird-dev libfbclient2 firebird3.0-server-core firebird3.0-utils
    xvfb xauth poppler-utils
)

say() { printf '\n== %s\n' "$*"; }

install_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    say "Debian paketleri kuruluyor: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build_all() {
    say "Derleniyor"
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j2
}

# The place a fresh workstation looks for its database: the current folder's
# DATA/KELMA. KELMA is started from the project folder, so that is DATA/KELMA here.
prepare_database() {
    local folder="$root/DATA/KELMA" year
    year=$(date +%Y)
    mkdir -p "$folder"
    if [ ! -f "$folder/KELMA.GDB" ]; then
        say "Veritabanı hazırlanıyor: $folder/KELMA.GDB"
        "$build/tools/admin/kelma-admin" create "$folder/KELMA.GDB"
    fi
    if [ ! -f "$folder/TEXT$year.GDB" ]; then
        "$build/tools/admin/kelma-admin" create-year "$folder/TEXT$year.GDB"
    fi
}

command=${1:-run}
shift || true
case "$command" in
    build)
        install_packages
        build_all
        ;;
    run)
        # Templates and letters are edited in LibreOffice Writer, in a window of its own;
        # word-processor and spreadsheet attachments are shown through Writer and Calc.
        packages+=(libreoffice-writer libreoffice-calc)
        install_packages
        build_all
        prepare_database
        if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
            echo "Ekran bulunamadı (DISPLAY yok). Masaüstünden çalıştırın ya da: xvfb-run ./setup.sh run" >&2
            exit 1
        fi
        say "KELMA başlatılıyor"
        exec "$build/src/shell/ui/kelma" "$@"
        ;;
    test)
        # The tests that open our letters and attachments in LibreOffice run headless.
        # The headless build replaces the desktop one, so keep whichever is there.
        if dpkg-query -W -f='${Status}' libreoffice-core 2>/dev/null | grep -q "install ok installed"; then
            packages+=(libreoffice-writer libreoffice-calc)
        else
            packages+=(libreoffice-writer-nogui libreoffice-calc-nogui)
        fi
        install_packages
        build_all
        prepare_database
        say "Testler"
        if [ "${1:-}" = "--all" ]; then
            # The slow tests start a Firebird server of their own.
            packages+=(firebird3.0-server)
            install_packages
            ctest --test-dir "$build" --output-on-failure -j2
        else
            ctest --test-dir "$build" --output-on-failure -j2 -LE slow
        fi
        ;;
    package)
        install_packages
        build_all
        say "Paket hazırlanıyor"
        (cd "$build" && cpack -G DEB -B "$build/package")
        ls "$build"/package/*.deb
        ;;
    *)
        echo "Kullanım: ./setup.sh [run|test [--all]|build|package]" >&2
        exit 2
        ;;
esac

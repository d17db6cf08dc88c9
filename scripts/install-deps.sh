#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Glintext needs.
# Idempotent: packages already present are left alone, and when nothing is missing it needs
# neither root nor the network.
#   --bench   also what the screen benchmark needs (bench/run --screens): Chromium, xterm,
#             GTK 3 for Python, fonts, man pages in every language the engine reads
#   --check   only lists what is missing (status 1); after an install this also catches a
#             name that dpkg never reports as installed (a virtual one)
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config git clang clang-format libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev
  # Qt 6 and QCoro
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-l10n-tools qt6-translations-l10n
  qt6-httpserver-dev qt6-websockets-dev libqt6sql6-sqlite qt6-svg-dev
  # reference service: its PostgreSQL driver, a server for its tests, certificates for TLS
  libqt6sql6-psql postgresql openssl
  qcoro-qt6-dev libgl-dev
  # platform services
  libxcb1-dev libxcb-keysyms1-dev libx11-xcb-dev libx11-dev libxkbcommon-dev
  libsecret-1-dev libcanberra-dev sound-theme-freedesktop libsystemd-dev
  # a real journald for the journal export test (started in a private namespace)
  systemd util-linux
  # recognition
  libtesseract-dev libleptonica-dev tesseract-ocr tesseract-ocr-eng tesseract-ocr-osd
  tesseract-ocr-jpn tesseract-ocr-jpn-vert tesseract-ocr-chi-sim tesseract-ocr-chi-sim-vert
  tesseract-ocr-chi-tra tesseract-ocr-chi-tra-vert tesseract-ocr-kor tesseract-ocr-deu
  tesseract-ocr-fra tesseract-ocr-spa tesseract-ocr-ita tesseract-ocr-por tesseract-ocr-rus
  tesseract-ocr-ukr tesseract-ocr-nld tesseract-ocr-swe
  libzxing-dev libcld2-dev
  # fonts (real glyphs in screenshots and the benchmark corpus)
  fonts-dejavu-core fonts-noto-core fonts-noto-cjk fonts-liberation2 fontconfig
  # desktop session for end-to-end tests
  xvfb xauth x11-xserver-utils x11-utils xdotool xclip imagemagick openbox trayer xcompmgr
  # a dark palette for the settings window's screenshots
  qt6ct
  dbus dbus-daemon gnome-keyring gcr libsecret-tools procps psmisc curl
  # headless Wayland desktops for end-to-end tests: sway with the wlr portal, and KDE's kwin
  # with its portal for global shortcuts (kbuildsycoca5 lets a test grant kwin's fake input);
  # Qt's native wayland platform plugin; wayland-scanner for the protocols beyond the core
  qt6-wayland sway xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk pipewire
  pipewire-bin grim wtype wl-clipboard python3 kwin-wayland xdg-desktop-portal-kde qtwayland5
  libwayland-dev libwayland-bin libkf5service-bin
  # the Debian package: cpack's shlibdeps (dpkg-dev, file), its checks, and what the
  # package recommends, so that installing it in CI needs no download
  dpkg-dev file lintian appstream desktop-file-utils xdg-utils man-db gzip
  # a panel's StatusNotifier watcher for the settings-sync test; the screen corpus's checks
  # read screenshots with GdkPixbuf
  python3-gi gir1.2-gdkpixbuf-2.0
  # the accessibility bus and a client of it for the screen-reader test
  at-spi2-core python3-pyatspi
)

if [ "${1:-}" = "--bench" ]; then
  packages+=(
    chromium xterm python3 python3-gi gir1.2-gtk-3.0 gir1.2-pango-1.0 man-db iso-codes gettext
    manpages manpages-de manpages-fr manpages-es manpages-it manpages-pt-br manpages-nl
    manpages-sv manpages-ru manpages-uk manpages-ja manpages-zh
    fonts-open-sans fonts-roboto-unhinted fonts-cantarell fonts-lato fonts-inter
    fonts-hack fonts-firacode fonts-ipafont-gothic fonts-ipafont-mincho fonts-nanum
    fonts-wqy-zenhei fonts-arphic-uming libgtk-3-common coreutils grep findutils
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ "${1:-}" = "--check" ]; then
  [ "${#missing[@]}" -eq 0 ] || { echo "not installed: ${missing[*]}"; exit 1; }
  exit 0
fi

if [ "${#missing[@]}" -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The Debian package: `cpack -G DEB` in the build folder writes glintext_<version>_<arch>.deb
# from what `cmake --install` installs. The version is the project's; the service address
# and the update feed are the build's cache variables, compiled into the binary.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME glintext)
set(CPACK_PACKAGE_VENDOR Glintext)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${GLINTEXT_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${GLINTEXT_HOMEPAGE_URL})
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "copy the text of any part of the screen
Glintext sits in the system tray. Press its shortcut, drag a rectangle over
any part of the screen, and the text inside is recognised on this computer
and put on the clipboard. QR codes and barcodes are decoded too, and recent
captures stay in the tray menu.")

# Libraries from the binary's own links; what it loads at run time by name is listed here:
# Qt's SVG image plugin draws the tray icon, and Tesseract needs its language data. English
# is always read; the others are read when installed and the text or the desktop asks.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, tesseract-ocr-eng")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "qt6-wayland, xdg-utils, sound-theme-freedesktop, gnome-keyring | keepassxc")
set(suggested)
foreach(language ara bul cat ces chi-sim chi-sim-vert chi-tra chi-tra-vert dan deu ell est fin
    fra heb hin hrv hun ind ita jpn jpn-vert kor lav lit nld nor pol por ron rus slk slv spa swe
    tha tur ukr vie)
  list(APPEND suggested tesseract-ocr-${language})
endforeach()
list(JOIN suggested ", " CPACK_DEBIAN_PACKAGE_SUGGESTS)

include(CPack)

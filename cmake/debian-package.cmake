# The Debian package: `cpack -G DEB` in a build folder after the build (./scripts/package
# builds one with Debian's hardening flags). It holds what `cmake --install` installs, under
# /usr; its dependencies come from dpkg-shlibdeps, plus the plugins Qt loads at run time.

set(CPACK_PACKAGE_NAME zelcor)
set(CPACK_PACKAGE_VENDOR "ZELCOR developers")
set(CPACK_PACKAGE_CONTACT "ZELCOR developers <dev@zelcor.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "car diagnostics through an ELM327 OBD-II adapter")
set(CPACK_PACKAGE_HOMEPAGE_URL "${ZELCOR_HOMEPAGE_URL}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_SOURCE_GENERATOR "")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded as plugins, so dpkg-shlibdeps cannot see them. The X11 window system plugin ships
# in libqt6gui6, which dpkg-shlibdeps names already; the SVG icon engine that draws the
# window icon is in libqt6svg6. A Wayland session needs Qt's Wayland plugin, else the window
# opens through XWayland.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# The long description, below the summary line (a blank line starts a paragraph).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "ZELCOR reads a car through an ELM327 OBD-II adapter (USB serial, Bluetooth
or Wi-Fi): the check-engine lamp, readiness monitors, stored and pending
trouble codes with their explanations, the freeze frame, and live data as a
table, gauges and graphs, with a CSV data log and a replay of every drive.

A built-in simulated adapter and car (zelcor --simulate, and the zelcor-sim
tool on a pseudo-terminal) lets everything be tried without a car.

A USB or Bluetooth adapter's device belongs to the dialout group: join it
with: sudo usermod -aG dialout $USER (then log out and in again).")
# The control files (md5sums, control) get the permissions Debian's policy asks for.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)

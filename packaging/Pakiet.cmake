# The Debian package: `cpack -G DEB` in the build folder packs what
# `cmake --install` installs under /usr into parvolen_2.02_amd64.deb. The
# dependencies come from the binaries themselves (dpkg-shlibdeps).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME parvolen)
set(CPACK_PACKAGE_VENDOR Orvanta)
set(CPACK_PACKAGE_CONTACT "Orvanta <parvolen@parvolen.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulator of a small programmable logic controller (CPM1 family)")
set(CPACK_PACKAGE_DESCRIPTION [=[
Parvolen stands in for a small programmable logic controller of the CPM1
family (CPU 10, CPU 20, CPU 30) on a serial line. PC programming software
talks to it in the controller's ASCII host-link protocol: it downloads and
uploads the ladder program, switches PROGRAM, MONITOR and RUN, and monitors
channels, timers, counters and data words, while the simulator scans the
program against its simulated memory.

The front panel has nine input switches and lamps, nine output lamps, the
status lamps, two analog sliders and the power switch. The port can be a
real serial device, a built-in virtual port (a pseudo-terminal) or a TCP
endpoint, raw or RFC 2217. The program's texts are Polish.]=])
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://parvolen.invalid/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help button opens the page through xdg-open; Qt draws on Wayland
# through its own plug-in and falls back to X11 without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)

# The Debian package: cmake --build build --target package (or cpack in the build
# directory) writes tavrin-player_<version>_<arch>.deb. tools/check-package.sh builds,
# checks, installs and removes it.
set(TAVRIN_PACKAGE_MAINTAINER "TavrinPlayer developers <tavrin-player@maintainer.invalid>"
    CACHE STRING "Maintainer named in the Debian package")

set(CPACK_PACKAGE_NAME tavrin-player)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "TavrinPlayer developers")
set(CPACK_PACKAGE_CONTACT ${TAVRIN_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for the day files of in-vehicle data recorders")
# The long description, one paragraph per list entry, wrapped as Debian's control files want.
set(tavrin_description
    "TavrinPlayer opens the day files (.vdr) of in-vehicle data recorders (digital
tachographs), checks them and shows the day: faults and events, the speed history
with the odometer, driver activity, the recorder's device and calibration history,
and GPS fixes. Day files come from disk, a folder, a tar archive or straight from
the recorder over a serial link. The interface is in Traditional Chinese and
English."
    "The package also holds tavrin-vdr, the command-line tool that checks, dumps,
exports and downloads day files without a display.")
list(JOIN tavrin_description "\n\n" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
if(UNIX AND NOT APPLE)
    set(CPACK_GENERATOR DEB)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The libraries come from the binaries (dpkg-shlibdeps, in dpkg-dev); the archiver of the
# tar import and, on Qt 6, the platform plugins are run or loaded and not linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "p7zip-full")
if(TAVRIN_QT_MAJOR STREQUAL "6")
    string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-qpa-plugins")
endif()
# Without a CJK font the Chinese interface shows boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei")

include(CPack)

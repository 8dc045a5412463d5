# The Debian package that scripts/package.sh makes with CPack: what
# "cmake --install" places, under /usr, stripped, with its dependencies found
# by dpkg-shlibdeps.
set(MARLO_PACKAGE_MAINTAINER "Tidewater Software <marlo@example.org>"
    CACHE STRING "Maintainer of the Debian package (name <address>)")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME marlo)
set(CPACK_PACKAGE_VENDOR "${MARLO_COMPANY_NAME}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for rowing-ergometer training files")
# The long description, in lines short enough for a terminal.
set(CPACK_PACKAGE_DESCRIPTION [[
Marlo shows training sessions recorded on rowing ergometers: who rowed
and when, the workout set-up, every stroke with its force curve, the
intervals and the totals. It reads training files, older session, stroke
and user files, Pelm text tables and Ravo device files, and never writes
a training back to its file. The force-curve window draws, browses and
plays back the strokes of an open training.

The command-line companion marlo-info prints a training as a summary,
as JSON, or one of its grids as CSV.]])
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MARLO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
if(MARLO_WEBSITE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${MARLO_WEBSITE}")
endif()

include(CPack)

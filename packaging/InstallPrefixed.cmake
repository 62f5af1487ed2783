# Runs at install time (cmake --install, cpack): the launcher and the manual name the program and
# its pictures where this very install puts them, so they are written now, for its prefix; the
# manual and the changelog are installed gzipped, without a time stamp, so that two installs of
# the same sources give the same bytes. Set by the caller: OMBREVALE_PACKAGING (the sources of
# these files), OMBREVALE_CONFIGURED (where the build wrote those that name the version),
# OMBREVALE_STAGING (a scratch folder in the build tree), OMBREVALE_PRODUCT_NAME and
# OMBREVALE_VERSION.

set(OMBREVALE_PROGRAM "${CMAKE_INSTALL_PREFIX}/games/ombrevale")
set(OMBREVALE_DATA "${CMAKE_INSTALL_PREFIX}/share/games/ombrevale")

# One scratch folder per destination, so that two installs at once do not write each other's.
string(MD5 destination "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
set(staging "${OMBREVALE_STAGING}/${destination}")
file(REMOVE_RECURSE "${staging}")
file(MAKE_DIRECTORY "${staging}")

configure_file("${OMBREVALE_PACKAGING}/org.ombrevale.Ombrevale.desktop.in"
  "${staging}/org.ombrevale.Ombrevale.desktop" @ONLY)
configure_file("${OMBREVALE_PACKAGING}/ombrevale.6.in" "${staging}/ombrevale.6" @ONLY)
configure_file("${OMBREVALE_CONFIGURED}/changelog" "${staging}/changelog" COPYONLY)
execute_process(COMMAND gzip -n -9 ombrevale.6 changelog
  WORKING_DIRECTORY "${staging}" COMMAND_ERROR_IS_FATAL ANY)

file(INSTALL "${staging}/org.ombrevale.Ombrevale.desktop"
  DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
file(INSTALL "${staging}/ombrevale.6.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/man/man6")
file(INSTALL "${staging}/changelog.gz" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/doc/ombrevale")

# `cpack -G DEB` in a build directory makes the player's Debian package from what
# `cmake --install` installs, under /usr. Its library dependencies are worked out from the
# binary by dpkg-shlibdeps (package dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kestrin developers <kestrin@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Small desktop audio player with a playlist")
set(CPACK_PACKAGE_DESCRIPTION
    "Plays MP3, WAVE, FLAC, Ogg Vorbis and Opus files from a playlist in one small window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The captions are drawn in a narrow sans face, the rest in a common one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-urw-base35, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${CMAKE_CURRENT_LIST_DIR}/debian/postinst ${CMAKE_CURRENT_LIST_DIR}/debian/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)

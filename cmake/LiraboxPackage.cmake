# The Debian package (`cpack -G DEB` in a configured tree; scripts/build-deb.sh
# does it on a Release tree): everything the install rules lay out, under /usr.

set(CPACK_PACKAGE_NAME lirabox)
set(CPACK_PACKAGE_VENDOR "Lirabox developers")
set(CPACK_PACKAGE_CONTACT "Lirabox developers <lirabox@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio player for transcribing recordings")
set(CPACK_PACKAGE_DESCRIPTION
  "Lirabox plays one voice recording (WAV, MP3 or WMA) in a small window while
the transcript is typed in another program. Global shortcut keys play, pause,
rewind, fast-forward, change the speed (pitch kept) and repeat a marked
stretch without leaving the editor; every start of playback steps back a few
seconds. The desktop's media keys reach it through MPRIS.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/lirabox/lirabox)
# The help menu opens the user guide with xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
# Dependencies come from the libraries the binaries link; liblirabox.so,
# liblirabox-start.so, libkeytap.so and libtimepost.so are the package's own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CPACK_PACKAGING_INSTALL_PREFIX}/${LIRABOX_INSTALL_LIBDIR})
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)

include(CPack)

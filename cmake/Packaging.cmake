# The Debian package of the whole tool set: `cpack -G DEB` in the build tree.
set(CPACK_PACKAGE_NAME numbrook)
set(CPACK_PACKAGE_VENDOR "Numbrook developers")
set(CPACK_PACKAGE_CONTACT "Numbrook developers <numbrook@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "IMEI/MEID batch generator, check-digit verifier and MD5 library")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Numbrook writes long lists of IMEI or MEID numbers with their check characters and completes "
    "text files of bodies; numbrook-cli does the same from scripts. Tallisk completes single IMEI "
    "bodies and writes imei.csv for a range of serials. Md5.fne is a shared library with a C "
    "interface for MD5 digests.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The Qt and C++ runtime libraries come from the binaries themselves; the
# fonts that the windows' Chinese faces map to are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming, fonts-wqy-microhei")
set(CPACK_GENERATOR DEB)
include(CPack)

# The Debian package: "cpack -G DEB" in a build folder makes quillet_<version>_<arch>.deb from
# the install rules. Library dependencies come from dpkg-shlibdeps; what the program needs but
# does not link (the watermark's default fonts) is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR "Lumavane Software")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Lumavane Software <support@lumavane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert JPEG photographs to Radiance HDR images")
set(CPACK_PACKAGE_DESCRIPTION
    "Lumavane JPG to HDR converts a JPEG photograph into a Radiance high-dynamic-range image. On \
the way it can rotate, resize, mirror and colour-adjust the picture, draw a frame, stamp a text or \
image watermark and name the output from a filename mask. It has a small window and a scriptable \
command line that needs no display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "http://www.lumavane.example/quillet/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, fontconfig")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)

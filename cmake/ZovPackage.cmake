# The Debian package (cpack -G DEB), of what the install rules put in place.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zov)
set(CPACK_PACKAGE_VENDOR "The ZOV developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time demo with tracker music and software-rendered effects")
set(CPACK_PACKAGE_DESCRIPTION
    "ZOV plays an XM tracker module and, in step with the music, renders a
four-part show of 2D and 3D effects into a 512x384 frame: sliding and fading
pictures, a particle tunnel, an environment-mapped star, lens bubbles, a
rippling wire grid, a scroller and greetings. Every pixel is drawn by the
program itself, with its own blends, triangle fills and 3D pipeline.

demoplay plays the show in a window, demoplayfs full screen. The tools that
drew the pictures and composed the music come with it.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZOV_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Not "games": Debian keeps that section for programs in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends: from the shared libraries the programs link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)

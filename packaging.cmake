# Desktop integration (of the window program) and the Debian package.
if(QUORVANE_GUI)
  install(FILES data/quorvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES data/quorvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VENDOR "Quorvane")
set(CPACK_PACKAGE_CONTACT "Quorvane developers <quorvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Four Pillars (八字) destiny charts for Traditional-Chinese users")
set(CPACK_PACKAGE_INSTALL_DIRECTORY quorvane)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The programs need Qt, the C++ runtime, a font with the Traditional-Chinese
# characters, and for birth clocks of other zones and true solar time the tz
# library with the system's zone database, and ERFA.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libdate-tz3, tzdata, liberfa1, fonts-arphic-uming | fonts-noto-cjk")
# Qt's own dialogs (file choice, printing, message-box buttons) in Traditional Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)

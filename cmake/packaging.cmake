# Installation and release packages. Windows: one ZIP with the programs, the
# README, the licence, the example replay and the manuals as plain text.
# Linux: a .deb (programs in /usr/bin, manuals in section 1) and a .tar.gz.
set(SKIDLOG_PROGRAMS skidlog)
if(TARGET skidlog-report)
  list(APPEND SKIDLOG_PROGRAMS skidlog-report)
endif()

if(WIN32)
  find_program(SKIDLOG_GROFF groff REQUIRED)
  set(SKIDLOG_MANUALS_TEXT "")
  foreach(manual IN ITEMS skidlog skidlog-report)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${manual}.txt
      COMMAND ${SKIDLOG_GROFF} -man -Tascii -P-c -P-b -P-u ${PROJECT_SOURCE_DIR}/docs/${manual}.1 > ${CMAKE_BINARY_DIR}/${manual}.txt
      DEPENDS ${PROJECT_SOURCE_DIR}/docs/${manual}.1
      COMMENT "Formatting the manual of ${manual} as plain text")
    list(APPEND SKIDLOG_MANUALS_TEXT ${CMAKE_BINARY_DIR}/${manual}.txt)
  endforeach()
  add_custom_target(manual_text ALL DEPENDS ${SKIDLOG_MANUALS_TEXT})
  install(TARGETS ${SKIDLOG_PROGRAMS} RUNTIME DESTINATION .)
  install(FILES README.md LICENSE examples/lap.raf ${SKIDLOG_MANUALS_TEXT} DESTINATION .)
  install(FILES docs/report.png docs/report-phone.png docs/balance.png docs/compare.png docs/compare-phone.png
          DESTINATION docs)  # the README's screenshots
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME skidlog-${PROJECT_VERSION}-win64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
else()
  include(GNUInstallDirs)
  install(TARGETS ${SKIDLOG_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES docs/skidlog.1 docs/skidlog-report.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md LICENSE examples/lap.raf DESTINATION ${CMAKE_INSTALL_DOCDIR})
  install(FILES docs/report.png docs/report-phone.png docs/balance.png docs/compare.png docs/compare-phone.png
          DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs)
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 12), libgcc-s1")
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_PACKAGE_FILE_NAME skidlog-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
endif()

set(CPACK_PACKAGE_NAME skidlog)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Skidlog developers")
set(CPACK_PACKAGE_CONTACT "The Skidlog developers <skidlog@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tyre data from racing simulator replay telemetry, as CSV and fitted tyre curves")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)

# The installed form: cmake --install puts every file under the usual GNU
# directories. The programs find the fiscal-memory libraries and the sample
# files relative to their own folder (src/base/program_files.cpp), so the tree
# works under any prefix and unpacked into a scratch root as well.
set(TALOVEN_LIBRARY_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/taloven)
set(TALOVEN_SAMPLE_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/taloven)
set(TALOVEN_UDEV_RULES_DIR lib/udev/rules.d CACHE STRING
  "Where the USB rule is installed, relative to the prefix or absolute")
set(TALOVEN_APP_ID org.taloven.Taloven)
if(IS_ABSOLUTE "${TALOVEN_UDEV_RULES_DIR}")
  set(TALOVEN_UDEV_RULES_FULL_DIR ${TALOVEN_UDEV_RULES_DIR})
else()
  set(TALOVEN_UDEV_RULES_FULL_DIR ${CMAKE_INSTALL_PREFIX}/${TALOVEN_UDEV_RULES_DIR})
endif()

set(package_data ${PROJECT_SOURCE_DIR}/data)
set(generated ${PROJECT_BINARY_DIR}/installed)

install(TARGETS taloven-cli taloven-emulator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET taloven)
  install(TARGETS taloven RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS KovoMFD KovoMFD2 LIBRARY DESTINATION ${TALOVEN_LIBRARY_INSTALL_DIR})

# The sample working directory that the desktop start copies into ~/Taloven.
install(FILES ${package_data}/comandos.xml DESTINATION ${TALOVEN_SAMPLE_INSTALL_DIR})
install(FILES ${TALOVEN_DEMO_DIR}/help/Taloven_Help.chm
  DESTINATION ${TALOVEN_SAMPLE_INSTALL_DIR}/help)
install(FILES ${package_data}/usb/99-taloven-ecf.rules DESTINATION ${TALOVEN_SAMPLE_INSTALL_DIR}/usb)
install(FILES ${package_data}/usb/99-taloven-ecf.rules DESTINATION ${TALOVEN_UDEV_RULES_DIR})

# Desktop menu entry, its icons and the software-centre description, for a
# build with the desktop program.
if(TARGET taloven)
  install(FILES ${package_data}/desktop/${TALOVEN_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${package_data}/desktop/${TALOVEN_APP_ID}.metainfo.xml.in
    ${generated}/${TALOVEN_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${generated}/${TALOVEN_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size 48 128 256)
    install(FILES ${package_data}/icons/${size}/taloven.png
      DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${package_data}/icons/taloven.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

install(FILES ${package_data}/completion/taloven-cli
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# Manual pages and the package's changelog are shipped compressed, as Debian
# expects; -n keeps the compressed files the same from build to build.
execute_process(COMMAND date -u -R -d "${TALOVEN_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE TALOVEN_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set(compressed_files)
set(pages taloven-cli taloven-emulator)
if(TARGET taloven)
  list(APPEND pages taloven)
endif()
# The CLI's page gets its lists of commands and exit statuses from the
# program's tables when the program is built; the markers pass through
# configure_file unchanged.
set(TALOVEN_CLI_COMMANDS "@TALOVEN_CLI_COMMANDS@")
set(TALOVEN_CLI_EXIT_STATUSES "@TALOVEN_CLI_EXIT_STATUSES@")
foreach(page ${pages})
  if(page STREQUAL "taloven-cli")
    configure_file(${package_data}/man/${page}.1.in ${generated}/${page}.1.in @ONLY)
    add_custom_command(OUTPUT ${generated}/${page}.1
      COMMAND taloven-man-commands ${generated}/${page}.1.in ${generated}/${page}.1
      DEPENDS taloven-man-commands ${generated}/${page}.1.in
      COMMENT "Listing the commands and exit statuses of taloven-cli in its manual page")
  else()
    configure_file(${package_data}/man/${page}.1.in ${generated}/${page}.1 @ONLY)
  endif()
  list(APPEND compressed_files ${generated}/${page}.1)
  install(FILES ${generated}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
configure_file(${package_data}/package/changelog.in ${generated}/changelog @ONLY)
list(APPEND compressed_files ${generated}/changelog)
set(compressed_outputs)
foreach(file ${compressed_files})
  add_custom_command(OUTPUT ${file}.gz
    COMMAND gzip -9nkf ${file}
    DEPENDS ${file}
    COMMENT "Compressing ${file}")
  list(APPEND compressed_outputs ${file}.gz)
endforeach()
add_custom_target(installed_documents ALL DEPENDS ${compressed_outputs})
install(FILES ${generated}/changelog.gz ${package_data}/package/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/taloven)

# Warnings lintian gives about the package that are as intended.
install(FILES ${package_data}/package/lintian-overrides
  DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME taloven)

# Installation: the programs in bin/, their data in share/velmora-studio/ (where
# the programs look when there is no data beside them), and what a Linux desktop
# needs to list the program and open ".vme" files with it: a desktop entry, an
# icon and a MIME type. `cpack -G DEB` in the build folder makes a Debian package
# of the same layout.
include(GNUInstallDirs)

set(VELMORA_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/velmora-studio)
set(velmora_desktop_dir ${PROJECT_SOURCE_DIR}/src/app/desktop)

install(TARGETS velmora-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/PipeTables ${PROJECT_SOURCE_DIR}/data/FittingTables
                  ${PROJECT_SOURCE_DIR}/data/FluidTables
        DESTINATION ${VELMORA_INSTALL_DATA_DIR})

if(VELMORA_BUILD_GUI)
  install(TARGETS velmora-studio RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/app/Help ${PROJECT_SOURCE_DIR}/src/app/ExampleSystems
          DESTINATION ${VELMORA_INSTALL_DATA_DIR})
else()
  # The command-line tool alone still gets the example networks to try.
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/app/ExampleSystems DESTINATION ${VELMORA_INSTALL_DATA_DIR})
endif()

install(FILES ${velmora_desktop_dir}/velmora-studio.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${velmora_desktop_dir}/velmora-studio.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${velmora_desktop_dir}/velmora-studio.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Bitmap icons for desktops and menus that do not scale SVG, drawn from the SVG.
set(VELMORA_ICON_SIZES 16 24 32 48 64 128 256)
find_program(VELMORA_RSVG_CONVERT rsvg-convert)
if(VELMORA_RSVG_CONVERT)
  set(velmora_icon_files "")
  foreach(size IN LISTS VELMORA_ICON_SIZES)
    set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/velmora-studio.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${VELMORA_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${velmora_desktop_dir}/velmora-studio.svg
      DEPENDS ${velmora_desktop_dir}/velmora-studio.svg
      COMMENT "Drawing the ${size}x${size} icon"
      VERBATIM)
    list(APPEND velmora_icon_files ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(velmora_icons ALL DEPENDS ${velmora_icon_files})
else()
  message(STATUS "rsvg-convert not found: only the scalable icon is installed (package librsvg2-bin)")
endif()

set(CPACK_PACKAGE_NAME velmora-studio)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Velmora Studio developers <velmora-studio@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Steady-state hydraulic analysis of pipe networks")
set(CPACK_PACKAGE_INSTALL_DIRECTORY velmora-studio)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The run-time libraries the programs link, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package carries the programs without their debugging information.
set(CPACK_STRIP_FILES ON)
include(CPack)

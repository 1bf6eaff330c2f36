# Installation layout and the Debian package (cpack -G DEB in the build folder).
include(GNUInstallDirs)
set(TAVRIN_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tavrin)

install(TARGETS tavrin tavrin-runner tavrin-setup tavrin-mes-emulator tavrin-height-emulator
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tavrin.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/tavrin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
set(TAVRIN_DOCS ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/demo-recipe.md)
foreach(doc manual.md fault-matrix.md)
  if(EXISTS ${PROJECT_SOURCE_DIR}/docs/${doc})
    list(APPEND TAVRIN_DOCS ${PROJECT_SOURCE_DIR}/docs/${doc})
  endif()
endforeach()
install(FILES ${TAVRIN_DOCS} DESTINATION ${TAVRIN_DOCDIR})
if(EXISTS ${PROJECT_SOURCE_DIR}/docs/images)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/images DESTINATION ${TAVRIN_DOCDIR})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavrin")
set(CPACK_PACKAGE_CONTACT "Tavrin maintainers <maintainers@tavrin.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Operator program of an automatic label-assembly machine")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Operator program of an automatic label-assembly machine, with its virtual machine.\n\
Drives the motion card, I/O, cameras, height sensor, belt lines and MES link of the machine;\n\
ships a simulated plant so the program, the headless production runner and the emulators\n\
run without the machine.")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Plugins are loaded at run time, so shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5sql5-sqlite, fonts-noto-cjk")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)

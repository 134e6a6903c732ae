# `cmake --install build --prefix DIR` lays out one self-contained folder:
#   DIR/bin    the programs, both shared libraries (found through the $ORIGIN
#              run path) and every data file, the index file included (the
#              program's folder is its data folder)
#   DIR/share  the desktop entry and the icon
include(GNUInstallDirs)
set(VLT_INSTALL_BIN bin)

foreach(t vlt1056 vlt-report vlt-positions)
  if(TARGET ${t})
    install(TARGETS ${t} RUNTIME DESTINATION ${VLT_INSTALL_BIN})
  endif()
endforeach()
foreach(t planets_vlt calvexa)
  if(TARGET ${t})
    install(TARGETS ${t} LIBRARY DESTINATION ${VLT_INSTALL_BIN})
  endif()
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${VLT_INSTALL_BIN}
        PATTERN README.md EXCLUDE
        PATTERN DJIA_data.txt EXCLUDE)
# The index file as the build checked and copied it, so that a damaged copy
# can never be installed.
install(FILES ${VLT_OUTPUT_DIR}/DJIA_data.txt DESTINATION ${VLT_INSTALL_BIN})

# The desktop entry names the program by its installed path.
set(VLT_INSTALLED_PROGRAM "\${CMAKE_INSTALL_PREFIX}/${VLT_INSTALL_BIN}/vlt1056")
install(CODE "
  file(READ \"${CMAKE_SOURCE_DIR}/packaging/veltaro.desktop.in\" entry)
  string(REPLACE \"@VLT_PROGRAM@\" \"${VLT_INSTALLED_PROGRAM}\" entry \"\${entry}\")
  string(REPLACE \"@VLT_FOLDER@\" \"\${CMAKE_INSTALL_PREFIX}/${VLT_INSTALL_BIN}\" entry \"\${entry}\")
  file(WRITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/veltaro.desktop\" \"\${entry}\")
  message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/veltaro.desktop\")
")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/veltaro.svg
        DESTINATION share/icons/hicolor/scalable/apps)

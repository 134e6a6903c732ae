# `cmake --install build --prefix DIR` lays out one self-contained folder:
#   DIR/bin    the programs, both shared libraries (found through the $ORIGIN
#              run path) and every data file, the index file included (the
#              program's folder is its data folder)
#   DIR/share  the desktop entry and the icon
#
# `cpack -G DEB` (in the build folder) makes veltaro_<version>_<arch>.deb: the
# same program folder as /opt/veltaro/bin, the commands vlt1056 and
# vlt-report as links in /usr/bin, and the desktop entry and icon under
# /usr/share, the entry starting the program in its folder so that the
# index file is found.
#
# Install components: "program" (the folder), "desktop" (entry and icon
# beside the folder, for `cmake --install`) and "debian" (links, entry and
# icon where a Debian system looks for them; only the package has them).
include(GNUInstallDirs)
set(VLT_INSTALL_BIN bin)

foreach(t vlt1056 vlt-report vlt-positions)
  if(TARGET ${t})
    install(TARGETS ${t} RUNTIME DESTINATION ${VLT_INSTALL_BIN} COMPONENT program)
  endif()
endforeach()
# vlt_chart_render: the chart renderer vlt-report loads from its folder.
foreach(t planets_vlt calvexa vlt_chart_render)
  if(TARGET ${t})
    install(TARGETS ${t} LIBRARY DESTINATION ${VLT_INSTALL_BIN} COMPONENT program)
  endif()
endforeach()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${VLT_INSTALL_BIN} COMPONENT program
        PATTERN README.md EXCLUDE
        PATTERN DJIA_data.txt EXCLUDE)
# The index file as the build checked and copied it, so that a damaged copy
# can never be installed.
install(FILES ${VLT_OUTPUT_DIR}/DJIA_data.txt DESTINATION ${VLT_INSTALL_BIN} COMPONENT program)

# The desktop entry names the program by its installed path and starts it in
# its folder.  vlt_desktop_entry(<share folder> <component> [EXCLUDE_FROM_ALL]),
# the share folder relative to the prefix or absolute.
function(vlt_desktop_entry share component)
  set(folder "\${CMAKE_INSTALL_PREFIX}/${VLT_INSTALL_BIN}")
  if(IS_ABSOLUTE "${share}")
    set(target "\$ENV{DESTDIR}${share}/applications/veltaro.desktop")
  else()
    set(target "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${share}/applications/veltaro.desktop")
  endif()
  install(CODE "
    file(READ \"${CMAKE_SOURCE_DIR}/packaging/veltaro.desktop.in\" entry)
    string(REPLACE \"@VLT_PROGRAM@\" \"${folder}/vlt1056\" entry \"\${entry}\")
    string(REPLACE \"@VLT_FOLDER@\" \"${folder}\" entry \"\${entry}\")
    file(WRITE \"${target}\" \"\${entry}\")
    message(STATUS \"Installing: ${target}\")
  " COMPONENT ${component} ${ARGN})
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/veltaro.svg
          DESTINATION ${share}/icons/hicolor/scalable/apps COMPONENT ${component} ${ARGN})
endfunction()

vlt_desktop_entry(share desktop)

# ---------------------------------------------------------------- Debian package
set(VLT_DEB_PREFIX /opt/veltaro)
vlt_desktop_entry(/usr/share debian EXCLUDE_FROM_ALL)
# The commands on the search path: links into the program folder.  The
# programs find their folder (data files, libraries) through the link, since
# the kernel's /proc/self/exe and the loader's $ORIGIN name the file itself.
# The links are relative, so that an unpacked package works where it lies.
foreach(t vlt1056 vlt-report)
  if(TARGET ${t})
    install(CODE "
      file(MAKE_DIRECTORY \"\$ENV{DESTDIR}/usr/bin\")
      file(CREATE_LINK \"../..\${CMAKE_INSTALL_PREFIX}/${VLT_INSTALL_BIN}/${t}\"
           \"\$ENV{DESTDIR}/usr/bin/${t}\" SYMBOLIC)
      message(STATUS \"Installing: \$ENV{DESTDIR}/usr/bin/${t}\")
    " COMPONENT debian EXCLUDE_FROM_ALL)
  endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltaro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Veltaro")
set(CPACK_PACKAGE_CONTACT "Veltaro maintainers <veltaro@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Planetary transit tables, transit search and investment simulation for market timing")
set(CPACK_PACKAGE_DESCRIPTION
    "Veltaro finds the transits between two planets (entry into and exit from three nested orbs, the exact aspect to the minute, retrograde motion), searches for the first transit of a kind, lists one planet's transits with all others and simulates investing in the DJIA index on transit dates. The window vlt1056 and the command vlt-report.")
# The links and the desktop entry go outside the prefix: the package is
# staged with DESTDIR, the prefix being the program's place.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX ${VLT_DEB_PREFIX})
set(CPACK_PACKAGING_INSTALL_PREFIX ${VLT_DEB_PREFIX})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL program debian)
set(CPACK_DEBIAN_PACKAGE_NAME veltaro)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link, read from the programs themselves
# (dpkg-shlibdeps); the two libraries of the folder are the package's own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${VLT_OUTPUT_DIR})
# The Liberation fonts stand in for Arial and Courier New, on which the
# report columns rely.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
include(CPack)

# Builds the Debian package of this build, lists it, reads its control data,
# unpacks it and runs the unpacked vlt-report through its /usr/bin link from
# a folder that holds nothing but a copy of the index file.
#   cmake -DBUILD_DIR=... -DCHECK_DIR=... -DDJIA_FILE=... -P check_package.cmake
cmake_policy(VERSION 3.25)
foreach(var BUILD_DIR CHECK_DIR DJIA_FILE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()
get_filename_component(cmake_bin "${CMAKE_COMMAND}" DIRECTORY)
set(CPACK "${cmake_bin}/cpack")
find_program(DPKG_DEB dpkg-deb REQUIRED)

file(REMOVE_RECURSE "${CHECK_DIR}")
set(out "${CHECK_DIR}/out")
set(root "${CHECK_DIR}/root")
set(work "${CHECK_DIR}/work")
file(MAKE_DIRECTORY "${out}" "${root}" "${work}")

# run(<name> <command...>): must succeed; its standard output goes to <name>.
function(run name)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE o ERROR_VARIABLE e)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN}: status ${rc}\n${e}\n${o}")
  endif()
  set(${name} "${o}" PARENT_SCOPE)
endfunction()

run(made "${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${out}")
file(GLOB debs "${out}/*.deb")
list(LENGTH debs n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "cpack made ${n} packages, not one:\n${made}")
endif()
get_filename_component(deb_name "${debs}" NAME)
run(arch dpkg --print-architecture)
string(STRIP "${arch}" arch)
if(NOT deb_name MATCHES "^veltaro_[0-9]+\\.[0-9]+\\.[0-9]+_${arch}\\.deb$")
  message(FATAL_ERROR "the package is named ${deb_name}, not veltaro_<version>_${arch}.deb")
endif()

# The files: the program folder, two links in /usr/bin, the desktop entry and
# the icon, and nothing else.
run(listing "${DPKG_DEB}" -c "${debs}")
set(folder ./opt/veltaro/bin)
set(expected
  ${folder}/vlt-report ${folder}/vlt-positions ${folder}/libplanets_vlt.so ${folder}/libcalvexa.so
  ${folder}/jupiter.dac ${folder}/saturn.dac ${folder}/uranus.dac ${folder}/neptune.dac
  ${folder}/pluto.slx ${folder}/hpluto.2199.slx ${folder}/moon.chb ${folder}/VLT_help.txt
  ${folder}/DJIA_data.txt
  ./usr/share/applications/veltaro.desktop
  ./usr/share/icons/hicolor/scalable/apps/veltaro.svg)
set(links vlt-report)
if(EXISTS "${BUILD_DIR}/bin/vlt1056")
  list(APPEND expected ${folder}/vlt1056)
  list(APPEND links vlt1056)
endif()
string(REPLACE "\n" ";" lines "${listing}")
set(files "")
set(usr_bin "")
foreach(line IN LISTS lines)
  if(line STREQUAL "")
    continue()
  endif()
  # "-rwxr-xr-x root/root 12345 2024-01-01 00:00 ./path" or "... ./link -> target"
  string(REGEX REPLACE "^[^ ]+ +[^ ]+ +[0-9]+ +[^ ]+ +[^ ]+ +" "" entry "${line}")
  if(line MATCHES "^d")
    continue()
  endif()
  if(entry MATCHES "^\\./usr/bin/")
    list(APPEND usr_bin "${entry}")
  elseif(NOT entry MATCHES "^\\./opt/veltaro/bin/[^/]+$" AND
         NOT entry MATCHES "^\\./usr/share/(applications|icons)/")
    message(FATAL_ERROR "the package holds ${entry} outside its places:\n${listing}")
  endif()
  list(APPEND files "${entry}")
endforeach()
foreach(f IN LISTS expected)
  if(NOT f IN_LIST files)
    message(FATAL_ERROR "the package lacks ${f}:\n${listing}")
  endif()
endforeach()
if("${folder}/README.md" IN_LIST files)
  message(FATAL_ERROR "the data folder's README is in the package")
endif()
set(want_usr_bin "")
foreach(l IN LISTS links)
  list(APPEND want_usr_bin "./usr/bin/${l} -> ../../opt/veltaro/bin/${l}")
endforeach()
list(SORT usr_bin)
list(SORT want_usr_bin)
if(NOT usr_bin STREQUAL want_usr_bin)
  message(FATAL_ERROR "/usr/bin holds \"${usr_bin}\", not the links \"${want_usr_bin}\"")
endif()

# The control data: name, version, architecture and the dependencies that
# the programs link, read from them.
run(info "${DPKG_DEB}" -I "${debs}")
set(needs "Package: veltaro" "Architecture: ${arch}" "libc6" "libstdc++6" "fonts-liberation")
if(EXISTS "${BUILD_DIR}/bin/vlt1056")
  list(APPEND needs "libqt6widgets6" "libqt6gui6" "libqt6core6")
endif()
foreach(text IN LISTS needs)
  string(FIND "${info}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "dpkg-deb -I lacks \"${text}\":\n${info}")
  endif()
endforeach()
if(NOT info MATCHES "\n Depends: [^\n]*libc6")
  message(FATAL_ERROR "the package declares no dependencies:\n${info}")
endif()

# Unpacked, the desktop entry starts the program in its folder.
run(unpacked "${DPKG_DEB}" -x "${debs}" "${root}")
file(READ "${root}/usr/share/applications/veltaro.desktop" entry)
foreach(text "\nExec=/opt/veltaro/bin/vlt1056\n" "\nPath=/opt/veltaro/bin\n" "\nIcon=veltaro\n")
  string(FIND "${entry}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the desktop entry lacks \"${text}\":\n${entry}")
  endif()
endforeach()
file(SHA256 "${root}/opt/veltaro/bin/DJIA_data.txt" packed_index)
file(SHA256 "${DJIA_FILE}" project_index)
if(NOT packed_index STREQUAL project_index)
  message(FATAL_ERROR "the packed index file differs from ${DJIA_FILE}")
endif()

# The unpacked vlt-report, started through its link from a folder with only
# the index file: it finds its libraries and data files through the link and
# prints what the build's own vlt-report prints.
file(COPY "${DJIA_FILE}" DESTINATION "${work}")
foreach(request
    "tables;--first;Jupiter;--second;Pluto;--start;2020-01-01;--end;2021-12-31;--tz;GMT"
    "simulate;--first;Earth;--second;Mars;--start;2010-01-01;--end;2010-12-31")
  execute_process(COMMAND "${root}/usr/bin/vlt-report" ${request}
    WORKING_DIRECTORY "${work}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE packed ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "unpacked vlt-report ${request}: status ${rc}\n${err}\n${packed}")
  endif()
  execute_process(COMMAND "${BUILD_DIR}/bin/vlt-report" ${request}
    WORKING_DIRECTORY "${work}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE built ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT packed STREQUAL built OR NOT packed MATCHES "\n.*\n.*\n")
    message(FATAL_ERROR "unpacked and built vlt-report differ for ${request}:\n${packed}\n--\n${built}")
  endif()
endforeach()

file(REMOVE_RECURSE "${CHECK_DIR}")
message(STATUS "${deb_name}: contents, dependencies and the unpacked vlt-report checked")

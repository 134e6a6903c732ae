# Installs the build into CHECK_DIR/prefix and runs the installed vlt-report
# from CHECK_DIR/work, which holds nothing but a copy of the index file.
#   cmake -DBUILD_DIR=... -DCHECK_DIR=... -DDJIA_FILE=... -P check_installed_report.cmake
foreach(var BUILD_DIR CHECK_DIR DJIA_FILE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()

set(prefix "${CHECK_DIR}/prefix")
set(work "${CHECK_DIR}/work")
file(REMOVE_RECURSE "${CHECK_DIR}")
file(MAKE_DIRECTORY "${prefix}" "${work}")

execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}\n${err}")
endif()

# Nothing outside the prefix: the package's links and desktop entry in /usr
# are the package's alone.  Installed under a DESTDIR, everything stays in
# the prefix.
set(dest "${CHECK_DIR}/dest")
execute_process(COMMAND "${CMAKE_COMMAND}" -E env "DESTDIR=${dest}"
                        "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix /veltaro
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(GLOB top RELATIVE "${dest}" "${dest}/*")
if(NOT rc EQUAL 0 OR NOT top STREQUAL "veltaro")
  message(FATAL_ERROR "cmake --install put \"${top}\" into DESTDIR, not only the prefix:\n${out}\n${err}")
endif()

# One self-contained folder: programs, both libraries, data files and help
# text side by side; the desktop entry and icon under share.
set(expected
  bin/vlt-report bin/libplanets_vlt.so bin/libcalvexa.so
  bin/jupiter.dac bin/saturn.dac bin/uranus.dac bin/neptune.dac
  bin/pluto.slx bin/hpluto.2199.slx bin/moon.chb bin/VLT_help.txt bin/DJIA_data.txt
  share/applications/veltaro.desktop share/icons/hicolor/scalable/apps/veltaro.svg)
if(EXISTS "${BUILD_DIR}/bin/vlt1056")
  list(APPEND expected bin/vlt1056)
endif()
foreach(f IN LISTS expected)
  if(NOT EXISTS "${prefix}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# The installed index file is the project's, byte for byte; the folder's
# README stays in the sources.
file(SHA256 "${prefix}/bin/DJIA_data.txt" installed_index)
file(SHA256 "${DJIA_FILE}" project_index)
if(NOT installed_index STREQUAL project_index)
  message(FATAL_ERROR "the installed index file differs from ${DJIA_FILE}")
endif()
if(EXISTS "${prefix}/bin/README.md")
  message(FATAL_ERROR "the data folder's README was installed beside the program")
endif()
file(READ "${prefix}/share/applications/veltaro.desktop" entry)
string(FIND "${entry}" "Exec=${prefix}/bin/vlt1056" at)
if(at LESS 0)
  message(FATAL_ERROR "the desktop entry does not name the installed program:\n${entry}")
endif()

file(COPY "${DJIA_FILE}" DESTINATION "${work}")
get_filename_component(djia_name "${DJIA_FILE}" NAME)
if(NOT djia_name STREQUAL "DJIA_data.txt")
  file(RENAME "${work}/${djia_name}" "${work}/DJIA_data.txt")
endif()

# run(<name> <args...>): runs the installed vlt-report in the working folder,
# which must succeed with nothing on standard error; its output goes to
# <name>_out.
function(run name)
  execute_process(COMMAND "${prefix}/bin/vlt-report" ${ARGN}
    WORKING_DIRECTORY "${work}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "vlt-report ${ARGN}: status ${rc}\n${err}\n${out}")
  endif()
  set(${name}_out "${out}" PARENT_SCOPE)
endfunction()

# Outer planets and Pluto come from the data files beside the program.
run(tables tables --first Jupiter --second Pluto --start 2020-01-01 --end 2021-12-31 --tz GMT)
string(REPEAT "-" 119 rule)
foreach(text "${rule}\nGeocentric transits for Jupiter and Pluto from January 1, 2020, to December 31, 2021"
             "\nConjunction | ")
  string(FIND "${tables_out}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the transit report lacks \"${text}\":\n${tables_out}")
  endif()
endforeach()

# The index file comes from the working folder.
run(simulate simulate --first Earth --second Mars --start 2010-01-01 --end 2010-12-31)
foreach(text "Simulated investments for selected aspects for Earth and Mars"
             "Total number of investments = ")
  string(FIND "${simulate_out}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the simulation report lacks \"${text}\":\n${simulate_out}")
  endif()
endforeach()

file(REMOVE_RECURSE "${CHECK_DIR}")
message(STATUS "The installed vlt-report printed both reports")

# A report far past the window's box: transit tables of Jupiter and Saturn
# over 1600-2799 (about 290 kB).  vlt-report prints all of it and ends with
# status 0; with --box it stops where the window's box fills up, with the
# window's message and status 1, and what it printed is where the whole
# report begins.
#   cmake -DREPORT=.../vlt-report -DINDEX=.../DJIA_data.txt -DWORK=dir -P long_report.cmake
foreach(var REPORT INDEX WORK)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} is not set")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
# The window's start-up reads the index file from the working folder.
file(COPY "${INDEX}" DESTINATION "${WORK}")
set(request tables --first Jupiter --second Saturn --start 1600-01-01 --end 2799-12-31 --tz GMT)

execute_process(COMMAND "${REPORT}" ${request} WORKING_DIRECTORY "${WORK}"
  OUTPUT_FILE "${WORK}/whole.txt" ERROR_VARIABLE err RESULT_VARIABLE rc)
file(SIZE "${WORK}/whole.txt" whole_size)
if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
  message(FATAL_ERROR "vlt-report ${request}: status ${rc}, ${whole_size} bytes\n${err}")
endif()
file(STRINGS "${WORK}/whole.txt" rows REGEX "^[A-Za-z ]*\\| ")
list(LENGTH rows row_count)
file(READ "${WORK}/whole.txt" whole)
string(REGEX MATCH "\n[^\n]*\n$" last_line "${whole}")
string(FIND "${whole}" "Textbox is full" full_at)
# The period's first and last years both appear, and the last line is a
# complete row.
if(whole_size LESS 250000 OR NOT full_at EQUAL -1 OR
   NOT whole MATCHES "\\| 160[0-9]-" OR NOT whole MATCHES "\\| 279[0-9]-" OR
   NOT last_line MATCHES "^\n[A-Za-z ]*\\| .*\\| .*\\| .*\\| [^\n]+\n$")
  message(FATAL_ERROR "the whole report is not whole: ${whole_size} bytes, ${row_count} rows, "
                      "ending with ${last_line}")
endif()

execute_process(COMMAND "${REPORT}" ${request} --box WORKING_DIRECTORY "${WORK}"
  OUTPUT_VARIABLE boxed ERROR_VARIABLE err RESULT_VARIABLE rc)
# The window's ending: its message, "Stop?" answered Yes, and the box's last
# words.  64,000 characters with CR LF are some 63,500 with LF.
string(LENGTH "${boxed}" boxed_size)
string(FIND "${boxed}" "Textbox is full -- \nStopped" kept_size)
set(kept "")
set(whole_start "-")
set(boxed_tail "")
if(kept_size GREATER 0)
  string(SUBSTRING "${boxed}" 0 ${kept_size} kept)
  string(SUBSTRING "${boxed}" ${kept_size} -1 boxed_tail)
  string(SUBSTRING "${whole}" 0 ${kept_size} whole_start)
endif()
if(NOT rc EQUAL 1 OR NOT err STREQUAL "Output textbox is full.\nStop?\n" OR
   NOT boxed_tail STREQUAL "Textbox is full -- \nStopped" OR
   kept_size LESS 62000 OR kept_size GREATER 64200 OR NOT kept STREQUAL whole_start)
  message(FATAL_ERROR "vlt-report ${request} --box: status ${rc}, ${boxed_size} characters, "
                      "ending \"${boxed_tail}\"\n${err}")
endif()

file(REMOVE_RECURSE "${WORK}")
message(STATUS "whole report ${whole_size} bytes (${row_count} rows); --box stopped at ${boxed_size}")

# Checks the index file before the build copies it beside the program, so that
# a truncated or damaged copy stops the build instead of reaching a user:
#   cmake -DSOURCE=data/DJIA_data.txt [-DDESTINATION=bin/DJIA_data.txt] -P CheckIndexFile.cmake
# The file holds exactly 2088 dated lines (2007-01-02 to 2015-01-01), each
# ending in CR LF.
if(NOT DEFINED SOURCE)
  message(FATAL_ERROR "SOURCE is not set")
endif()
set(restore "restore it with: git checkout -- data/DJIA_data.txt")
if(NOT EXISTS "${SOURCE}" OR IS_DIRECTORY "${SOURCE}")
  message(FATAL_ERROR "Index file ${SOURCE} is missing or cannot be read; ${restore}")
endif()

# Should a file still fail to read, CMake stops here with a message naming it.
file(STRINGS "${SOURCE}" dated REGEX "^[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]")
file(STRINGS "${SOURCE}" nonblank REGEX "[^ \t\r]")
list(LENGTH dated dated_count)
list(LENGTH nonblank line_count)
if(NOT line_count EQUAL 2088 OR NOT dated_count EQUAL 2088)
  message(FATAL_ERROR "Index file ${SOURCE} is damaged: ${line_count} lines (${dated_count} "
                      "dated) where 2088 dated lines belong; ${restore}")
endif()
# Line ends counted in the bytes themselves (file(READ) as text would not
# show every CR).  The file is plain ASCII, so a hex pair such as "0a" can
# only stand for the byte itself.
file(READ "${SOURCE}" hex HEX)
string(LENGTH "${hex}" length)
string(REPLACE "0a" "" no_lf "${hex}")
string(REPLACE "0d0a" "" no_crlf "${hex}")
string(LENGTH "${no_lf}" length_no_lf)
string(LENGTH "${no_crlf}" length_no_crlf)
math(EXPR lf_count "(${length} - ${length_no_lf}) / 2")
math(EXPR crlf_count "(${length} - ${length_no_crlf}) / 4")
if(NOT lf_count EQUAL crlf_count OR lf_count LESS 2088)
  message(FATAL_ERROR "Index file ${SOURCE} has lost its CR LF line ends (${crlf_count} of "
                      "${lf_count}); ${restore}")
endif()

if(DEFINED DESTINATION)
  file(COPY_FILE "${SOURCE}" "${DESTINATION}" ONLY_IF_DIFFERENT)
endif()

# Runs velomar-lyrics and checks its exit code and its messages exactly, so
# that a crash, which also ends a run with a failure, fails the test:
#
#   cmake -DTOOL=path [-DEMULATOR=path] -DEXIT=code -DERR=line [-DERR_MORE=ON]
#         -P run_tool.cmake -- ARGS...
#
# EMULATOR runs a Windows build (under Wine). Standard output must stay
# empty and standard error begin with the line ERR: be just that line, or
# with ERR_MORE, go on after it. Windows writes CR LF to standard error;
# it counts as LF.
set(args)
set(after_script FALSE)
foreach(i RANGE 1 ${CMAKE_ARGC})
  if(i EQUAL CMAKE_ARGC)
    break()
  endif()
  set(arg "${CMAKE_ARGV${i}}")
  if(after_script AND NOT arg STREQUAL "--")
    list(APPEND args "${arg}")
  elseif(arg STREQUAL "-P")
    math(EXPR script "${i} + 1")
  elseif(DEFINED script AND i EQUAL script)
    set(after_script TRUE)
  endif()
endforeach()

execute_process(COMMAND ${EMULATOR} "${TOOL}" ${args}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
string(REPLACE "\r\n" "\n" err "${err}")
string(FIND "${err}" "\n" first_end)
if(first_end LESS 0)
  set(first "${err}")
  set(rest "")
else()
  string(SUBSTRING "${err}" 0 ${first_end} first)
  math(EXPR rest_begin "${first_end} + 1")
  string(SUBSTRING "${err}" ${rest_begin} -1 rest)
endif()

set(faults)
if(NOT code STREQUAL "${EXIT}")
  list(APPEND faults "exit code ${code}, not ${EXIT}")
endif()
if(NOT out STREQUAL "")
  list(APPEND faults "standard output not empty:\n${out}")
endif()
if(NOT first_end GREATER_EQUAL 0 OR NOT first STREQUAL "${ERR}")
  list(APPEND faults "standard error does not begin with the line \"${ERR}\":\n${err}")
elseif(NOT ERR_MORE AND NOT rest STREQUAL "")
  list(APPEND faults "standard error goes on after \"${ERR}\":\n${rest}")
elseif(ERR_MORE AND rest STREQUAL "")
  list(APPEND faults "standard error ends after \"${ERR}\"")
endif()
if(faults)
  list(JOIN faults "\n" text)
  list(JOIN args " " shown)
  message(FATAL_ERROR "${TOOL} ${shown}:\n${text}")
endif()

# The C interface's edge (cmake -P, -DHEADER= -DLIBRARY= -DPROGRAM= -DOBJDUMP= -DWINDOWS=): the
# library exports exactly the nls_ functions the header declares, and the C program needs no C++
# run time (on Windows it imports nothing but nls.dll and Windows' own DLLs).

function(dump file out)
  execute_process(COMMAND ${OBJDUMP} ${ARGN} ${file} OUTPUT_VARIABLE text
                  COMMAND_ERROR_IS_FATAL ANY)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(READ ${HEADER} header)
string(REGEX MATCHALL "NLS_EXPORT[^;(]*[ *]nls_[a-z0-9_]+\\(" declared "${header}")
list(TRANSFORM declared REPLACE ".*[ *](nls_[a-z0-9_]+)\\($" "\\1")

# C names are the unmangled ones: dynamic symbols (ELF) or exports (PE) whose last word is nls_*.
if(WINDOWS)
  dump(${LIBRARY} exports -p)
else()
  dump(${LIBRARY} exports -T)
  string(REGEX REPLACE "[^\n]*\\*UND\\*[^\n]*" "" exports "${exports}")
endif()
string(REGEX MATCHALL "[ \t]nls_[A-Za-z0-9_]+\n" exported "${exports}")
list(TRANSFORM exported STRIP)
list(REMOVE_DUPLICATES exported)

list(SORT declared)
list(SORT exported)
if(NOT declared STREQUAL exported)
  set(extra ${exported})
  list(REMOVE_ITEM extra ${declared})
  set(absent ${declared})
  list(REMOVE_ITEM absent ${exported})
  message(FATAL_ERROR "the library's C symbols differ from nls.h: exported but not declared: "
                      "${extra}; declared but not exported: ${absent}")
endif()
list(LENGTH declared count)
message(STATUS "${count} nls_ functions, declared and exported")

dump(${PROGRAM} headers -p)
if(WINDOWS)
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
  foreach(import ${imports})
    string(REGEX REPLACE "DLL Name: " "" dll "${import}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll MATCHES "^(nls|kernel32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\\.dll$")
      message(FATAL_ERROR "${PROGRAM} imports ${dll}")
    endif()
  endforeach()
else()
  string(REGEX MATCHALL "NEEDED +[^\n]+" imports "${headers}")
  if(imports MATCHES "libstdc\\+\\+|libgcc_s" OR NOT imports MATCHES "libnls")
    message(FATAL_ERROR "${PROGRAM} needs: ${imports}")
  endif()
endif()

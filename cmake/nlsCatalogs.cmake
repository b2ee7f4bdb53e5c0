# nls_add_catalogs(<target> DOMAIN <domain> PO <file.po>... [DESTINATION <dir>]
#                  [OUTPUT_DIRECTORY <dir>])
#
# Compiles each .po file with msgfmt into <OUTPUT_DIRECTORY>/<language>/LC_MESSAGES/<domain>.mo,
# the layout the library searches, checks it with `nls-catalog check`, and has <target> depend on
# them. OUTPUT_DIRECTORY defaults to ${CMAKE_CURRENT_BINARY_DIR}/catalogs. With DESTINATION the
# tree is installed there too. <language> is the library's name for the language of the .po file's
# "Language:" header or, without one, of its file name: de.po gives German, pt_BR.po
# Portuguese-BRA. `nls-catalog language` gives it at build time, so that the mapping is the
# library's own.
#
# Run as a script (cmake -P) this file is the build step for one .po file.

if(CMAKE_SCRIPT_MODE_FILE)
  # -DMSGFMT= -DTOOL= -DPO= -DDOMAIN= -DOUTPUT_DIRECTORY= -DSTAMP=, and -DEMULATOR= (its words
  # joined by '|') where the tool runs through one
  string(REPLACE "|" ";" emulator "${EMULATOR}")
  # The answer is standard output alone: an emulator writes notes of its own on standard error
  # (Wine, when it makes its prefix), which must not become part of a folder name.
  function(nls_catalog_step)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "${out}${err}")
    endif()
    set(out "${out}" PARENT_SCOPE)
  endfunction()
  nls_catalog_step(${emulator} ${TOOL} language ${PO})
  set(mo ${OUTPUT_DIRECTORY}/${out}/LC_MESSAGES/${DOMAIN}.mo)
  file(MAKE_DIRECTORY ${OUTPUT_DIRECTORY}/${out}/LC_MESSAGES)
  nls_catalog_step(${MSGFMT} --check -o ${mo} ${PO})
  nls_catalog_step(${emulator} ${TOOL} check ${mo})
  file(WRITE ${STAMP} "${mo}\n")
  return()
endif()

function(nls_add_catalogs target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "DOMAIN;DESTINATION;OUTPUT_DIRECTORY" "PO")
  if(NOT TARGET ${target} OR NOT arg_DOMAIN OR NOT arg_PO)
    message(FATAL_ERROR "nls_add_catalogs: usage: nls_add_catalogs(<target> DOMAIN <domain> "
                        "PO <file.po>... [DESTINATION <dir>] [OUTPUT_DIRECTORY <dir>])")
  endif()
  find_program(NLS_MSGFMT msgfmt)
  if(NOT NLS_MSGFMT)
    message(FATAL_ERROR "nls_add_catalogs: msgfmt not found: install GNU gettext (the Debian "
                        "package gettext) or set NLS_MSGFMT to its path")
  endif()
  if(NOT arg_OUTPUT_DIRECTORY)
    set(arg_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/catalogs)
  endif()
  # The tool is a target of its own in the nls build, an imported one from the package.
  get_target_property(tool nls::nls-catalog ALIASED_TARGET)
  if(NOT tool)
    set(tool nls::nls-catalog)
  endif()
  # A cross build runs the tool through its emulator (Wine for a Windows build).
  list(JOIN CMAKE_CROSSCOMPILING_EMULATOR "|" emulator)
  set(stamps)
  foreach(po ${arg_PO})
    get_filename_component(po ${po} ABSOLUTE)
    string(MD5 name ${po})
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/nls_catalogs/${arg_DOMAIN}-${name}.stamp)
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -DMSGFMT=${NLS_MSGFMT} -DTOOL=$<TARGET_FILE:${tool}> -DPO=${po}
              -DDOMAIN=${arg_DOMAIN} -DOUTPUT_DIRECTORY=${arg_OUTPUT_DIRECTORY} -DSTAMP=${stamp}
              -DEMULATOR=${emulator}
              -P ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
      DEPENDS ${po} ${tool} ${CMAKE_CURRENT_FUNCTION_LIST_FILE}
      COMMENT "Compiling and checking ${po}" VERBATIM)
    list(APPEND stamps ${stamp})
  endforeach()
  add_custom_target(${target}_${arg_DOMAIN}_catalogs ALL DEPENDS ${stamps})
  add_dependencies(${target} ${target}_${arg_DOMAIN}_catalogs)
  if(arg_DESTINATION)
    install(DIRECTORY ${arg_OUTPUT_DIRECTORY}/ DESTINATION ${arg_DESTINATION}
            FILES_MATCHING PATTERN ${arg_DOMAIN}.mo)
  endif()
endfunction()

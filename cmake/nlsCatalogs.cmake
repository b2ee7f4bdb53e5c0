# nls_add_catalogs(<target> DOMAIN <domain> PO <file.po>... [DESTINATION <dir>]
#                  [OUTPUT_DIRECTORY <dir>] [LIBRARY_NAMES])
#
# Compiles each .po file with msgfmt into <OUTPUT_DIRECTORY>/<language>/LC_MESSAGES/<domain>.mo,
# checks it with `nls-catalog check`, and has <target> depend on them. OUTPUT_DIRECTORY defaults
# to ${CMAKE_CURRENT_BINARY_DIR}/catalogs. With DESTINATION the tree is installed there too
# (share/locale for the system's own tree). <language> is the folder of the language of the .po
# file's "Language:" header or, without one, of its file name, as /usr/share/locale names it:
# de.po gives de, pt_BR.po pt_BR. With LIBRARY_NAMES it is the library's name instead (German,
# Portuguese-BRA). `nls-catalog language` gives it at build time, so that the mapping is the
# library's own; the library searches both layouts.
#
# nls_extract_messages(<target> DOMAIN <domain> POT <file.pot> [PO <file.po>...]
#                      [KEYWORDS <keyword>...] [NO_DEFAULT_KEYWORDS])
#
# Adds the target <domain>_pot, which extracts the messages of <target>'s sources (headers too,
# when they are listed among them) into <file.pot> with xgettext, and with PO the target
# <domain>_merge, which extracts them and merges them into each .po file (msgmerge --update).
# Neither runs in a normal build. The keywords are every lookup of the library, and KEYWORDS in
# xgettext's form: `_` for a macro _(message), `N_` for one that only marks, `C_:1c,2` for one
# whose first argument is a context. NO_DEFAULT_KEYWORDS leaves only
# KEYWORDS, for a program whose domains each have their own macros.
#
# Run as a script (cmake -P) this file is the build step for one .po file.

if(CMAKE_SCRIPT_MODE_FILE)
  # -DMSGFMT= -DTOOL= -DPO= -DDOMAIN= -DOUTPUT_DIRECTORY= -DSTAMP= -DLIBRARY_NAMES=, and
  # -DEMULATOR= (its words joined by '|') where the tool runs through one
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
  set(naming)
  if(LIBRARY_NAMES)
    set(naming --library-names)
  endif()
  nls_catalog_step(${emulator} ${TOOL} language ${naming} ${PO})
  set(mo ${OUTPUT_DIRECTORY}/${out}/LC_MESSAGES/${DOMAIN}.mo)
  file(MAKE_DIRECTORY ${OUTPUT_DIRECTORY}/${out}/LC_MESSAGES)
  nls_catalog_step(${MSGFMT} --check -o ${mo} ${PO})
  nls_catalog_step(${emulator} ${TOOL} check ${mo})
  file(WRITE ${STAMP} "${mo}\n")
  return()
endif()

function(nls_add_catalogs target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "LIBRARY_NAMES" "DOMAIN;DESTINATION;OUTPUT_DIRECTORY"
                        "PO")
  if(NOT TARGET ${target} OR NOT arg_DOMAIN OR NOT arg_PO)
    message(FATAL_ERROR "nls_add_catalogs: usage: nls_add_catalogs(<target> DOMAIN <domain> "
                        "PO <file.po>... [DESTINATION <dir>] [OUTPUT_DIRECTORY <dir>] "
                        "[LIBRARY_NAMES])")
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
              -DEMULATOR=${emulator} -DLIBRARY_NAMES=${arg_LIBRARY_NAMES}
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

function(nls_extract_messages target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "NO_DEFAULT_KEYWORDS" "DOMAIN;POT" "PO;KEYWORDS")
  if(NOT TARGET ${target} OR NOT arg_DOMAIN OR NOT arg_POT)
    message(FATAL_ERROR "nls_extract_messages: usage: nls_extract_messages(<target> DOMAIN "
                        "<domain> POT <file.pot> [PO <file.po>...] [KEYWORDS <keyword>...] "
                        "[NO_DEFAULT_KEYWORDS])")
  endif()
  foreach(program xgettext msgmerge)
    string(TOUPPER ${program} name)
    find_program(NLS_${name} ${program})
    if(NOT NLS_${name})
      message(FATAL_ERROR "nls_extract_messages: ${program} not found: install GNU gettext (the "
                          "Debian package gettext) or set NLS_${name} to its path")
    endif()
  endforeach()
  set(keywords)
  if(NOT arg_NO_DEFAULT_KEYWORDS)
    # Every lookup of the library: the same names and argument places for nlsDomainManager's
    # static members and a database's members.
    list(APPEND arg_KEYWORDS gettext ngettext:1,2 pgettext:1c,2 npgettext:1c,2,3 dgettext:2
         dngettext:2,3 dpgettext:2c,3 dnpgettext:2c,3,4)
  endif()
  foreach(keyword ${arg_KEYWORDS})
    list(APPEND keywords --keyword=${keyword})
  endforeach()
  get_filename_component(pot ${arg_POT} ABSOLUTE)
  get_target_property(source_dir ${target} SOURCE_DIR)
  # The target's C and C++ files as it lists them, relative to its folder, where xgettext runs, so
  # that the .pot names them alike on every machine.
  set(sources "$<TARGET_PROPERTY:${target},SOURCES>")
  set(sources "$<FILTER:${sources},INCLUDE,\\.(c|cc|cpp|cxx|h|hh|hpp|hxx)$>")
  get_filename_component(pot_dir ${pot} DIRECTORY)
  # -k alone drops xgettext's own list, so that only the library's lookups and the program's
  # keywords count.
  add_custom_target(${arg_DOMAIN}_pot
    COMMAND ${CMAKE_COMMAND} -E make_directory ${pot_dir}
    COMMAND ${NLS_XGETTEXT} --language=C++ --from-code=UTF-8 --add-comments=TRANSLATORS:
            -k ${keywords} --package-name=${arg_DOMAIN} --output=${pot} ${sources}
    WORKING_DIRECTORY ${source_dir} COMMAND_EXPAND_LISTS VERBATIM
    COMMENT "Extracting the messages of ${target} into ${pot}")
  if(arg_PO)
    set(merges)
    foreach(po ${arg_PO})
      get_filename_component(po ${po} ABSOLUTE)
      list(APPEND merges COMMAND ${NLS_MSGMERGE} --update --backup=none --quiet ${po} ${pot})
    endforeach()
    add_custom_target(${arg_DOMAIN}_merge ${merges} VERBATIM
                      COMMENT "Merging ${pot} into the .po files of ${arg_DOMAIN}")
    add_dependencies(${arg_DOMAIN}_merge ${arg_DOMAIN}_pot)
  endif()
endfunction()

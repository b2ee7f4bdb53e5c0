# Installs the built library into a scratch tree (MODE "install": cmake --install; "package": the
# Debian packages checked and unpacked), then builds and runs a consumer through find_package(nls)
# and through pkg-config, the example program with nls_add_catalogs, and (install) the
# translator's round trip on examples/hello. On Windows (NLS_WINDOWS) the consumers run under the
# emulator from a copy of bin/, importing nothing but Windows' DLLs and each other.
cmake_policy(SET CMP0057 NEW) # if(IN_LIST)
file(REMOVE_RECURSE ${WORK_DIR})
set(generator -G "${NLS_GENERATOR}" -DCMAKE_MAKE_PROGRAM=${NLS_MAKE})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}")
  endif()
endfunction()

# Fails unless the command's standard output is `expected`.
function(expect_printed expected)
  execute_process(COMMAND ${ARGN} OUTPUT_VARIABLE printed COMMAND_ERROR_IS_FATAL ANY)
  if(NOT printed STREQUAL expected)
    message(FATAL_ERROR "${ARGN} printed:\n${printed}")
  endif()
endfunction()

function(expect_in what text) # each further argument in `text`
  foreach(part ${ARGN})
    string(FIND "${text}" "${part}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${what} lacks \"${part}\":\n${text}")
    endif()
  endforeach()
endfunction()

if(MODE STREQUAL "package")
  set(packages ${WORK_DIR}/packages)
  run(${CMAKE_CPACK_COMMAND} -G DEB --config ${NLS_BINARY_DIR}/CPackConfig.cmake -B ${packages})
  set(runtime ${packages}/libnls0_${NLS_VERSION}_amd64.deb)
  set(development ${packages}/libnls-dev_${NLS_VERSION}_amd64.deb)
  set(debug ${packages}/libnls0-dbgsym_${NLS_VERSION}_amd64.deb)
  file(GLOB made ${packages}/*.deb)
  list(SORT made)
  if(NOT made STREQUAL "${development};${debug};${runtime}")
    message(FATAL_ERROR "expected the runtime, development and debug packages, got: ${made}")
  endif()
  run(lintian --fail-on error ${made})
  run(dpkg-deb -e ${runtime} ${WORK_DIR}/control)
  execute_process(COMMAND dpkg-deb -f ${runtime} Depends OUTPUT_VARIABLE runtime_depends)
  execute_process(COMMAND dpkg-deb -f ${development} Depends OUTPUT_VARIABLE depends)
  file(READ ${WORK_DIR}/control/shlibs shlibs)
  file(READ ${WORK_DIR}/control/triggers triggers)
  expect_in("the dependencies and control files" "${runtime_depends}${depends}${shlibs}${triggers}"
            "libc6 (>=" "libsqlite3-0 (>=" "libnls0 (= ${NLS_VERSION})" "libnls 0 libnls0 (>= "
            "activate-noawait ldconfig")
  foreach(package ${made})
    run(dpkg-deb -x ${package} ${WORK_DIR}/root)
  endforeach()
  set(prefix ${WORK_DIR}/root/usr)
  # The library without its debug information, which lies in the debug package under its build ID.
  execute_process(COMMAND readelf -S -n ${prefix}/${NLS_LIBDIR}/libnls.so.0 OUTPUT_VARIABLE elf)
  string(REGEX MATCH "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)" id "${elf}")
  if(elf MATCHES "debug_info" OR NOT id OR
     NOT EXISTS ${prefix}/lib/debug/.build-id/${CMAKE_MATCH_1}/${CMAKE_MATCH_2}.debug)
    message(FATAL_ERROR "the library is not stripped, or its debug information is not in the "
                        "debug package:\n${elf}")
  endif()
else()
  set(prefix ${WORK_DIR}/prefix)
  run(${CMAKE_COMMAND} --install ${NLS_BINARY_DIR} --prefix ${prefix})
endif()

# The tool and the CMake functions, which the Windows checks below do not use.
file(GLOB tool ${prefix}/bin/nls-catalog*)
if(NOT tool OR NOT EXISTS ${prefix}/${NLS_LIBDIR}/cmake/nls/nlsCatalogs.cmake)
  message(FATAL_ERROR "nls-catalog or nlsCatalogs.cmake is not installed")
endif()
# Headers in include/nls only; the system's names, the backends and internal headers stay behind.
file(GLOB top RELATIVE ${prefix}/include ${prefix}/include/*)
file(GLOB_RECURSE private LIST_DIRECTORIES true RELATIVE ${prefix}/include ${prefix}/include/*)
list(FILTER private INCLUDE REGEX "(^|/)(internal|posix|windows)(/|$)|apWinLocale|apCrtIo")
if(NOT top STREQUAL "nls" OR private)
  message(FATAL_ERROR "headers outside include/nls (${top}), or internal ones: ${private}")
endif()

set(consumer_options)
if(NLS_WINDOWS)
  # A cross build finds packages inside its root path only, unless pointed at one.
  set(consumer_options -DCMAKE_TOOLCHAIN_FILE=${NLS_TOOLCHAIN_FILE}
      -Dnls_DIR=${prefix}/${NLS_LIBDIR}/cmake/nls)
endif()
run(${CMAKE_COMMAND} ${generator} -S ${NLS_SOURCE_DIR}/tests/install/consumer
    -B ${WORK_DIR}/consumer -DCMAKE_PREFIX_PATH=${prefix} ${consumer_options})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${prefix}/${NLS_LIBDIR}/pkgconfig)
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs nls OUTPUT_VARIABLE flags
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(flags UNIX_COMMAND "${flags}")

if(NLS_WINDOWS)
  # What a user copies to a Windows machine: the installed bin/ folder, beside the programs.
  set(bin ${WORK_DIR}/bin)
  file(COPY ${prefix}/bin/ ${WORK_DIR}/consumer/nls_consumer.exe DESTINATION ${bin})
  run(${NLS_CXX} -std=c++17 ${NLS_SOURCE_DIR}/tests/install/consumer/main.cpp ${flags}
      -o ${bin}/pc_consumer.exe)
  file(GLOB modules ${bin}/*.dll ${bin}/*.exe)
  file(GLOB shipped RELATIVE ${bin} ${bin}/*.dll)
  string(TOLOWER "${shipped};kernel32.dll;advapi32.dll;msvcrt.dll;user32.dll" allowed)
  foreach(module ${modules})
    execute_process(COMMAND ${NLS_OBJDUMP} -p ${module} OUTPUT_VARIABLE dump
                    COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
    string(REPLACE "DLL Name: " "" imports "${imports}")
    foreach(dll ${imports})
      string(TOLOWER "${dll}" dll)
      if(NOT dll IN_LIST allowed)
        message(FATAL_ERROR "${module} imports ${dll}, which is neither Windows' nor installed")
      endif()
    endforeach()
  endforeach()
  string(REPLACE "|" ";" emulator "${NLS_EMULATOR}")
  run(${emulator} ${bin}/nls_consumer.exe)
  run(${emulator} ${bin}/pc_consumer.exe)
  return()
endif()

# As a user without an rpath runs them: the library found through LD_LIBRARY_PATH.
set(ENV{LD_LIBRARY_PATH} ${prefix}/${NLS_LIBDIR})
run(${WORK_DIR}/consumer/nls_consumer)
run(c++ -std=c++17 ${NLS_SOURCE_DIR}/tests/install/consumer/main.cpp ${flags}
    -o ${WORK_DIR}/pc_consumer)
run(${WORK_DIR}/pc_consumer)

# The CMake function from a consumer project: the example, built and installed on its own, its
# catalogues in the folders /usr/share/locale uses.
set(example ${WORK_DIR}/example-prefix)
run(${CMAKE_COMMAND} ${generator} -S ${NLS_SOURCE_DIR}/examples -B ${WORK_DIR}/example
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_INSTALL_PREFIX=${example})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/example)
run(${CMAKE_COMMAND} --install ${WORK_DIR}/example)
foreach(catalogue de/LC_MESSAGES/editor fr/LC_MESSAGES/editor ja/LC_MESSAGES/viewer)
  if(NOT EXISTS ${example}/share/nls_example/${catalogue}.mo)
    message(FATAL_ERROR "nls_add_catalogs did not install ${catalogue}.mo")
  endif()
endforeach()
foreach(program ${WORK_DIR}/example/nls_example ${example}/bin/nls_example)
  expect_printed("Imprimir\n" ${program} --dir ${example}/share/nls_example
                 --language pt_BR.UTF-8 --domain viewer Print)
endforeach()

# Without msgfmt (paths ignored; the compiler given) the configuration stops with one message.
execute_process(COMMAND ${CMAKE_COMMAND} ${generator} -S ${NLS_SOURCE_DIR}/examples
                        -B ${WORK_DIR}/no-msgfmt -DCMAKE_PREFIX_PATH=${prefix}
                        "-DCMAKE_IGNORE_PATH=/usr/bin;/bin" -DCMAKE_CXX_COMPILER=${NLS_CXX}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc EQUAL 0 OR NOT out MATCHES "nls_add_catalogs: msgfmt not found")
  message(FATAL_ERROR "configured without msgfmt (${rc}):\n${out}")
endif()
if(MODE STREQUAL "package")
  return()
endif()

# The translator's round trip on a copy of examples/hello: the .pot, a French catalogue from
# msginit, a message changed and merged, the French translated ("fr:", context, message), run.
set(hello ${WORK_DIR}/hello)
file(COPY ${NLS_SOURCE_DIR}/examples/hello/ DESTINATION ${hello})
run(${CMAKE_COMMAND} ${generator} -S ${hello} -B ${hello}/build -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${hello}/build --target hello_pot)
file(READ ${hello}/po/hello.pot pot)
expect_in("the .pot" "${pot}" "msgid \"Hello, world!\"" "msgid_plural \"%lu arguments\""
          "msgctxt \"menu\"\nmsgid \"Open\"" "msgctxt \"button\"\nmsgid \"Open\"")
run(msginit --no-translator --locale=fr -i ${hello}/po/hello.pot -o ${hello}/po/fr.po)
file(READ ${hello}/hello.cpp code)
string(REPLACE "Hello, world!" "Hello, translators!" code "${code}")
file(WRITE ${hello}/hello.cpp "${code}")
run(${CMAKE_COMMAND} --build ${hello}/build --target hello_merge)
file(READ ${hello}/po/de.po de)
file(READ ${hello}/po/fr.po fr)
foreach(language de fr)
  expect_in("the merged catalogue" "${${language}}" "\"Language: ${language}\\n\""
            "msgid \"Hello, translators!\"")
endforeach()
string(REGEX REPLACE "msgctxt \"([^\"]*)\"\nmsgid \"([^\"]+)\"\nmsgstr \"\""
       "msgctxt \"\\1\"\nmsgid \"\\2\"\nmsgstr \"fr:\\1:\\2\"" fr "${fr}")
string(REGEX REPLACE "msgid \"([^\"]+)\"\nmsgid_plural \"([^\"]+)\"\nmsgstr\\[0\\] \"\"\nmsgstr\\[1\\] \"\""
       "msgid \"\\1\"\nmsgid_plural \"\\2\"\nmsgstr[0] \"fr:\\1\"\nmsgstr[1] \"fr:\\2\"" fr "${fr}")
string(REGEX REPLACE "msgid \"([^\"]+)\"\nmsgstr \"\"" "msgid \"\\1\"\nmsgstr \"fr:\\1\"" fr "${fr}")
file(WRITE ${hello}/po/fr.po "${fr}")
run(${CMAKE_COMMAND} --build ${hello}/build)
set(as_user ${CMAKE_COMMAND} -E chdir ${hello}/build ${CMAKE_COMMAND} -E env --unset=LC_ALL
    --unset=LC_MESSAGES --unset=LANGUAGE)
expect_printed("Hello, translators!\n3 Argumente\nÖffnen\nÖffnen…\n"
               ${as_user} LANG=de_DE.UTF-8 ./hello two args)
expect_printed("fr:Hello, translators!\nfr:3 arguments\nfr:menu:Open\nfr:button:Open\n"
               ${as_user} LANG=fr_FR.UTF-8 ./hello two args)

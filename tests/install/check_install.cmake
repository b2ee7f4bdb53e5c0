# Puts the built library into a scratch tree, then builds and runs a small consumer against it
# twice: through find_package(nls) and through pkg-config; then builds the example program on its
# own against it, its catalogues through nls_add_catalogs and the installed nls-catalog, and
# installs and runs it. MODE "install" runs cmake --install;
# MODE "package" runs cpack -G DEB and unpacks both packages with dpkg-deb -x, as apt would
# install them, but into the scratch tree. For Windows (NLS_WINDOWS) the consumer is cross-built
# with the toolchain file and run by the emulator in a copy of the installed bin/ folder, whose
# programs and DLLs may import nothing but Windows' own DLLs and each other.
cmake_policy(SET CMP0057 NEW) # if(IN_LIST)
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}")
  endif()
endfunction()

if(MODE STREQUAL "package")
  run(cpack -G DEB --config ${NLS_BINARY_DIR}/CPackConfig.cmake -B ${WORK_DIR}/packages)
  file(GLOB packages ${WORK_DIR}/packages/*.deb)
  list(LENGTH packages count)
  if(NOT count EQUAL 2)
    message(FATAL_ERROR "expected a runtime and a development package, got: ${packages}")
  endif()
  foreach(package ${packages})
    run(dpkg-deb -x ${package} ${WORK_DIR}/root)
  endforeach()
  execute_process(COMMAND dpkg-deb -f ${WORK_DIR}/packages/libnls-dev_${NLS_VERSION}_amd64.deb
                          Depends OUTPUT_VARIABLE depends)
  if(NOT depends MATCHES "libnls")
    message(FATAL_ERROR "the development package does not depend on the runtime: ${depends}")
  endif()
  set(prefix ${WORK_DIR}/root/usr)
else()
  set(prefix ${WORK_DIR}/prefix)
  run(${CMAKE_COMMAND} --install ${NLS_BINARY_DIR} --prefix ${prefix})
endif()

set(installed include/nls/nlsLoadedDomain.h include/platform/utString.h
    include/platform/apExport.h lib/cmake/nls/nlsConfig.cmake lib/cmake/nls/nlsCatalogs.cmake
    lib/pkgconfig/nls.pc)
if(NLS_WINDOWS)
  list(APPEND installed bin/nls.dll lib/libnls.dll.a bin/nls-catalog.exe)
else()
  list(APPEND installed lib/libnls.so bin/nls-catalog)
endif()
foreach(file ${installed})
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
# The system's names, the backends and the library's internal headers stay behind.
foreach(file include/platform/apWinLocale.h include/platform/apCrtIo.h include/platform/posix
             include/platform/windows include/nls/nlsLocaleInfo.h include/nls/nlsChangeGuard.h)
  if(EXISTS ${prefix}/${file})
    message(FATAL_ERROR "installed, but internal: ${file}")
  endif()
endforeach()

set(consumer_options)
if(NLS_WINDOWS)
  # A cross build finds packages inside its root path only, unless pointed at one.
  set(consumer_options -DCMAKE_TOOLCHAIN_FILE=${NLS_TOOLCHAIN_FILE}
      -Dnls_DIR=${prefix}/lib/cmake/nls)
endif()
run(${CMAKE_COMMAND} -S ${NLS_SOURCE_DIR}/tests/install/consumer -B ${WORK_DIR}/consumer
    -DCMAKE_PREFIX_PATH=${prefix} ${consumer_options})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)

find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs nls OUTPUT_VARIABLE flags
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(flags UNIX_COMMAND "${flags}")

if(NOT NLS_WINDOWS)
  # As a user without an rpath runs them: the library found through LD_LIBRARY_PATH.
  set(ENV{LD_LIBRARY_PATH} ${prefix}/lib)
  run(${WORK_DIR}/consumer/nls_consumer)
  run(c++ -std=c++17 ${NLS_SOURCE_DIR}/tests/install/consumer/main.cpp ${flags}
      -o ${WORK_DIR}/pc_consumer)
  run(${WORK_DIR}/pc_consumer)

  # The CMake function from a consumer project: the example, built and installed on its own.
  run(${CMAKE_COMMAND} -S ${NLS_SOURCE_DIR}/examples -B ${WORK_DIR}/example
      -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_INSTALL_PREFIX=${WORK_DIR}/example-prefix)
  run(${CMAKE_COMMAND} --build ${WORK_DIR}/example)
  run(${CMAKE_COMMAND} --install ${WORK_DIR}/example)
  foreach(language German French Japanese Portuguese-BRA)
    foreach(domain editor viewer)
      set(file share/nls_example/${language}/LC_MESSAGES/${domain}.mo)
      if(NOT EXISTS ${WORK_DIR}/example-prefix/${file})
        message(FATAL_ERROR "nls_add_catalogs did not install ${file}")
      endif()
    endforeach()
  endforeach()
  foreach(program ${WORK_DIR}/example/nls_example ${WORK_DIR}/example-prefix/bin/nls_example)
    execute_process(COMMAND ${program} --dir ${WORK_DIR}/example-prefix/share/nls_example
                            --language pt_BR.UTF-8 --domain viewer Print
                    OUTPUT_VARIABLE printed COMMAND_ERROR_IS_FATAL ANY)
    if(NOT printed STREQUAL "Imprimir\n")
      message(FATAL_ERROR "${program} printed: ${printed}")
    endif()
  endforeach()

  # Without msgfmt the function stops the configuration with one clear message. Paths ignored so
  # that find_program finds none; the compiler and make are given, as they are found the same way.
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${NLS_SOURCE_DIR}/examples -B ${WORK_DIR}/no-msgfmt
                          -DCMAKE_PREFIX_PATH=${prefix} "-DCMAKE_IGNORE_PATH=/usr/bin;/bin"
                          -DCMAKE_CXX_COMPILER=${NLS_CXX} -DCMAKE_MAKE_PROGRAM=${NLS_MAKE}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(rc EQUAL 0 OR NOT out MATCHES "nls_add_catalogs: msgfmt not found")
    message(FATAL_ERROR "configured without msgfmt (${rc}):\n${out}")
  endif()
  return()
endif()

# What a user copies to a Windows machine: the installed bin/ folder, beside the programs.
set(bin ${WORK_DIR}/bin)
file(COPY ${prefix}/bin/ DESTINATION ${bin})
file(COPY ${WORK_DIR}/consumer/nls_consumer.exe DESTINATION ${bin})
run(${NLS_CXX} -std=c++17 ${NLS_SOURCE_DIR}/tests/install/consumer/main.cpp ${flags}
    -o ${bin}/pc_consumer.exe)
file(GLOB modules ${bin}/*.dll ${bin}/*.exe)
file(GLOB shipped RELATIVE ${bin} ${bin}/*.dll)
string(TOLOWER "${shipped}" shipped)
set(system_dlls kernel32.dll advapi32.dll msvcrt.dll user32.dll)
foreach(module ${modules})
  execute_process(COMMAND ${NLS_OBJDUMP} -p ${module} OUTPUT_VARIABLE dump
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
  foreach(import ${imports})
    string(REGEX REPLACE "DLL Name: " "" dll "${import}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST system_dlls AND NOT dll IN_LIST shipped)
      message(FATAL_ERROR "${module} imports ${dll}, which is neither Windows' nor installed")
    endif()
  endforeach()
endforeach()
string(REPLACE "|" ";" emulator "${NLS_EMULATOR}")
run(${emulator} ${bin}/nls_consumer.exe)
run(${emulator} ${bin}/pc_consumer.exe)

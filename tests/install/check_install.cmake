# Puts the built library into a scratch tree, then builds and runs a small consumer against it
# twice: through find_package(nls) and through pkg-config; then builds the example program on its
# own against it, its catalogues through nls_add_catalogs and the installed nls-catalog, and
# installs and runs it. MODE "install" runs cmake --install;
# MODE "package" runs cpack -G DEB and unpacks both packages with dpkg-deb -x, as apt would
# install them, but into the scratch tree.
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

foreach(file include/nls/nlsLoadedDomain.h include/platform/utString.h include/platform/apExport.h
             lib/libnls.so lib/cmake/nls/nlsConfig.cmake lib/cmake/nls/nlsCatalogs.cmake
             lib/pkgconfig/nls.pc bin/nls-catalog)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
foreach(file include/nls/nlsInternal.h include/nls/nlsLocaleInfo.h include/platform/posix)
  if(EXISTS ${prefix}/${file})
    message(FATAL_ERROR "installed but internal: ${file}")
  endif()
endforeach()

run(${CMAKE_COMMAND} -S ${NLS_SOURCE_DIR}/tests/install/consumer -B ${WORK_DIR}/consumer
    -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
set(ENV{LD_LIBRARY_PATH} ${prefix}/lib)
run(${WORK_DIR}/consumer/nls_consumer)

find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs nls OUTPUT_VARIABLE flags
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(flags UNIX_COMMAND "${flags}")
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
                        -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_MAKE_PROGRAM=${MAKE}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc EQUAL 0 OR NOT out MATCHES "nls_add_catalogs: msgfmt not found")
  message(FATAL_ERROR "configured without msgfmt (${rc}):\n${out}")
endif()

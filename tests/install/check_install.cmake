# Installs the built library into a scratch prefix, then builds and runs a small consumer
# against it twice: through find_package(nls) and through pkg-config.
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}")
  endif()
endfunction()

run(${CMAKE_COMMAND} --install ${NLS_BINARY_DIR} --prefix ${prefix})
foreach(file include/nls/nlsLoadedDomain.h include/platform/utString.h include/platform/apExport.h
             lib/libnls.so lib/cmake/nls/nlsConfig.cmake lib/pkgconfig/nls.pc)
  if(NOT EXISTS ${prefix}/${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

run(${CMAKE_COMMAND} -S ${NLS_SOURCE_DIR}/tests/install/consumer -B ${WORK_DIR}/consumer
    -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${WORK_DIR}/consumer/nls_consumer)

find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs nls OUTPUT_VARIABLE flags
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(c++ -std=c++17 ${NLS_SOURCE_DIR}/tests/install/consumer/main.cpp ${flags}
    -Wl,-rpath,${prefix}/lib -o ${WORK_DIR}/pc_consumer)
run(${WORK_DIR}/pc_consumer)

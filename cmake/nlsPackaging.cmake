# Debian packages from the build folder: `cpack -G DEB` makes libnls<SOVERSION> (the shared
# library, stripped, with its SONAME link), libnls-dev (headers, the unversioned link, CMake
# package, nls.pc, nls-catalog) and libnls<SOVERSION>-dbgsym (the library's debug information),
# one install component each. The library goes to the build's CMAKE_INSTALL_LIBDIR under /usr,
# the multiarch folder where the build has one (the top-level CMakeLists.txt).

# The debug component: the library's debug information where debuggers look for it by build ID,
# /usr/lib/debug/.build-id/xx/yyyy.debug. Only packages ask for it: a plain install leaves it out.
find_program(NLS_READELF NAMES ${CMAKE_READELF} readelf)
if(NOT WIN32 AND CMAKE_OBJCOPY AND NLS_READELF)
  set(NLS_DEBUG_COMPONENT debug)
  install(CODE "
    execute_process(COMMAND ${NLS_READELF} -n \"$<TARGET_FILE:nls>\" OUTPUT_VARIABLE notes)
    if(NOT notes MATCHES \"Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)\")
      message(FATAL_ERROR \"libnls has no build ID\")
    endif()
    set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/debug/.build-id/\${CMAKE_MATCH_1}\")
    file(MAKE_DIRECTORY \"\${dir}\")
    execute_process(COMMAND ${CMAKE_OBJCOPY} --only-keep-debug --compress-debug-sections
                            \"$<TARGET_FILE:nls>\" \"\${dir}/\${CMAKE_MATCH_2}.debug\"
                    COMMAND_ERROR_IS_FATAL ANY)
    " COMPONENT debug EXCLUDE_FROM_ALL)
endif()

set(CPACK_PACKAGE_NAME nls)
set(CPACK_PACKAGE_VENDOR "The nls authors")
set(CPACK_PACKAGE_CONTACT "The nls authors <nls@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL runtime development ${NLS_DEBUG_COMPONENT})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
# Dependencies from what the binaries link (dpkg-shlibdeps). nls-catalog links the library of the
# runtime package, which the system does not have yet: the build's copy stands in for it, and
# libnls-dev names its dependency on the runtime itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR})
# A shlibs file for packages built against this one; any later version of the same SONAME will do.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(nls_runtime_package libnls${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${nls_runtime_package})
# SQLite is loaded when the settings store is first used, so dpkg-shlibdeps cannot see it; 3.24
# brought the upsert the store writes with.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "libsqlite3-0 (>= 3.24)")
# The library cache is rebuilt by dpkg's trigger, once for all the packages of a run.
file(WRITE ${PROJECT_BINARY_DIR}/debian/triggers "activate-noawait ldconfig\n")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/triggers)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libnls-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "${nls_runtime_package} (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_DEBUG_PACKAGE_NAME ${nls_runtime_package}-dbgsym)
set(CPACK_DEBIAN_DEBUG_PACKAGE_SECTION debug)
set(CPACK_DEBIAN_DEBUG_PACKAGE_DEPENDS "${nls_runtime_package} (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "${PROJECT_DESCRIPTION} (shared library)")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "${PROJECT_DESCRIPTION} (development files)")
set(CPACK_COMPONENT_DEBUG_DESCRIPTION "${PROJECT_DESCRIPTION} (debug information)")
# Each package's /usr/share/doc/<package>/copyright and changelog.gz, and none from a build whose
# library folder is not the multiarch one.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/nlsDebianStage.cmake)
set(CPACK_NLS_LIBDIR ${CMAKE_INSTALL_LIBDIR})
if(EXISTS /etc/debian_version AND NOT CMAKE_CROSSCOMPILING)
  set(CPACK_NLS_MULTIARCH ${CMAKE_LIBRARY_ARCHITECTURE})
endif()
include(CPack)

# Run by CPack on the staged files before it builds the packages (CPACK_PRE_BUILD_SCRIPTS): for
# Debian, each package gets the /usr/share/doc/<package>/copyright and changelog.gz that every
# binary package must carry, and a build whose library folder is not the system's multiarch one
# (one configured for a prefix such as /opt/nls) makes none; other generators are left as they are.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
if(CPACK_NLS_MULTIARCH AND NOT CPACK_NLS_LIBDIR STREQUAL "lib/${CPACK_NLS_MULTIARCH}")
  message(FATAL_ERROR "Debian packages put the library in lib/${CPACK_NLS_MULTIARCH}, but this "
                      "build installs it in ${CPACK_NLS_LIBDIR}: configure the build for packages "
                      "with -DCMAKE_INSTALL_PREFIX=/usr")
endif()
string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC) # SOURCE_DATE_EPOCH, where set
foreach(component ${CPACK_COMPONENTS_ALL})
  string(TOUPPER ${component} name)
  set(package ${CPACK_DEBIAN_${name}_PACKAGE_NAME})
  set(doc ${CPACK_TEMPORARY_DIRECTORY}/${component}${CPACK_PACKAGING_INSTALL_PREFIX})
  set(doc ${doc}/share/doc/${package})
  file(MAKE_DIRECTORY ${doc})
  configure_file(${CPACK_RESOURCE_FILE_LICENSE} ${doc}/copyright COPYONLY)
  file(WRITE ${doc}/changelog "${CPACK_PACKAGE_NAME} (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium

  * Release ${CPACK_PACKAGE_VERSION}.

 -- ${CPACK_PACKAGE_CONTACT}  ${date}
")
  # -n: no name or time stamp in the header, so the file is the same on every build.
  execute_process(COMMAND gzip -9nf ${doc}/changelog COMMAND_ERROR_IS_FATAL ANY)
endforeach()

# Installation of the manual pages and the documents, and the Debian package.
# The programs install themselves from their own folders; this file adds what a user needs
# beside them: one section-1 page per program in ${CMAKE_INSTALL_MANDIR}/man1 and docs/ in
# ${CMAKE_INSTALL_DOCDIR}. `cpack -G DEB` in the build directory then builds the package.
include(GNUInstallDirs)

# The pages in man/ render as they stand (`man -l man/kova.1`). The installed copies carry the
# project version in their title line, so the version has one source: project().
set(kova_manual_pages kova ephdiag attdiag kovagen kovaexport kovareport)
set(kova_manual_build_dir ${PROJECT_BINARY_DIR}/man)
foreach(page IN LISTS kova_manual_pages)
  set(page_source ${PROJECT_SOURCE_DIR}/man/${page}.1)
  if(NOT EXISTS ${page_source})
    continue()
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page_source})
  file(READ ${page_source} page_text)
  string(REGEX REPLACE "\"kova [0-9][0-9.]*\"" "\"kova ${PROJECT_VERSION}\"" page_text "${page_text}")
  set(page_output ${kova_manual_build_dir}/${page}.1)
  # Rewritten only when it changed, so a reconfigure does not touch installed files' times.
  file(CONFIGURE OUTPUT ${page_output} CONTENT "${page_text}")
  install(FILES ${page_output} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The pages must render cleanly and keep up with the programs: every keyword kova lists and
# every option kovagen and kovaexport offer has to be described.
if(KOVA_BUILD_TESTS)
  find_program(KOVA_GROFF groff)
  set(page_check sh ${PROJECT_SOURCE_DIR}/man/check-pages.sh)
  foreach(page IN LISTS kova_manual_pages)
    if(KOVA_GROFF AND EXISTS ${PROJECT_SOURCE_DIR}/man/${page}.1)
      add_test(NAME manual_page_${page}_renders_without_warnings
               COMMAND ${page_check} renders ${PROJECT_SOURCE_DIR}/man/${page}.1)
    endif()
  endforeach()
  if(TARGET kova AND EXISTS ${PROJECT_SOURCE_DIR}/man/kova.1)
    add_test(NAME manual_page_kova_describes_every_keyword
             COMMAND ${page_check} kova-keywords $<TARGET_FILE:kova> ${PROJECT_SOURCE_DIR}/man/kova.1)
  endif()
  # The programs with long options list them in --help; their pages must describe each one.
  foreach(program kovagen kovaexport kovareport)
    if(TARGET ${program} AND EXISTS ${PROJECT_SOURCE_DIR}/man/${program}.1)
      add_test(NAME manual_page_${program}_describes_every_option
               COMMAND ${page_check} help-options $<TARGET_FILE:${program}> ${PROJECT_SOURCE_DIR}/man/${program}.1)
    endif()
  endforeach()
endif()

if(EXISTS ${PROJECT_SOURCE_DIR}/docs)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}
          FILES_MATCHING PATTERN "*.md")
endif()

# Debian package: kova_<version>_<arch>.deb with the five programs, their pages and docs/.
set(CPACK_PACKAGE_NAME kova)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "kova developers")
set(CPACK_PACKAGE_CONTACT "kova developers <kova@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "turns recorded spacecraft navigation telemetry into ephemeris and attitude files")
set(CPACK_PACKAGE_DESCRIPTION
    "kova reads a recorded file of spacecraft telemetry packets and turns the on-board \
navigation solution of its navigation packets into two big-endian binary products: an \
ephemeris file (time, position, velocity and quality flags at one-second steps, with one \
orbit metadata record per revolution, orbit numbers and node times from a NORAD two-line \
element set) and an attitude file (three attitude angles relative to the orbital frame and \
the body rates). Short gaps are filled by interpolation, long gaps flagged.

The package also holds ephdiag and attdiag, which dump the two files as text; kovaexport, \
which writes a pass as CCSDS orbit and attitude ephemeris messages (OEM, AEM) for other \
tools; kovareport, which reports on a pass before it is processed (packets by APID, sequence \
breaks, gaps and fills, duplicates, attitude quality, the element set, and the model's node \
times beside the crossings measured in the data) as text, JSON and a self-contained \
quick-look web page; and kovagen, a generator of synthetic telemetry for trying pipelines out.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "kova developers <kova@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The programs need only the C and C++ runtimes of the g++ 12 toolchain they are built with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= 2.34), libstdc++6 (>= 12)")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# `cpack --config CPackSourceConfig.cmake` builds a source archive without build trees.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/examples/out/")

if(KOVA_SANITIZE)
  message(STATUS "kova: packages built from this sanitizer build are for testing only")
endif()

include(CPack)

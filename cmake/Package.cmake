# The release zip, made by `cmake --build --preset windows --target package`:
# QuilConfig-<version>-win32.zip with QuilConfig.exe, redirect.exe and ReadMe.txt at its top.
# The version is the one the programs' version resources carry (resources/Version.h); ReadMe.txt
# is the README's section for Windows users as plain text with Windows line ends.

set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/resources/Version.h ${PROJECT_SOURCE_DIR}/README.md)

file(STRINGS ${PROJECT_SOURCE_DIR}/resources/Version.h QUIL_VERSION_LINE
  REGEX "^#define QUIL_VERSION_TEXT \"[^\"]+\"")
string(REGEX REPLACE "^#define QUIL_VERSION_TEXT \"([^\"]+)\".*" "\\1" QUIL_VERSION
  "${QUIL_VERSION_LINE}")
if(NOT QUIL_VERSION MATCHES "^[0-9.]+$")
  message(FATAL_ERROR "resources/Version.h defines no QUIL_VERSION_TEXT")
endif()

# The section runs from its heading to the next heading of the same level.
set(QUIL_USER_HEADING "## For Windows users\n")
file(READ ${PROJECT_SOURCE_DIR}/README.md QUIL_README)
string(FIND "${QUIL_README}" "${QUIL_USER_HEADING}" QUIL_SECTION_START)
if(QUIL_SECTION_START LESS 0)
  message(FATAL_ERROR "README.md has no section \"${QUIL_USER_HEADING}\"")
endif()
string(LENGTH "${QUIL_USER_HEADING}" QUIL_HEADING_LENGTH)
math(EXPR QUIL_SECTION_START "${QUIL_SECTION_START} + ${QUIL_HEADING_LENGTH}")
string(SUBSTRING "${QUIL_README}" ${QUIL_SECTION_START} -1 QUIL_USER_TEXT)
string(FIND "${QUIL_USER_TEXT}" "\n## " QUIL_SECTION_END)
string(SUBSTRING "${QUIL_USER_TEXT}" 0 ${QUIL_SECTION_END} QUIL_USER_TEXT)
string(REPLACE "`" "" QUIL_USER_TEXT "${QUIL_USER_TEXT}")
string(STRIP "${QUIL_USER_TEXT}" QUIL_USER_TEXT)
set(QUIL_USER_TEXT "QuilConfig ${QUIL_VERSION}: the settings utility of the Quil skin, and \
redirect, its launcher.\n\n${QUIL_USER_TEXT}\n")
string(REPLACE "\n" "\r\n" QUIL_USER_TEXT "${QUIL_USER_TEXT}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/package/ReadMe.txt CONTENT "@QUIL_USER_TEXT@" @ONLY)

# The zip's programs carry no debug information (the static runtime's DWARF is most of a built
# program). It stays beside the build, in debug/<program>.debug, which the stripped copy in
# package/ names in its .gnu_debuglink, so that a debugger finds it for a released program.
set(QUIL_RELEASE_PROGRAMS "")
foreach(program QuilConfig redirect)
  set(debug ${CMAKE_BINARY_DIR}/debug/${program}.exe.debug)
  set(stripped ${CMAKE_BINARY_DIR}/package/${program}.exe)
  add_custom_command(OUTPUT ${stripped} ${debug}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/debug
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${program}> ${debug}
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${debug} $<TARGET_FILE:${program}>
      ${stripped}
    DEPENDS ${program} VERBATIM)
  list(APPEND QUIL_RELEASE_PROGRAMS ${stripped})
  install(PROGRAMS ${stripped} DESTINATION .)
endforeach()
add_custom_target(release-programs ALL DEPENDS ${QUIL_RELEASE_PROGRAMS})
install(FILES ${CMAKE_BINARY_DIR}/package/ReadMe.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME QuilConfig)
set(CPACK_PACKAGE_VERSION ${QUIL_VERSION})
set(CPACK_PACKAGE_FILE_NAME QuilConfig-${QUIL_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)

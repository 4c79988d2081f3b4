# Install rules: the shared library, its header, the command-line host and its manual page,
# a CMake package (find_package(kxcalc) -> kxcalc::kxcalc) and a pkg-config file.
#
# Components: "runtime" holds what a user of the program needs (the versioned library,
# kxcalc, the manual page); "development" adds what a program that embeds the library needs.
include(CMakePackageConfigHelpers)

set(KXCALC_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/kxcalc"
    CACHE STRING "Where the CMake package files of kxcalc are installed, relative to the prefix")

install(TARGETS kxcalc EXPORT kxcalcTargets
  LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT runtime NAMELINK_COMPONENT development
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT runtime
  ARCHIVE DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT development)
# The license, in the form and place that Debian gives it: share/doc/kxcalc/copyright.
install(FILES "${CMAKE_CURRENT_LIST_DIR}/debian/copyright"
  DESTINATION "${CMAKE_INSTALL_DOCDIR}" COMPONENT runtime)
install(FILES "${PROJECT_SOURCE_DIR}/include/kx_calc.h"
  DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}" COMPONENT development)

install(EXPORT kxcalcTargets NAMESPACE kxcalc::
  DESTINATION "${KXCALC_INSTALL_CMAKEDIR}" COMPONENT development)
configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/kxcalcConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/kxcalcConfig.cmake"
  INSTALL_DESTINATION "${KXCALC_INSTALL_CMAKEDIR}")
# The one C function is the whole interface; it changes incompatibly only with the major version.
write_basic_package_version_file("${PROJECT_BINARY_DIR}/kxcalcConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/kxcalcConfig.cmake" "${PROJECT_BINARY_DIR}/kxcalcConfigVersion.cmake"
  DESTINATION "${KXCALC_INSTALL_CMAKEDIR}" COMPONENT development)

# The same targets for a consumer that points CMAKE_PREFIX_PATH at this build tree.
export(EXPORT kxcalcTargets NAMESPACE kxcalc:: FILE "${PROJECT_BINARY_DIR}/kxcalcTargets.cmake")

# The pkg-config file names the prefix that the files are installed under. That prefix is
# known only when installing (cmake --install --prefix, or the packaging prefix of cpack), so
# the file is written then.
install(CODE "
  set(KXCALC_PC_TEMPLATE \"${CMAKE_CURRENT_LIST_DIR}/kxcalc.pc.in\")
  set(KXCALC_PC_OUTPUT_ROOT \"${PROJECT_BINARY_DIR}/pkgconfig\")
  set(KXCALC_PC_LIBDIR \"${CMAKE_INSTALL_LIBDIR}\")
  set(KXCALC_PC_INCLUDEDIR \"${CMAKE_INSTALL_INCLUDEDIR}\")
  set(KXCALC_PC_VERSION \"${PROJECT_VERSION}\")
  set(KXCALC_PC_DESCRIPTION \"${PROJECT_DESCRIPTION}\")
  include(\"${CMAKE_CURRENT_LIST_DIR}/KxcalcWritePkgConfig.cmake\")
" COMPONENT development)

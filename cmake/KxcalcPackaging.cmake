# CPack: `cpack -G DEB` (or TGZ) from the build tree packs everything that `cmake --install`
# puts in place. Configure with -DCMAKE_INSTALL_PREFIX=/usr to get Debian's multiarch
# library directory (/usr/lib/<triplet>); the package always installs under /usr.
set(CPACK_PACKAGE_NAME "kxcalc")
set(CPACK_PACKAGE_VENDOR "kxcalc maintainers")
set(CPACK_PACKAGE_CONTACT "kxcalc maintainers <maintainers@kxcalc.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "A calculator for expressions over complex numbers: the shared library libkxcalc, with its one
C function kx_calc and its CMake and pkg-config files, and kxcalc, the command-line calculator.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RPM_PACKAGE_LICENSE "MIT")  # an SPDX identifier
set(CPACK_PACKAGE_INSTALL_DIRECTORY "kxcalc")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/" "/out/")

set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "math")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The library's dependencies (the C and C++ runtimes, readline for the host) are read off
# the binaries by dpkg-shlibdeps when it is installed.
find_program(KXCALC_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(KXCALC_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
# ldconfig after installing and removing a shared library.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)

include(CPack)

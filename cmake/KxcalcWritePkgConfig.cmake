# Runs at install time (from install(CODE)): writes kxcalc.pc for the prefix in force now and
# installs it into <libdir>/pkgconfig. Directories given relative are taken under the prefix.
foreach(kind LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${KXCALC_PC_${kind}}")
    set(KXCALC_PC_FULL_${kind} "${KXCALC_PC_${kind}}")
  else()
    set(KXCALC_PC_FULL_${kind} "\${prefix}/${KXCALC_PC_${kind}}")
  endif()
endforeach()
set(KXCALC_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
# One file per destination, so that installs into different places (cpack's among them) may
# run at once.
string(MD5 destination "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
set(KXCALC_PC_OUTPUT "${KXCALC_PC_OUTPUT_ROOT}/${destination}/kxcalc.pc")
configure_file("${KXCALC_PC_TEMPLATE}" "${KXCALC_PC_OUTPUT}" @ONLY)

if(IS_ABSOLUTE "${KXCALC_PC_LIBDIR}")
  set(pkgconfigDir "${KXCALC_PC_LIBDIR}/pkgconfig")
else()
  set(pkgconfigDir "${CMAKE_INSTALL_PREFIX}/${KXCALC_PC_LIBDIR}/pkgconfig")
endif()
file(INSTALL DESTINATION "${pkgconfigDir}" TYPE FILE FILES "${KXCALC_PC_OUTPUT}")

# Installation: the two tools, the width and text libraries with their
# headers and pkg-config files, the man pages, and the CMake package that imports them.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/KarvoBuildTools)
# Two export sets, so that a cross build can take the generators from a
# host installation and build the width library for its target.
set(generators "")
foreach(target kwhashgen chkprotogen)
  if(TARGET ${target})
    list(APPEND generators ${target})
  endif()
endforeach()
if(generators)
  install(TARGETS ${generators} EXPORT KarvoBuildToolsGenerators
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(EXPORT KarvoBuildToolsGenerators NAMESPACE Karvo:: DESTINATION ${package_dir})
endif()
if(TARGET wcwidthtab)
  # The headers: wcwidthtab.h as configured for the table's Unicode version,
  # the header-only UTF-8 helper, and the text library's wcwidthtab_text.h.
  # The text library links the width library, so both are in one export set.
  set(width_libraries wcwidthtab)
  if(TARGET wcwidthtab_text)
    list(APPEND width_libraries wcwidthtab_text)
  endif()
  install(TARGETS ${width_libraries} EXPORT KarvoBuildToolsWidth
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    PUBLIC_HEADER DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  install(EXPORT KarvoBuildToolsWidth NAMESPACE Karvo:: DESTINATION ${package_dir})
endif()

if(TARGET kwhashgen)
  install(FILES ${PROJECT_SOURCE_DIR}/man/kwhashgen.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
if(TARGET chkprotogen)
  install(FILES ${PROJECT_SOURCE_DIR}/man/chkprotogen.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
if(TARGET wcwidthtab)
  install(FILES ${PROJECT_SOURCE_DIR}/man/wcwidthtab.3 DESTINATION ${CMAKE_INSTALL_MANDIR}/man3)
  file(RELATIVE_PATH PC_PREFIX_FROM_PCDIR "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
  string(REGEX REPLACE "/$" "" PC_PREFIX_FROM_PCDIR "${PC_PREFIX_FROM_PCDIR}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/wcwidthtab.pc.in
    ${PROJECT_BINARY_DIR}/wcwidthtab.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/wcwidthtab.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()
if(TARGET wcwidthtab_text)
  install(FILES ${PROJECT_SOURCE_DIR}/man/wcwidthtab_text.3 DESTINATION ${CMAKE_INSTALL_MANDIR}/man3)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/wcwidthtab_text.pc.in
    ${PROJECT_BINARY_DIR}/wcwidthtab_text.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/wcwidthtab_text.pc
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/KarvoBuildToolsConfig.cmake.in
  ${PROJECT_BINARY_DIR}/KarvoBuildToolsConfig.cmake
  INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/KarvoBuildToolsConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/KarvoBuildToolsConfig.cmake
  ${PROJECT_BINARY_DIR}/KarvoBuildToolsConfigVersion.cmake
  ${PROJECT_SOURCE_DIR}/cmake/KarvoGenerate.cmake
  ${PROJECT_SOURCE_DIR}/cmake/KarvoRunFilter.cmake
  DESTINATION ${package_dir})

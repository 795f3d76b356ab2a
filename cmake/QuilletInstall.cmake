# Installing and packaging: the library, its headers, a CMake package
# (find_package(Quillet)), a pkg-config file and the Debian packages
# libquillet1 (run time) and libquillet-dev (building against it).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# Whatever installs without naming a component (the command line, the
# Designer plugin) belongs to the run-time package.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME runtime)
set(QUILLET_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Quillet)
set(QUILLET_PKGCONFIG_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

install(TARGETS Quillet EXPORT QuilletTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT development
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/quillet DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)
install(FILES ${PROJECT_BINARY_DIR}/include/quillet/quillet_export.h
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/quillet COMPONENT development)
install(EXPORT QuilletTargets NAMESPACE Quillet:: DESTINATION ${QUILLET_CMAKE_DIR} COMPONENT development)

configure_package_config_file(cmake/QuilletConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/QuilletConfig.cmake
    INSTALL_DESTINATION ${QUILLET_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QuilletConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/QuilletConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/QuilletConfigVersion.cmake
    DESTINATION ${QUILLET_CMAKE_DIR} COMPONENT development)

# quillet.pc finds its prefix from its own folder, so the same file works
# under /usr, /usr/local or cmake --install --prefix anywhere.
file(RELATIVE_PATH QUILLET_PKGCONFIG_TO_PREFIX /prefix/${QUILLET_PKGCONFIG_DIR} /prefix)
configure_file(cmake/quillet.pc.in ${CMAKE_CURRENT_BINARY_DIR}/quillet.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quillet.pc DESTINATION ${QUILLET_PKGCONFIG_DIR} COMPONENT development)

set(CPACK_PACKAGE_NAME quillet)
set(CPACK_PACKAGE_VENDOR "Quillet developers")
set(CPACK_PACKAGE_CONTACT "Quillet developers <quillet@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Debug information stays in the build; the packages carry stripped binaries.
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL runtime development)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libquillet${QUILLET_SOVERSION})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libquillet-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
# The development files name Qt's CMake packages and pkg-config files, which
# come with qt6-base-dev.
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS
    "libquillet${QUILLET_SOVERSION} (= ${PROJECT_VERSION}), qt6-base-dev")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "${PROJECT_DESCRIPTION}: library, its translations, Qt Designer plugin and command line")
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "${PROJECT_DESCRIPTION}: headers, CMake and pkg-config files")
include(CPack)

include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS Quillet EXPORT QuilletTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY include/quillet DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT QuilletTargets NAMESPACE Quillet:: DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Quillet)

configure_package_config_file(cmake/QuilletConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/QuilletConfig.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Quillet)
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/QuilletConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/QuilletConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/QuilletConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/Quillet)

# Each folder of the library builds as a target of its own, with the folders
# it depends on declared beside it. What a folder may include follows from
# that: its own headers, those of the folders it DEPENDS on, the single
# INTERFACE_HEADERS named, base/ (header-only helpers every folder may use),
# and the public ones (quillet/) only when it is PUBLIC_API, the folders that
# implement or use the component's interface. A
# check runs before the folder compiles, so an include against the arrows
# fails the build. A VARIANT names one subfolder whose files join the folder's
# (the build's choice among several implementations of one interface).
set(QUILLET_PROJECT_TOPS base spool compose render find platform widgets print preview control capi quillet cli)

function(quillet_folder folder)
    cmake_parse_arguments(PARSE_ARGV 1 arg "QT;PUBLIC_API" "VARIANT" "DEPENDS;INTERFACE_HEADERS")
    set(globs ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    if(arg_VARIANT)
        list(APPEND globs ${PROJECT_SOURCE_DIR}/${folder}/${arg_VARIANT}/*.cpp
             ${PROJECT_SOURCE_DIR}/${folder}/${arg_VARIANT}/*.h)
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${globs})
    # One implementation of the core's file layer is built: Win32's or POSIX's.
    if(WIN32)
        list(FILTER sources EXCLUDE REGEX "Posix\\.cpp$")
    else()
        list(FILTER sources EXCLUDE REGEX "Win32\\.cpp$")
    endif()
    # In the core, only that layer includes the operating system's headers.
    set(system_files "")
    if(NOT arg_QT)
        set(system_files "/spool/SystemFile[A-Za-z0-9]*[.]cpp$")
    endif()
    set(target quillet_${folder})
    add_library(${target} OBJECT ${sources})
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}> $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>
        $<BUILD_INTERFACE:${PROJECT_BINARY_DIR}/include>)
    # The export macro's switch (see the Quillet target's DEFINE_SYMBOL).
    target_compile_definitions(${target} PRIVATE QUILLET_BUILDING_LIBRARY)
    if(arg_QT)
        set_target_properties(${target} PROPERTIES AUTOMOC ON)
        target_link_libraries(${target} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
    endif()

    set(allowed ${folder} base ${arg_DEPENDS})
    if(arg_PUBLIC_API)
        list(APPEND allowed quillet)
    endif()
    # The folder's rules, read by the check here and by the test that plants
    # a back edge; rewritten only when they change.
    set(rules ${PROJECT_BINARY_DIR}/layering/${folder}.rules.cmake)
    file(CONFIGURE OUTPUT ${rules} CONTENT [[
set(FOLDER "@folder@")
set(ALLOWED "@allowed@")
set(INTERFACE_HEADERS "@arg_INTERFACE_HEADERS@")
set(PROJECT_TOPS "@QUILLET_PROJECT_TOPS@")
set(SOURCES "@sources@")
set(SYSTEM_FILES "@system_files@")
]] @ONLY)
    set(stamp ${PROJECT_BINARY_DIR}/layering/${folder}.checked)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DRULES=${rules} -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayering.cmake
        DEPENDS ${sources} ${rules} ${PROJECT_SOURCE_DIR}/cmake/CheckLayering.cmake
        COMMENT "Checking what ${folder}/ includes"
        VERBATIM)
    add_custom_target(${target}_layering DEPENDS ${stamp})
    add_dependencies(${target} ${target}_layering)
endfunction()

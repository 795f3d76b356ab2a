# Each folder of the library builds as a target of its own, with the folders
# it depends on declared beside it. What a folder may include follows from
# that: its own headers, the public ones, those of the folders it DEPENDS on
# and the single INTERFACE_HEADERS named. A check runs before the folder
# compiles, so an include against the arrows fails the build.
function(quillet_folder folder)
    cmake_parse_arguments(PARSE_ARGV 1 arg "QT" "" "DEPENDS;INTERFACE_HEADERS")
    file(GLOB sources CONFIGURE_DEPENDS
        ${PROJECT_SOURCE_DIR}/${folder}/*.cpp ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    set(target quillet_${folder})
    add_library(${target} OBJECT ${sources})
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}> $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}/include>)
    if(arg_QT)
        set_target_properties(${target} PROPERTIES AUTOMOC ON)
        target_link_libraries(${target} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets Qt6::PrintSupport)
    endif()

    # Lists travel to the check joined by "|": a ";" would split the command.
    string(JOIN "|" allowed ${folder} quillet ${arg_DEPENDS})
    string(JOIN "|" interfaces ${arg_INTERFACE_HEADERS})
    string(JOIN "|" checked ${sources})
    set(stamp ${PROJECT_BINARY_DIR}/layering/${folder}.checked)
    add_custom_command(OUTPUT ${stamp}
        COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DALLOWED=${allowed} -DINTERFACE_HEADERS=${interfaces}
                -DSOURCES=${checked} -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/CheckLayering.cmake
        DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/CheckLayering.cmake
        COMMENT "Checking what ${folder}/ includes"
        VERBATIM)
    add_custom_target(${target}_layering DEPENDS ${stamp})
    add_dependencies(${target} ${target}_layering)
endfunction()

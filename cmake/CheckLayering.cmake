# Run by quillet_folder(): fails when a file of FOLDER (its SOURCES, and the
# PLANTED ones a test adds) includes, in either form, a header of the project
# (a path under one of PROJECT_TOPS) from a folder that is not in ALLOWED and
# is not one of the INTERFACE_HEADERS; touches STAMP otherwise. The lists come
# from the RULES file. Headers of other projects (<QtCore/qglobal.h>) are not
# the check's business, except the operating system's (<unistd.h>,
# <windows.h>): where SYSTEM_FILES is set, only the files it matches (the
# core's file layer) may include those.
cmake_minimum_required(VERSION 3.25)
include("${RULES}")
set(include_line "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
set(system_header "^(unistd|fcntl|dirent|windows|aclapi|sddl|io|direct)[.]h$|^sys/")
set(against "")
foreach(source IN LISTS SOURCES PLANTED)
    file(STRINGS "${source}" includes REGEX "${include_line}")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "${include_line}.*" "\\1" header "${line}")
        string(REGEX REPLACE "/.*" "" top "${header}")
        if(header MATCHES "/" AND top IN_LIST PROJECT_TOPS AND NOT top IN_LIST ALLOWED
           AND NOT header IN_LIST INTERFACE_HEADERS)
            string(APPEND against "  ${source} includes ${header}\n")
        endif()
        if(SYSTEM_FILES AND header MATCHES "${system_header}" AND NOT source MATCHES "${SYSTEM_FILES}")
            string(APPEND against "  ${source} includes the system header ${header}: only the file layer may\n")
        endif()
    endforeach()
endforeach()
if(against)
    list(JOIN ALLOWED ", " readable)
    message(FATAL_ERROR "${FOLDER}/ may include only from ${readable}:\n${against}")
endif()
# Beside RULES: the folder exists, whichever generator builds (Make creates
# none for a command's output).
file(TOUCH "${STAMP}")

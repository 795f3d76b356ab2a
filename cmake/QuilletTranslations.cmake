# The component's texts in other languages than its own (Portuguese): one
# translations/quillet_<language>.ts each, compiled by lrelease into the
# library as resources under :/quillet/translations, so a host needs nothing
# beside the library, and installed for packagers too. The target
# update_translations reads the sources again into every .ts file.
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)
include(GNUInstallDirs)

set(QUILLET_TRANSLATIONS translations/quillet_en.ts)
# The folders whose windows show texts (the core shows none), with every
# variant of platform/, whichever this build compiles.
set(QUILLET_TRANSLATED_FOLDERS platform platform/cups platform/qprinter widgets print preview control)
list(TRANSFORM QUILLET_TRANSLATED_FOLDERS APPEND "/*.[ch]*" OUTPUT_VARIABLE QUILLET_TRANSLATED_GLOBS)
file(GLOB QUILLET_TRANSLATED_SOURCES CONFIGURE_DEPENDS ${QUILLET_TRANSLATED_GLOBS})

qt_add_translations(quillet_translations
    TS_FILES ${QUILLET_TRANSLATIONS}
    SOURCES ${QUILLET_TRANSLATED_SOURCES}
    RESOURCE_PREFIX /quillet/translations
    # No line numbers: a .ts changes only when a text does.
    LUPDATE_OPTIONS -locations none)

# lrelease writes each .qm into this folder, named after its .ts.
list(TRANSFORM QUILLET_TRANSLATIONS REPLACE "^translations/(.+)\\.ts$" "${CMAKE_CURRENT_BINARY_DIR}/\\1.qm"
     OUTPUT_VARIABLE QUILLET_QM_FILES)
install(FILES ${QUILLET_QM_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/quillet/translations COMPONENT runtime)

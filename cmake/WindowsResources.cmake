# The resources every Windows executable of the project carries: the icon drawn by tools/artgen
# (resources/icons/nixie.ico), version information and a manifest, through a resource script made
# from cmake/Program.rc.in and cmake/Program.manifest.in.

# nixie_windows_resources(TARGET FILE IDENTITY DESCRIPTION): FILE is the executable's name without
# .exe, IDENTITY the last part of its assembly name, DESCRIPTION what Windows shows for it.
function(nixie_windows_resources TARGET FILE IDENTITY DESCRIPTION)
    enable_language(RC)
    set(RC_FILE ${FILE})
    set(RC_IDENTITY ${IDENTITY})
    set(RC_DESCRIPTION ${DESCRIPTION})
    set(RC_VERSION ${PROJECT_VERSION}.0)
    string(REPLACE "." ", " RC_VERSION_COMMAS ${RC_VERSION})
    set(RC_ICON ${CMAKE_SOURCE_DIR}/resources/icons/nixie.ico)
    set(RC_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${FILE}.manifest)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/Program.manifest.in ${RC_MANIFEST} @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/cmake/Program.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${FILE}.rc
                   @ONLY)
    target_sources(${TARGET} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${FILE}.rc)
    set_property(SOURCE ${CMAKE_CURRENT_BINARY_DIR}/${FILE}.rc APPEND PROPERTY OBJECT_DEPENDS
                 ${RC_MANIFEST} ${RC_ICON})
endfunction()

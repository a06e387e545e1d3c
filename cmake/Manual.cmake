# The user's manual, doc/divaduva.html with its pictures in doc/divaduva/, copied beside an
# executable: the clock's "Users Manual" command looks for the page beside the program (after the
# folder it was started from and the current folder), so a build tree has it where it is needed.
# The copy is a target of its own that the executable depends on, so a changed page or picture is
# copied again on the next build even when the executable itself is up to date. (A plain copy, not
# copy_if_different: the copies must come out newer than their sources, or a page touched without
# a change would be copied again on every build.)

set(NIXIE_MANUAL_PAGE ${CMAKE_SOURCE_DIR}/doc/divaduva.html)
file(GLOB NIXIE_MANUAL_PICTURES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/doc/divaduva/*.png)

# nixie_manual_beside(TARGET): divaduva.html and divaduva/*.png in TARGET's output folder.
function(nixie_manual_beside TARGET)
    get_target_property(DIR ${TARGET} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT DIR)
        get_target_property(DIR ${TARGET} BINARY_DIR)
    endif()
    set(OUTPUTS ${DIR}/divaduva.html)
    set(COMMANDS COMMAND ${CMAKE_COMMAND} -E copy ${NIXIE_MANUAL_PAGE} ${DIR}/)
    if(NIXIE_MANUAL_PICTURES)
        list(APPEND COMMANDS COMMAND ${CMAKE_COMMAND} -E make_directory ${DIR}/divaduva
                             COMMAND ${CMAKE_COMMAND} -E copy ${NIXIE_MANUAL_PICTURES}
                                     ${DIR}/divaduva/)
        foreach(PICTURE IN LISTS NIXIE_MANUAL_PICTURES)
            get_filename_component(NAME ${PICTURE} NAME)
            list(APPEND OUTPUTS ${DIR}/divaduva/${NAME})
        endforeach()
    endif()
    add_custom_command(OUTPUT ${OUTPUTS} ${COMMANDS}
                       DEPENDS ${NIXIE_MANUAL_PAGE} ${NIXIE_MANUAL_PICTURES}
                       COMMENT "Copying the user's manual beside ${TARGET}" VERBATIM)
    add_custom_target(${TARGET}_manual ALL DEPENDS ${OUTPUTS})
    add_dependencies(${TARGET} ${TARGET}_manual)
endfunction()

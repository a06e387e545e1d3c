cmake_minimum_required(VERSION 3.25)
# Checks the user's manual as the build lays it out beside the clock (cmake -P):
#   -DPAGE_DIR=   the folder holding the copied divaduva.html and divaduva/ (the clock's folder)
#   -DSOURCE_DIR= the source tree (doc/divaduva.html, doc/divaduva/, tools/manual-pictures.sh)
#   -DSNAPSHOT=   the snapshot tool, and -DWORK= a scratch folder for the pictures it draws
# Fails when the page refers to a picture that is not beside it, when a committed picture is not
# shown on the page, when the copy beside the clock differs from the source, or when the
# committed pictures are no longer what the clock draws (remake them: bash tools/manual-pictures.sh).

set(PAGE ${PAGE_DIR}/divaduva.html)
if(NOT EXISTS ${PAGE})
    message(FATAL_ERROR "no manual beside the clock: ${PAGE}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${PAGE} ${SOURCE_DIR}/doc/divaduva.html
                RESULT_VARIABLE DIFFERENT)
if(DIFFERENT)
    message(FATAL_ERROR "${PAGE} differs from doc/divaduva.html: the build did not copy it again")
endif()

file(READ ${PAGE} TEXT)
string(REGEX MATCHALL "src=\"[^\"]*\"" SOURCES "${TEXT}")
set(SHOWN)
set(ERRORS)
foreach(SRC IN LISTS SOURCES)
    string(REGEX REPLACE "^src=\"(.*)\"$" "\\1" SRC "${SRC}")
    if(NOT SRC MATCHES "^divaduva/[A-Za-z0-9_.-]+\\.png$")
        list(APPEND ERRORS "picture not in the folder divaduva/ beside the page: ${SRC}")
        continue()
    endif()
    get_filename_component(NAME ${SRC} NAME)
    list(APPEND SHOWN ${NAME})
    if(NOT EXISTS ${PAGE_DIR}/${SRC})
        list(APPEND ERRORS "picture missing beside the clock: ${PAGE_DIR}/${SRC}")
    else()
        execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${PAGE_DIR}/${SRC}
                                ${SOURCE_DIR}/doc/${SRC} RESULT_VARIABLE DIFFERENT)
        if(DIFFERENT)
            list(APPEND ERRORS "${PAGE_DIR}/${SRC} differs from doc/${SRC}")
        endif()
    endif()
endforeach()

file(GLOB COMMITTED RELATIVE ${SOURCE_DIR}/doc/divaduva ${SOURCE_DIR}/doc/divaduva/*.png)
if(NOT COMMITTED)
    list(APPEND ERRORS "no pictures in doc/divaduva/")
endif()
foreach(NAME IN LISTS COMMITTED)
    if(NOT NAME IN_LIST SHOWN)
        list(APPEND ERRORS "doc/divaduva/${NAME} is not shown on the page")
    endif()
endforeach()

# The pictures as the clock draws them now, by the script that made the committed ones.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -E env SNAPSHOT=${SNAPSHOT}
                        bash ${SOURCE_DIR}/tools/manual-pictures.sh ${WORK}
                RESULT_VARIABLE FAILED OUTPUT_QUIET ERROR_VARIABLE SCRIPT_ERRORS)
if(FAILED)
    list(APPEND ERRORS "tools/manual-pictures.sh failed: ${SCRIPT_ERRORS}")
else()
    file(GLOB DRAWN RELATIVE ${WORK} ${WORK}/*.png)
    if(NOT DRAWN STREQUAL COMMITTED)
        list(APPEND ERRORS "tools/manual-pictures.sh draws [${DRAWN}], doc/divaduva/ holds [${COMMITTED}]")
    endif()
    foreach(NAME IN LISTS DRAWN)
        execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${NAME}
                                ${SOURCE_DIR}/doc/divaduva/${NAME} RESULT_VARIABLE DIFFERENT)
        if(DIFFERENT)
            list(APPEND ERRORS "doc/divaduva/${NAME} is not what the clock draws now: bash tools/manual-pictures.sh")
        endif()
    endforeach()
endif()

if(ERRORS)
    list(JOIN ERRORS "\n  " MESSAGE)
    message(FATAL_ERROR "the user's manual:\n  ${MESSAGE}")
endif()
list(LENGTH SHOWN COUNT)
message(STATUS "the user's manual beside the clock shows ${COUNT} pictures, all as the clock draws them")

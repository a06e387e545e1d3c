# What `cmake --install` lays out and CPack packs: the clock, the hex editor program, the gallery
# and the user's manual. Windows: one folder holding the executables with the manual beside them
# (a zip and an NSIS installer with Start-menu shortcuts). Linux: bin/, the X11 port's font module
# in lib/nixie/, the manual in share/nixie/, .desktop files and the icon theme's pictures (a .deb).
# The programs look for the module and the manual beside themselves first, then in those places
# relative to their bin/, so both the build tree and an installed tree work.
if(NOT NIXIE_PROGRAMS)
    return()
endif()

set(NIXIE_ICON_SIZES 16 24 32 48 64)

if(WIN32)
    install(TARGETS nixie hexedit_program gallery RUNTIME DESTINATION .)
    install(FILES ${NIXIE_MANUAL_PAGE} DESTINATION .)
    install(FILES ${NIXIE_MANUAL_PICTURES} DESTINATION divaduva)
else()
    # Fixed folder names, not GNUInstallDirs (whose lib/ can be lib/<triplet>/): the programs find
    # the module and the manual from their own folder as ../lib/nixie/ and ../share/nixie/.
    install(TARGETS nixie RUNTIME DESTINATION bin)
    # Named apart from Debian's own hexedit program, whose /usr/bin/hexedit this would replace.
    install(PROGRAMS $<TARGET_FILE:hexedit_program> DESTINATION bin RENAME nixie-hexedit)
    install(PROGRAMS $<TARGET_FILE:gallery> DESTINATION bin RENAME nixie-gallery)
    # Files installed by name are not stripped with the targets (install --strip, CPack): do it.
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            foreach(PROGRAM nixie-hexedit nixie-gallery)
                execute_process(COMMAND \"${CMAKE_STRIP}\"
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/\${PROGRAM}\")
            endforeach()
        endif()")
    if(TARGET nixie_fonts)
        install(TARGETS nixie_fonts LIBRARY DESTINATION lib/nixie)
    endif()
    install(FILES ${NIXIE_MANUAL_PAGE} DESTINATION share/nixie)
    install(FILES ${NIXIE_MANUAL_PICTURES} DESTINATION share/nixie/divaduva)
    install(FILES ${CMAKE_SOURCE_DIR}/packaging/nixie.desktop
                  ${CMAKE_SOURCE_DIR}/packaging/nixie-hexedit.desktop
            DESTINATION share/applications)
    foreach(SIZE IN LISTS NIXIE_ICON_SIZES)
        install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/nixie-${SIZE}.png
                DESTINATION share/icons/hicolor/${SIZE}x${SIZE}/apps RENAME nixie.png)
    endforeach()
endif()

set(CPACK_PACKAGE_NAME nixie)
set(CPACK_PACKAGE_VENDOR "Velmora Software")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Velmora's Nixie Tube Clock, with a hex editor and a gallery of its controls")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://velmora.example/nixie/")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Nixie)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_THREADS 0)

if(WIN32)
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_NSIS_PACKAGE_NAME "Nixie Tube Clock")
    set(CPACK_NSIS_DISPLAY_NAME "Nixie Tube Clock")
    set(CPACK_NSIS_MUI_ICON ${CMAKE_SOURCE_DIR}/resources/icons/nixie.ico)
    set(CPACK_NSIS_MUI_UNIICON ${CMAKE_SOURCE_DIR}/resources/icons/nixie.ico)
    set(CPACK_NSIS_INSTALLED_ICON_NAME nixie.exe)
    set(CPACK_NSIS_URL_INFO_ABOUT ${CPACK_PACKAGE_HOMEPAGE_URL})
    # Start-menu shortcuts to the three programs and the manual, all in the installation folder.
    set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
    set(CPACK_PACKAGE_EXECUTABLES nixie "Nixie Tube Clock" hexedit "Hex Editor"
                                  gallery "Control Gallery")
    set(CPACK_NSIS_MENU_LINKS divaduva.html "Nixie Users Manual")
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    # The uninstaller also takes away the clock's start at login, which only the clock writes.
    set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS
        "DeleteRegValue HKCU 'Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run' 'QXRidivAzoza'")
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        # A 64-bit installer (NSIS's amd64 stub) for the 64-bit programs, into Program Files.
        set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
        set(CPACK_NSIS_DEFINES "Target amd64-unicode")
    else()
        set(CPACK_NSIS_DEFINES "Unicode true")
    endif()
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora Software <nixie@velmora.example>")
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Text needs a font; the manual opens through xdg-open.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core | fonts-liberation2, xdg-utils")
endif()

include(CPack)

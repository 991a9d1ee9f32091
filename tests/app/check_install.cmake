# Installs the build into a scratch prefix and checks that the dialog, its icon and its desktop
# file land where a freedesktop desktop finds them, with the product's identity in the entry.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${status}")
endif()
foreach(file bin/corvane
             share/icons/hicolor/48x48/apps/ostrel-corvane.png
             share/icons/hicolor/scalable/apps/ostrel-corvane.svg
             share/applications/ostrel-corvane.desktop
             share/ostrel-corvane/more-software.html)
    if(NOT EXISTS "${PREFIX}/${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()
execute_process(COMMAND test -x "${PREFIX}/bin/corvane" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "bin/corvane is not executable")
endif()
file(STRINGS "${PREFIX}/share/applications/ostrel-corvane.desktop" entry)
foreach(line "[Desktop Entry]" "Type=Application" "Exec=corvane %f" "Icon=ostrel-corvane"
             "X-Ostrel-Corvane-ProductName=Ostrel Corvane Application"
             "X-Ostrel-Corvane-Version=1.0.0.1")
    list(FIND entry "${line}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "desktop file lacks: ${line}")
    endif()
endforeach()
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
    execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/ostrel-corvane.desktop"
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "desktop-file-validate rejects the desktop file")
    endif()
endif()

# Installs the build twice, under DESTDIR with the prefix /usr (as the Debian package does) and into
# a scratch prefix, and checks that exactly the expected files land, that the programs run from
# there, and that the icon, manual pages and desktop entry are sound.
# Arguments: BUILD_DIR, SCRATCH, WITH_APP, VERSION.
set(expected
    bin/corvane-sum
    share/bash-completion/completions/corvane-sum
    share/doc/ostrel-corvane/changelog.gz
    share/doc/ostrel-corvane/copyright
    share/fish/vendor_completions.d/corvane-sum.fish
    share/man/man1/corvane-sum.1.gz)
if(WITH_APP)
    list(APPEND expected
        bin/corvane
        share/applications/ostrel-corvane.desktop
        share/icons/hicolor/48x48/apps/ostrel-corvane.png
        share/icons/hicolor/scalable/apps/ostrel-corvane.svg
        share/man/man1/corvane.1.gz
        share/metainfo/example.ostrel_corvane.corvane.metainfo.xml
        share/mime/packages/ostrel-corvane.xml
        share/nautilus-python/extensions/ostrel-corvane-nautilus.py
        share/kio/servicemenus/ostrel-corvane-verify.desktop
        share/kio/servicemenus/ostrel-corvane-compute.desktop
        share/nemo/actions/ostrel-corvane-verify.nemo_action
        share/nemo/actions/ostrel-corvane-compute.nemo_action
        share/ostrel-corvane/more-software.html)
endif()

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output
                    ERROR_VARIABLE output)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "failed (${status}): ${ARGN}\n${output}")
    endif()
    set(output "${output}" PARENT_SCOPE)
endfunction()

# Every file under `root`, against the expected list plus the zsh completion in `zshDir`.
function(check_tree root zshDir)
    file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
    set(want ${expected} share/zsh/${zshDir}/_corvane-sum)
    list(SORT found)
    list(SORT want)
    if(NOT found STREQUAL want)
        string(REPLACE ";" "\n  " found "${found}")
        string(REPLACE ";" "\n  " want "${want}")
        message(FATAL_ERROR "installed under ${root}:\n  ${found}\nexpected:\n  ${want}")
    endif()
endfunction()

file(REMOVE_RECURSE "${SCRATCH}")
run(${CMAKE_COMMAND} -E env DESTDIR=${SCRATCH}/destdir
    ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr)
check_tree("${SCRATCH}/destdir/usr" vendor-completions)
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${SCRATCH}/prefix)
check_tree("${SCRATCH}/prefix" site-functions)

set(root "${SCRATCH}/destdir/usr")
run("${root}/bin/corvane-sum" --version)
if(NOT output MATCHES "^corvane-sum \\(Ostrel Corvane\\) ${VERSION}\n")
    message(FATAL_ERROR "installed corvane-sum --version says: ${output}")
endif()
run("${root}/bin/corvane-sum" -a md5 -s abc)
if(NOT output MATCHES "^900150983cd24fb0d6963f7d28e17f72 ")
    message(FATAL_ERROR "installed corvane-sum -a md5 -s abc says: ${output}")
endif()
foreach(page corvane-sum corvane)
    if(EXISTS "${root}/share/man/man1/${page}.1.gz")
        run(gzip -dc "${root}/share/man/man1/${page}.1.gz")
        string(TOLOWER "${output}" output)
        if(NOT output MATCHES "\n\\.th \"?${page}\"? \"?1\"? ")
            message(FATAL_ERROR "${page}.1.gz is not the section 1 page of ${page}")
        endif()
    endif()
endforeach()

if(WITH_APP)
    run(test -x "${root}/bin/corvane")
    # The PNG header's width and height: the icon must be the size its folder names.
    file(READ "${root}/share/icons/hicolor/48x48/apps/ostrel-corvane.png" size
         OFFSET 16 LIMIT 8 HEX)
    if(NOT size STREQUAL "0000003000000030")
        message(FATAL_ERROR "the 48x48 icon measures ${size} (hex width, height)")
    endif()
    file(STRINGS "${root}/share/applications/ostrel-corvane.desktop" entry)
    foreach(line "Type=Application" "Icon=ostrel-corvane" "X-Ostrel-Corvane-Version=${VERSION}")
        list(FIND entry "${line}" found)
        if(found EQUAL -1)
            message(FATAL_ERROR "desktop file lacks: ${line}")
        endif()
    endforeach()
    if(NOT entry MATCHES "(^|;)Exec=corvane( |;|$)")
        message(FATAL_ERROR "desktop file does not start corvane")
    endif()
endif()

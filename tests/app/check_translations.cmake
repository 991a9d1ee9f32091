# The translations are complete and current: lupdate over the dialog's sources finds no text the
# .ts files lack or no longer need (run the update_translations target, then translate), and no
# translation is left unfinished.
# Arguments: LUPDATE, SOURCE_DIR (app/), SCRATCH.
file(REMOVE_RECURSE "${SCRATCH}")
file(GLOB originals "${SOURCE_DIR}/translations/*.ts")
file(COPY ${originals} DESTINATION "${SCRATCH}")
file(GLOB sources "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.h")
file(GLOB copies "${SCRATCH}/*.ts")
execute_process(COMMAND "${LUPDATE}" -silent -locations none -no-obsolete ${sources} -ts ${copies}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "lupdate failed: ${status}")
endif()
foreach(original ${originals})
    get_filename_component(name "${original}" NAME)
    file(READ "${original}" before)
    file(READ "${SCRATCH}/${name}" after)
    if(NOT before STREQUAL after)
        message(SEND_ERROR "${name} is not current: texts were added or removed in the sources")
    endif()
    string(FIND "${after}" "type=\"unfinished\"" unfinished)
    if(NOT unfinished EQUAL -1)
        message(SEND_ERROR "${name} has unfinished translations")
    endif()
endforeach()

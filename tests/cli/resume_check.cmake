# korvane-cli read cut by "Sim Unplug After", then read --resume --hash: the
# files equal those of an uninterrupted read, and sha256sum -c accepts the
# hash files. -DRUN -DCLI -DPROFILE -DFOLDER -DCLI_FOLDER as in
# hash_check.cmake, -DCMD the command set, -DUNPLUG the data bytes to cut at.
file(REMOVE_RECURSE ${FOLDER})
function(korvane_read folder expected)
    execute_process(COMMAND ${RUN} ${CLI} --simulate read --config ${PROFILE} --set Cmd=${CMD} --folder ${folder}
                            ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT status EQUAL expected)
        message(FATAL_ERROR "korvane-cli read ${ARGN} exited with ${status}, not ${expected}:\n${out}")
    endif()
endfunction()
korvane_read(${CLI_FOLDER}/whole 0 --yes)
korvane_read(${CLI_FOLDER}/resumed 1 --yes --set "Sim Unplug After=${UNPLUG}")
korvane_read(${CLI_FOLDER}/resumed 0 --resume --hash)
file(GLOB files RELATIVE ${FOLDER}/whole ${FOLDER}/whole/*.dump*)
foreach(name IN LISTS files)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${FOLDER}/whole/${name} ${FOLDER}/resumed/${name}
                    RESULT_VARIABLE differ)
    if(differ)
        message(FATAL_ERROR "${name} differs from the uninterrupted read")
    endif()
endforeach()
file(GLOB hashes RELATIVE ${FOLDER}/resumed ${FOLDER}/resumed/*.sha256)
list(LENGTH files count)
list(LENGTH hashes hash_count)
if(NOT hash_count EQUAL count)
    message(FATAL_ERROR "${count} hash files expected, found: ${hashes}")
endif()
execute_process(COMMAND sha256sum -c ${hashes} WORKING_DIRECTORY ${FOLDER}/resumed RESULT_VARIABLE status
                OUTPUT_VARIABLE checked ERROR_VARIABLE checked)
message("${checked}")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "sha256sum -c failed")
endif()

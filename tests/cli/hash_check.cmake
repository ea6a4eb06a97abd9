# korvane-cli read --hash on the demo chip, then sha256sum -c over the hash
# files it wrote: the binary as a user runs it, checked by the system's tool.
# -DRUN (the emulator of a cross build, or empty) -DCLI -DPROFILE -DFOLDER
# (as this machine names it) -DCLI_FOLDER (as the program names it).
file(REMOVE_RECURSE ${FOLDER})
execute_process(COMMAND ${RUN} ${CLI} read --config ${PROFILE} --folder ${CLI_FOLDER} --yes --hash
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "korvane-cli read --hash exited with ${status}")
endif()
file(GLOB hashes RELATIVE ${FOLDER} ${FOLDER}/*.sha256)
list(LENGTH hashes count)
if(NOT count EQUAL 4)
    message(FATAL_ERROR "4 hash files expected, found: ${hashes}")
endif()
execute_process(COMMAND sha256sum -c ${hashes} WORKING_DIRECTORY ${FOLDER} RESULT_VARIABLE status
                OUTPUT_VARIABLE checked ERROR_VARIABLE checked)
message("${checked}")
if(NOT status EQUAL 0)
    message(FATAL_ERROR "sha256sum -c failed")
endif()

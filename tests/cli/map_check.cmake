# korvane-cli read and map on the demo chip, then xmllint over the pictures:
# the binary as a user runs it, its SVG checked by an XML parser.
# -DRUN (the emulator of a cross build, or empty) -DCLI -DPROFILE -DFOLDER
# (as this machine names it) -DCLI_FOLDER (as the program names it).
file(REMOVE_RECURSE ${FOLDER})
foreach(command "read;--yes" "map")
    execute_process(COMMAND ${RUN} ${CLI} ${command} --config ${PROFILE} --folder ${CLI_FOLDER}
                    RESULT_VARIABLE status OUTPUT_VARIABLE printed)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "korvane-cli ${command} exited with ${status}")
    endif()
endforeach()
if(NOT printed MATCHES "^Bank_1  2 blocks: 0 bad, 0 weak, 0 mended, 0 erased, 2 data\r?\nBank_2  2 blocks")
    message(FATAL_ERROR "korvane-cli map printed: ${printed}")
endif()
foreach(bank 01 02)
    execute_process(COMMAND xmllint --noout ${FOLDER}/01_${bank}.dump.svg RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "01_${bank}.dump.svg is not well-formed XML")
    endif()
endforeach()

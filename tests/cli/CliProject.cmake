# Runs quenley-cli's project commands as a user would and checks their files byte for byte.
# cmake -DCLI=<quenley-cli> -DDATA=<tests/data/cli> -DWORK=<scratch folder> -DCASE=<name> -P this
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# run(<exit code> ARGS...): runs the program, fails unless it exits with the code; its output
# is left in OUT and ERR.
function(run expected)
    execute_process(COMMAND "${CLI}" ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT rc STREQUAL "${expected}")
        message(FATAL_ERROR "quenley-cli ${ARGN}: exit ${rc}, expected ${expected}\n${out}${err}")
    endif()
    set(OUT "${out}" PARENT_SCOPE)
    set(ERR "${err}" PARENT_SCOPE)
endfunction()

function(same_bytes a b)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${a}" "${b}" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        file(READ "${a}" ha HEX)
        file(READ "${b}" hb HEX)
        message(FATAL_ERROR "${a} and ${b} differ:\n${ha}\n${hb}")
    endif()
endfunction()

function(expect_in text pattern)
    string(FIND "${text}" "${pattern}" pos)
    if(pos EQUAL -1)
        message(FATAL_ERROR "\"${pattern}\" not in:\n${text}")
    endif()
endfunction()

if(CASE STREQUAL "roundtrip")
    # Files with windows, names holding NUL and bytes above 127, values beyond one byte.
    run(0 from-json "${DATA}/project.json" "${WORK}/project.qly")
    foreach(qly "${DATA}/kick.qly" "${DATA}/kick-window.qly" "${WORK}/project.qly")
        get_filename_component(name "${qly}" NAME_WE)
        run(0 to-json "${qly}")
        set(json "${OUT}")
        file(WRITE "${WORK}/${name}.json" "${json}")
        run(0 from-json "${WORK}/${name}.json" "${WORK}/${name}-again.qly")
        same_bytes("${qly}" "${WORK}/${name}-again.qly")
    endforeach()
    # A short name is filled with blanks, as the editor fills names.
    expect_in("${json}" "\"name\": \"Low\\u0000tomÿ        \"")

elseif(CASE STREQUAL "syx")
    run(0 syx "${DATA}/kick.qly" "${WORK}/kick.syx")
    same_bytes("${DATA}/kick.syx" "${WORK}/kick.syx")
    # Every kind of block, in list order, on another channel.
    run(0 from-json "${DATA}/project.json" "${WORK}/project.qly")
    run(0 syx "${WORK}/project.qly" "${WORK}/project.syx" --channel 10)
    same_bytes("${DATA}/project-ch10.syx" "${WORK}/project.syx")
    file(WRITE "${WORK}/empty.json" [[{"sections": [], "windows": []}]])
    run(0 from-json "${WORK}/empty.json" "${WORK}/empty.qly")
    run(0 syx "${WORK}/empty.qly" "${WORK}/empty.syx")
    file(SIZE "${WORK}/empty.syx" size)
    if(NOT size EQUAL 0)
        message(FATAL_ERROR "an empty project gave ${size} bytes")
    endif()
    foreach(channel 0 17 x)
        run(2 syx "${DATA}/kick.qly" "${WORK}/bad.syx" --channel ${channel})
        expect_in("${ERR}" "--channel must be a number from 1 to 16")
    endforeach()
    # Naming the project as the output must not destroy it.
    file(COPY_FILE "${DATA}/kick.qly" "${WORK}/kick.qly")
    run(2 syx "${WORK}/kick.qly" "${WORK}/kick.qly")
    same_bytes("${DATA}/kick.qly" "${WORK}/kick.qly")

elseif(CASE STREQUAL "dump")
    run(0 dump "${DATA}/kick-window.qly")
    set(expected [[
Kick000 Untitled           221 26 127 0 200 0 200 160 255
window kick 0: flags 10, length 44, show 9, min (1, 2), max (3, 4), normal (5, 6, 7, 8)
window LFOs 5: flags 0, length 44, show 1, min (-1, -1), max (-1, -1), normal (0, 0, 0, 0)
]])
    if(NOT OUT STREQUAL expected)
        message(FATAL_ERROR "dump gave:\n${OUT}")
    endif()
    # Active marks, kit banks, and a name's escape character shown harmlessly.
    run(0 from-json "${DATA}/project.json" "${WORK}/project.qly")
    run(0 dump "${WORK}/project.qly")
    expect_in("${OUT}" "LFOs001 LFO set A        * 1 2 3 4 5 6 7\n")
    expect_in("${OUT}" "Kick255 Boom?[2J         * 1000 -1 0")
    expect_in("${OUT}" "Kit 044 Bank001 Kit300     75 105")
    expect_in("${OUT}" "window kit 300: flags 0, length 44, show 1, min (-1, -1), max (-8, -31)")

elseif(CASE STREQUAL "damaged")
    file(COPY_FILE "${DATA}/kick.qly" "${WORK}/trailing.qly")
    file(APPEND "${WORK}/trailing.qly" "x")
    foreach(qly "${DATA}/kick-truncated.qly" "${WORK}/trailing.qly")
        foreach(cmd dump to-json)
            run(1 ${cmd} "${qly}")
            expect_in("${ERR}" "quenley-cli ${cmd}: ${qly}: Unexpected file format.")
        endforeach()
        run(1 syx "${qly}" "${WORK}/out.syx")
        expect_in("${ERR}" "${qly}: Unexpected file format.")
        if(EXISTS "${WORK}/out.syx")
            message(FATAL_ERROR "syx wrote a file for a damaged project")
        endif()
    endforeach()
    run(1 dump "${WORK}/missing.qly")
    expect_in("${ERR}" "${WORK}/missing.qly was not found.")
    # Output that cannot be written is a failure, not a silent loss.
    if(EXISTS /dev/full)
        execute_process(COMMAND "${CLI}" to-json "${DATA}/kick.qly" OUTPUT_FILE /dev/full
                        RESULT_VARIABLE rc ERROR_VARIABLE err)
        if(NOT rc EQUAL 1)
            message(FATAL_ERROR "to-json into a full disk: exit ${rc}")
        endif()
        expect_in("${err}" "cannot write to standard output")
    endif()

elseif(CASE STREQUAL "bad-json")
    # Each bad field is named by its path, and the existing output survives.
    file(WRITE "${WORK}/out.qly" "keep me")
    file(READ "${DATA}/project.json" good)
    function(refused from to message)
        string(REPLACE "${from}" "${to}" bad "${good}")
        if(bad STREQUAL good)
            message(FATAL_ERROR "case does not apply: ${from}")
        endif()
        file(WRITE "${WORK}/bad.json" "${bad}")
        run(1 from-json "${WORK}/bad.json" "${WORK}/out.qly")
        expect_in("${ERR}" "quenley-cli from-json: ${WORK}/bad.json: ${message}")
        file(READ "${WORK}/out.qly" kept)
        if(NOT kept STREQUAL "keep me")
            message(FATAL_ERROR "a failed from-json changed the existing output")
        endif()
    endfunction()
    set(kick "[1000, -1, 0, 0, 0, 0, 0, 0, 255]")
    refused("${kick}" "[1000, -1, \"0\", 0, 0, 0, 0, 0, 255]"
            "sections[2].params[2]: expected an integer")
    refused("${kick}" "[1000, -1, 0.5, 0, 0, 0, 0, 0, 255]"
            "sections[2].params[2]: expected an integer")
    refused("${kick}" "[1000, -1, 0, 0, 0, 0, 0, 255]"
            "sections[2].params: expected 9 values, found 8")
    refused("${kick}" "[2147483648, -1, 0, 0, 0, 0, 0, 0, 255]"
            "sections[2].params[0]: expected an integer from -2147483648 to 2147483647")
    refused("\"Kit300  \"" "\"Kit300   \"" "sections[3].name: longer than 8 characters")
    refused("\"Kit300  \"" "\"Kit\\u0100\"" "sections[3].name: character 4 (U+0100) is not one byte")
    refused("\"class\": \"CKit\"" "\"class\": \"CKick\""
            "sections[3].class: \"CKick\" is not the class of kind 1")
    refused("\"kind\": 4" "\"kind\": 12" "sections[1].kind: expected an integer from 1 to 11")
    refused("\"active\": true" "\"active\": 1" "sections[0].active: expected true or false")
    refused("\"name\": \"LFO set A       \"," "" "sections[0].name: missing")
    refused("\"showCmd\": 3" "\"showCmd\": -3"
            "windows[1].placement.showCmd: expected an integer from 0 to 4294967295")
    refused("\"min\": [0, 0]" "\"min\": [0]" "windows[1].placement.min: expected 2 values, found 1")
    refused("\"viewType\": 12" "\"viewTyp\": 12" "windows[1].viewTyp: unknown field")
    refused("\"windows\": [" "\"windows\": {" "not valid JSON")

else()
    message(FATAL_ERROR "unknown case ${CASE}")
endif()

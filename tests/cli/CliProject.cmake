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

elseif(CASE STREQUAL "from-syx")
    # What syx writes comes back: every value a message carries, written out again to the
    # same bytes; what no message carries is a new variation's default.
    run(0 from-json "${DATA}/project.json" "${WORK}/project.qly")
    run(0 syx "${WORK}/project.qly" "${WORK}/project.syx" --channel 3)
    run(0 from-syx "${WORK}/project.syx" "${WORK}/back.qly")
    expect_in("${ERR}" "quenley-cli from-syx: ${WORK}/project.syx: The dump holds 4 variations:\n")
    run(0 syx "${WORK}/back.qly" "${WORK}/back.syx" --channel 3)
    same_bytes("${WORK}/project.syx" "${WORK}/back.syx")
    run(0 dump "${WORK}/back.qly")
    set(expected [[
LFOs001 Untitled           1 2 3 4 5 6 0
LoTo002 Untitled           200 207 200
Kick255 Untitled           200 255 0 0 0 0 0 0 255
Kit 044 Bank001 Kit300     75 105 116 51 48 48 32 32 255 0 2 0 0 0 0 0 0 1 0
]])
    if(NOT OUT STREQUAL expected)
        message(FATAL_ERROR "from-syx gave:\n${OUT}")
    endif()

    # Merged into the project it came from, nothing changes: names, marks, the values outside
    # the blocks and the saved windows stay the project's own.
    run(0 from-syx "${WORK}/project.syx" "${WORK}/merged.qly" --merge "${WORK}/project.qly")
    expect_in("${ERR}" "It overwrites 4 variations of the project:\n")
    same_bytes("${WORK}/project.qly" "${WORK}/merged.qly")
    # Into another project, in place: its own variations stay, the dump's join them.
    file(COPY_FILE "${DATA}/kick.qly" "${WORK}/kick.qly")
    run(0 from-syx "${WORK}/project.syx" "${WORK}/kick.qly" --merge "${WORK}/kick.qly")
    run(0 dump "${WORK}/kick.qly")
    expect_in("${OUT}" "Kick000 Untitled           221 26 127 0 200 0 200 160 255\n")
    expect_in("${OUT}" "Kick255 Untitled           200 255 0 0 0 0 0 0 255\n")

    # A file with damage of every kind: the good messages are taken, the rest counted.
    run(0 from-syx "${DATA}/damaged.syx" "${WORK}/damaged.qly")
    expect_in("${ERR}" "damaged.syx:   Snare: 000\n")
    expect_in("${ERR}" "damaged.syx:   Kick: 001\n")
    expect_in("${ERR}" "damaged.syx: Skipped: 1 message for another device, 1 other MIDI "
                       "message, 1 message in running status, 1 stray byte, 2 truncated messages.")
    run(0 dump "${WORK}/damaged.qly")
    expect_in("${OUT}" "Snar000 Untitled           1 2 3 4 5 6\n")
    expect_in("${OUT}" "Kick001 Untitled           11 26 127 0 200 0 200 160 255")

    # Failures write nothing and destroy nothing.
    file(WRITE "${WORK}/keep.qly" "keep me")
    run(1 from-syx "${WORK}/missing.syx" "${WORK}/keep.qly")
    expect_in("${ERR}" "${WORK}/missing.syx was not found.")
    run(1 from-syx "${WORK}/project.syx" "${WORK}/keep.qly" --merge "${DATA}/kick-truncated.qly")
    expect_in("${ERR}" "kick-truncated.qly: Unexpected file format.")
    run(2 from-syx "${WORK}/project.syx" "${WORK}/project.syx")
    # An input with nothing for the module (names swapped, a text file) is refused.
    file(WRITE "${WORK}/notes.txt" "not a dump\n")
    file(COPY_FILE "${WORK}/project.qly" "${WORK}/whole.qly")
    foreach(input "${WORK}/project.qly" "${WORK}/notes.txt")
        run(1 from-syx "${input}" "${WORK}/keep.qly")
        expect_in("${ERR}" "${input}: The dump holds no sounds for the module.\n")
        expect_in("${ERR}" "${WORK}/keep.qly was not written\n")
        run(1 from-syx "${input}" "${WORK}/whole.qly" --merge "${WORK}/whole.qly")
        same_bytes("${WORK}/project.qly" "${WORK}/whole.qly")
    endforeach()
    file(READ "${WORK}/keep.qly" kept)
    if(NOT kept STREQUAL "keep me")
        message(FATAL_ERROR "a failed from-syx changed the existing output")
    endif()
    same_bytes("${WORK}/project.syx" "${WORK}/back.syx")

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
    expect_in("${OUT}" "Kick255 Boom?[2J         * 200 255 0")
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
    set(kick "[200, 255, 0, 0, 0, 0, 0, 0, 255]")
    refused("${kick}" "[200, 255, \"0\", 0, 0, 0, 0, 0, 255]"
            "sections[2].params[2]: expected an integer")
    refused("${kick}" "[200, 255, 0.5, 0, 0, 0, 0, 0, 255]"
            "sections[2].params[2]: expected an integer")
    refused("${kick}" "[200, 255, 0, 0, 0, 0, 0, 255]"
            "sections[2].params: expected 9 values, found 8")
    # Values the module cannot take: they would go out masked, 16384 as 0.
    foreach(value 2147483648 -1 256 16384)
        refused("${kick}" "[${value}, 255, 0, 0, 0, 0, 0, 0, 255]"
                "sections[2].params[0]: expected an integer from 0 to 255")
    endforeach()
    refused("0, 0, 1, 251]" "0, 0, 1, -5]" "sections[3].params[18]: expected an integer from 0 to 255")
    # Numbers outside the kind's range would address another sound, or nothing.
    refused("\"number\": 255" "\"number\": 256" "sections[2].number: expected an integer from 0 to 255")
    refused("\"number\": 300" "\"number\": 768" "sections[3].number: expected an integer from 0 to 767")
    refused("\"number\": 2," "\"number\": -1," "sections[1].number: expected an integer from 0 to 255")
    refused("\"Kit300  \"" "\"Kit300   \"" "sections[3].name: longer than 8 characters")
    refused("\"Kit300  \"" "\"Kit\\u0100\"" "sections[3].name: character 4 (U+0100) is not one byte")
    # A character beyond the BMP is one character, named by its own code point.
    refused("\"Kit300  \"" "\"Ki\\ud83e\\udd41t\"" "sections[3].name: character 3 (U+1F941) is not one byte")
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

elseif(CASE STREQUAL "send")
    # The "SysEx file" port writes under the data folder; keep it out of the real home.
    set(ENV{XDG_DATA_HOME} "${WORK}/data")
    run(0 ports)
    string(REGEX MATCH "([0-9]+): SysEx file\n$" line "${OUT}")
    set(port "${CMAKE_MATCH_1}")
    run(0 from-json "${DATA}/project.json" "${WORK}/project.qly")
    run(0 send "${WORK}/project.qly" --port ${port} --channel 10)
    expect_in("${ERR}" "sent 4/4 messages")
    file(GLOB_RECURSE written "${WORK}/data/*/sysex-out.syx")
    list(LENGTH written count)
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "expected one sysex-out.syx under ${WORK}/data, found: ${written}")
    endif()
    # All Notes Off on channel 10 when the port opens and before it closes.
    file(READ "${DATA}/project-ch10.syx" body HEX)
    file(READ "${written}" got HEX)
    if(NOT got STREQUAL "b97b00${body}b97b00")
        message(FATAL_ERROR "the port received:\n${got}")
    endif()
    # A device that stops taking messages mid-send (the port's file is a full disk).
    if(EXISTS /dev/full)
        file(REMOVE "${written}")
        file(CREATE_LINK /dev/full "${written}" SYMBOLIC)
        run(1 send "${WORK}/project.qly" --port ${port})
        expect_in("${ERR}" "the device stopped taking messages")
    endif()
    run(1 send "${WORK}/project.qly" --port 9999)
    expect_in("${ERR}" "there is no MIDI output 9999")
    # A port that cannot open: its file's folder cannot be made.
    file(WRITE "${WORK}/not-a-folder" "")
    set(ENV{XDG_DATA_HOME} "${WORK}/not-a-folder")
    run(1 send "${WORK}/project.qly" --port ${port})
    expect_in("${ERR}" "could not be opened")

elseif(CASE STREQUAL "order")
    # from-json stores sections in the editor's order, whatever order the JSON has.
    run(0 from-json "${DATA}/unsorted.json" "${WORK}/sorted.qly")
    run(0 dump "${WORK}/sorted.qly")
    string(REGEX REPLACE " [^\n]*" "" names "${OUT}")
    if(NOT names STREQUAL "LFOs000\nKick001\nKick003\nKick005\nKit\n")
        message(FATAL_ERROR "from-json kept the JSON's order:\n${OUT}")
    endif()
    run(0 to-json "${WORK}/sorted.qly")
    file(WRITE "${WORK}/sorted.json" "${OUT}")
    run(0 from-json "${WORK}/sorted.json" "${WORK}/sorted-again.qly")
    same_bytes("${WORK}/sorted.qly" "${WORK}/sorted-again.qly")
    # Twice the same variation, or two active marks of a kind, name both entries.
    file(READ "${DATA}/unsorted.json" json)
    string(REPLACE "\"number\": 1, \"active\": false, \"name\": \"One\""
                   "\"number\": 3, \"active\": false, \"name\": \"One\"" twice "${json}")
    file(WRITE "${WORK}/twice.json" "${twice}")
    run(1 from-json "${WORK}/twice.json" "${WORK}/twice.qly")
    expect_in("${ERR}" "twice.json: sections[4]: kick 3 is given twice, also as sections[2]")
    string(REPLACE "\"number\": 3, \"active\": false" "\"number\": 3, \"active\": true"
                   marks "${json}")
    file(WRITE "${WORK}/marks.json" "${marks}")
    run(1 from-json "${WORK}/marks.json" "${WORK}/marks.qly")
    expect_in("${ERR}" "marks.json: sections[2].active: kick 3 is marked active, and so is "
                       "sections[0] (kick 5)")
    foreach(qly twice marks)
        if(EXISTS "${WORK}/${qly}.qly")
            message(FATAL_ERROR "from-json wrote ${qly}.qly")
        endif()
    endforeach()

    # The loader sorts a file in another order and keeps one active mark per kind: the first
    # in the editor's order.
    run(0 dump "${DATA}/unsorted.qly")
    set(expected [[
LFOs000                    0 0 0 0 0 0 0
Kick001 One                1 26 127 0 200 0 200 160 255
Kick003 Three            * 3 26 127 0 200 0 200 160 255
Kick005 Five               5 26 127 0 200 0 200 160 255
Kit 002 Bank000 Kit two    75 105 116 32 116 119 111 32 5 0 0 0 0 0 0 0 0 0 0
]])
    if(NOT OUT STREQUAL expected)
        message(FATAL_ERROR "dump of unsorted.qly gave:\n${OUT}")
    endif()
    # A file that holds a variation twice is refused, as the editor refuses it.
    foreach(cmd dump to-json)
        run(1 ${cmd} "${DATA}/duplicate.qly")
        expect_in("${ERR}" "duplicate.qly: Unexpected file format.")
    endforeach()

elseif(CASE STREQUAL "unsendable")
    # A project file is read as it is: dump marks what cannot be sent, syx and send name each
    # section they leave out and fail, and the rest goes out.
    run(0 dump "${DATA}/unsendable.qly")
    expect_in("${OUT}" "-1 2 3 4 5 6 7  ! out of range: LFOs 3, params[0] is -1, outside 0..255; not sent\n")
    expect_in("${OUT}" "Snar001 Crack              200 16384 3 201 7 200  ! out of range: snare 1, params[1] is 16384")
    expect_in("${OUT}" "Kick004 Thump            * 221 26 127 0 200 0 200 160 255\n")
    expect_in("${OUT}" "Kick256 Stray              221 26 127 0 200 0 200 160 256  ! out of range: kick 256, its number is outside 0..255; not sent\n")
    expect_in("${OUT}" "Kit 000 Bank003 Beyond     66 101 121 111 110 100 32 32 4 1 0 0 0 0 0 0 0 3 0  ! out of range: kit 768, its number is outside 0..767; not sent\n")
    expect_in("${OUT}" "Kit 005 Bank000 Groove     71 114 111 111 118 101 32 32 4 1 0 0 0 0 0 0 0 3 0\n")

    set(left_out "LFOs 3 left out: params[0] is -1, outside 0..255"
                 "snare 1 left out: params[1] is 16384, outside 0..255"
                 "kick 256 left out: its number is outside 0..255"
                 "kit 768 left out: its number is outside 0..767")
    run(1 syx "${DATA}/unsendable.qly" "${WORK}/unsendable.syx")
    foreach(line ${left_out})
        expect_in("${ERR}" "quenley-cli syx: ${DATA}/unsendable.qly: ${line}")
    endforeach()
    # What is written is what the two good sections alone give.
    file(WRITE "${WORK}/good.json" [[{"sections": [
 {"class": "CKick", "kind": 2, "number": 4, "active": true, "name": "Thump", "params": [221, 26, 127, 0, 200, 0, 200, 160, 255]},
 {"class": "CKit", "kind": 1, "number": 5, "active": false, "name": "Groove  ", "params": [71, 114, 111, 111, 118, 101, 32, 32, 4, 1, 0, 0, 0, 0, 0, 0, 0, 3, 0]}
], "windows": []}]])
    run(0 from-json "${WORK}/good.json" "${WORK}/good.qly")
    run(0 syx "${WORK}/good.qly" "${WORK}/good.syx")
    same_bytes("${WORK}/good.syx" "${WORK}/unsendable.syx")

    set(ENV{XDG_DATA_HOME} "${WORK}/data")
    run(0 ports)
    string(REGEX MATCH "([0-9]+): SysEx file\n$" line "${OUT}")
    set(port "${CMAKE_MATCH_1}")
    run(1 send "${DATA}/unsendable.qly" --port ${port})
    foreach(line ${left_out})
        string(REPLACE " left out:" " is not sent:" line "${line}")
        expect_in("${ERR}" "quenley-cli send: ${DATA}/unsendable.qly: ${line}")
    endforeach()
    expect_in("${ERR}" "sent 2/2 messages")
    file(GLOB_RECURSE written "${WORK}/data/*/sysex-out.syx")
    file(READ "${written}" got HEX)
    file(READ "${WORK}/good.syx" body HEX)
    if(NOT got STREQUAL "b07b00${body}b07b00")
        message(FATAL_ERROR "the port received:\n${got}")
    endif()
    # Nothing that can be sent: the port is not even opened.
    file(REMOVE "${written}")
    run(1 send "${DATA}/kick-256.qly" --port ${port})
    expect_in("${ERR}" "kick-256.qly: kick 256 is not sent: its number is outside 0..255\n")
    expect_in("${ERR}" "kick-256.qly: nothing in the project can be sent\n")
    if(EXISTS "${written}")
        message(FATAL_ERROR "the port was opened for a project with nothing to send")
    endif()

elseif(CASE STREQUAL "copy")
    # FROM: kit 3 uses kick 4, snare 6 and a low tom 2 it lacks. TO: kick 9 and kit 265 with
    # its window.
    file(WRITE "${WORK}/from.json" [[{"sections": [
        {"class": "CKick", "kind": 2, "number": 4, "active": false, "name": "Deep",
         "params": [1, 2, 3, 4, 5, 6, 7, 8, 9]},
        {"class": "CSnar", "kind": 3, "number": 6, "active": false, "name": "Crack",
         "params": [11, 12, 13, 14, 15, 16]},
        {"class": "CKit", "kind": 1, "number": 3, "active": false, "name": "Groove  ",
         "params": [71, 114, 111, 111, 118, 101, 32, 32, 4, 6, 2, 0, 0, 0, 0, 0, 0, 0, 0]}],
        "windows": []}]])
    file(WRITE "${WORK}/to.json" [[{"sections": [
        {"class": "CKick", "kind": 2, "number": 9, "active": false, "name": "Old",
         "params": [9, 9, 9, 9, 9, 9, 9, 9, 9]},
        {"class": "CKit", "kind": 1, "number": 265, "active": false, "name": "Old kit ",
         "params": [79, 108, 100, 32, 107, 105, 116, 32, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5]}],
        "windows": [{"number": 265, "viewType": 2, "placement": {"flags": 0, "length": 44,
         "showCmd": 1, "min": [-1, -1], "max": [-8, -31], "normal": [10, 20, 410, 320]}}]}]])
    run(0 from-json "${WORK}/from.json" "${WORK}/from.qly")
    run(0 from-json "${WORK}/to.json" "${WORK}/original.qly")
    set(F "${WORK}/from.qly")
    set(T "${WORK}/to.qly")
    set(kick9 "Kick009 Old                9 9 9 9 9 9 9 9 9\n")
    set(kit265 "Kit 009 Bank001 Old kit    79 108 100 32 107 105 116 32 9 0 0 0 0 0 0 0 0 0 5\n")
    set(window "window kit 265: flags 0, length 44, show 1, min (-1, -1), max (-8, -31), normal (10, 20, 410, 320)\n")
    set(groove "71 114 111 111 118 101 32 32")

    # copied(<what TO then holds, as dump shows it> <what is said> ARGS...)
    function(copied expected said)
        file(COPY_FILE "${WORK}/original.qly" "${T}")
        run(0 copy ${ARGN})
        expect_in("${OUT}" "${said}\n")
        run(0 dump "${T}")
        if(NOT OUT STREQUAL expected)
            message(FATAL_ERROR "copy ${ARGN} left:\n${OUT}")
        endif()
    endfunction()
    copied("${kick9}Kick012 Deep               1 2 3 4 5 6 7 8 9\n${kit265}${window}"
           "Kick 004 copied to Kick 012." "${F}" kick:4 "${T}" kick:12)
    copied("${kick9}${kit265}Kit 044 Bank001 Groove     ${groove} 4 6 2 0 0 0 0 0 0 0 0\n${window}"
           "Kit 003 Bank 000 copied to Kit 044 Bank 001." "${F}" kit:3 "${T}" kit:300)
    copied("${kick9}Kit 009 Bank001 Groove     ${groove} 4 6 2 0 0 0 0 0 0 0 0\n${window}"
           "Kit 003 Bank 000 copied to Kit 009 Bank 001." "${F}" kit:3 "${T}" kit:265 --overwrite)
    # The sounds go to number 9 of their kinds; FROM has no low tom 2, so none is made.
    copied("Snar009 Crack              11 12 13 14 15 16\nKick009 Deep               1 2 3 4 5 6 7 8 9\n${kit265}Kit 009 Bank002 Groove     ${groove} 9 9 0 0 0 0 0 0 0 0 0\n${window}"
           "Kit 003 Bank 000 copied to Kit 009 Bank 002 with 2 sounds."
           "${F}" kit:3 "${T}" kit:521 --with-sounds --overwrite)
    # Within one file; a kit's own sound under the number is not copied onto itself.
    copied("${kick9}Kick010 Old                9 9 9 9 9 9 9 9 9\n${kit265}${window}"
           "Kick 009 copied to Kick 010." "${T}" kick:9 "${T}" kick:10)
    copied("${kick9}Kit 009 Bank000 Old kit    79 108 100 32 107 105 116 32 9 0 0 0 0 0 0 0 0 0 0\n${kit265}${window}"
           "Kit 009 Bank 001 copied to Kit 009 Bank 000 with 1 sound."
           "${T}" kit:265 "${T}" kit:9 --with-sounds)

    # refused(<exit code> <message> ARGS...): TO keeps its bytes.
    function(refused code message)
        file(COPY_FILE "${WORK}/original.qly" "${T}")
        run(${code} copy ${ARGN})
        expect_in("${ERR}" "quenley-cli copy: ${message}")
        same_bytes("${WORK}/original.qly" "${T}")
    endfunction()
    refused(2 "\"drum:3\": unknown kind \"drum\"; the kinds are kit, kick, snare, lotom, hitom, hihat, clap, rimshot, crash, ride, lfo"
            "${F}" kick:4 "${T}" drum:3)
    refused(2 "\"kick:256\": kick numbers go from 0 to 255" "${F}" kick:4 "${T}" kick:256)
    refused(2 "\"kit:768\": kit numbers go from 0 to 767" "${F}" kit:768 "${T}" kit:0)
    refused(2 "\"kick4\" is not KIND:NUMBER" "${F}" kick4 "${T}" kick:5)
    refused(2 "\"kick:-1\": kick numbers go from 0 to 255" "${F}" kick:4 "${T}" kick:-1)
    refused(2 "kick:4 cannot be copied to snare:4: the kinds differ" "${F}" kick:4 "${T}" snare:4)
    refused(2 "--with-sounds takes a kit's sounds along; kick:4 is no kit"
            "${F}" kick:4 "${T}" kick:5 --with-sounds)
    refused(2 "kick:9 would be copied onto itself" "${T}" kick:9 "${T}" kick:9)
    refused(2 "option --overwrite takes no value" "${F}" kick:4 "${T}" kick:9 --overwrite=yes)
    refused(1 "${F}: kick:5 is not in the project" "${F}" kick:5 "${T}" kick:5)
    refused(1 "${WORK}/missing.qly was not found." "${WORK}/missing.qly" kick:4 "${T}" kick:5)
    refused(1 "${T}: kick:9 exists; --overwrite replaces it" "${F}" kick:4 "${T}" kick:9)
    refused(1 "${T}: kit:265 exists; --overwrite replaces it" "${F}" kit:3 "${T}" kit:265)
    # Every target in the way is named, the kit's sounds too.
    refused(1 "${T}: kit:265 exists; --overwrite replaces it\nquenley-cli copy: ${T}: kick:9 exists"
            "${F}" kit:3 "${T}" kit:265 --with-sounds)
    run(1 copy "${F}" kick:4 "${DATA}/kick-truncated.qly" kick:5)
    expect_in("${ERR}" "kick-truncated.qly: Unexpected file format.")

else()
    message(FATAL_ERROR "unknown case ${CASE}")
endif()

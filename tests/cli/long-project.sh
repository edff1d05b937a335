# Sourced by the send tests: long_project JSON QLY writes a project of thirty blocks, which takes
# about six seconds to send, since each block waits out the module's pause.
long_project() {
    {
        echo '{"sections": ['
        for i in $(seq 0 29); do
            [ "$i" -gt 0 ] && echo ','
            echo "{\"class\": \"CLoTo\", \"kind\": 4, \"number\": $i, \"active\": false,"
            echo " \"name\": \"\", \"params\": [1, 2, 3]}"
        done
        echo '], "windows": []}'
    } >"$1"
    "$cli" from-json "$1" "$2"
}

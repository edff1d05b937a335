#!/usr/bin/env bash
# quenley-cli on whatever a file name leads to: a FIFO, a device, standard input and output,
# a folder, an oversized file, a name that is not UTF-8, an empty name; and its results on a
# standard output that cannot take them.
set -uo pipefail
cli=$1
data=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
cd "$work"
export LC_ALL=C

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# run CODE ARGS...: runs quenley-cli with its output in out and err; fails unless it exits so.
run() {
    local expected=$1 rc=0
    shift
    "$cli" "$@" >out 2>err || rc=$?
    [ "$rc" -eq "$expected" ] || fail "quenley-cli $*: exit $rc, expected $expected: $(cat err)"
}
# has FILE TEXT: the file holds the text, bytes compared as they are.
has() { grep -qF -- "$2" "$1" || fail "\"$2\" not in $1: $(cat "$1")"; }

# A FIFO is written into, not replaced by a file: its reader gets the bytes. Both ends are open
# before the program runs (the test holds the writing end, fd 3, until it is done), so that
# nothing blocks for good or is lost when the program never opens the FIFO.
mkfifo pipe
ln -s pipe link
start_reader() {
    exec 3<>pipe 4<pipe
    cat <&4 >"$1" 3>&- 4<&- &
    reader=$!
    exec 4<&-
}
finish_reader() {
    exec 3>&-
    wait "$reader"
}
for target in pipe link; do
    start_reader got
    run 0 syx "$data/kick.qly" "$target"
    finish_reader
    [ -p pipe ] || fail "syx into $target replaced the FIFO"
    cmp -s got "$data/kick.syx" || fail "the reader of $target got $(od -An -tx1 got)"
done
start_reader got.qly
run 0 from-json "$data/project.json" pipe
finish_reader
[ -p pipe ] || fail "from-json replaced the FIFO"
run 0 dump got.qly

# A device stays a device (a private null device, so that a fault replaces nothing real).
if mknod null c 1 3 2>/dev/null; then
    run 0 syx "$data/kick.qly" null
    [ -c null ] || fail "syx replaced a character device"
else
    echo "skipped: a device node needs root"
fi

# "-" and /dev/stdout for the output, "-" for the input.
"$cli" syx "$data/kick.qly" - >dash.syx || fail "syx to -"
cmp -s dash.syx "$data/kick.syx" || fail "syx to - wrote $(od -An -tx1 dash.syx)"
"$cli" syx "$data/kick.qly" /dev/stdout | cat >piped.syx || fail "syx to /dev/stdout"
cmp -s piped.syx "$data/kick.syx" || fail "syx to /dev/stdout | cat wrote $(od -An -tx1 piped.syx)"
"$cli" dump - <"$data/kick-window.qly" >dash.txt || fail "dump -"
"$cli" dump "$data/kick-window.qly" >file.txt
cmp -s dash.txt file.txt || fail "dump - differs from dump FILE"
"$cli" from-json - - <"$data/project.json" | "$cli" to-json - >dash.json || fail "from-json - -"
"$cli" from-json "$data/project.json" project.qly
"$cli" to-json project.qly >file.json
cmp -s dash.json file.json || fail "from-json - - | to-json - differs"
run 1 dump - </dev/null
has err "quenley-cli dump: standard input: Unexpected file format."

# Only what the file holds is read: a small JSON file within a small address space (not under a
# sanitizer, which reserves terabytes of it for itself).
if [ -z "${QUENLEY_SANITIZER:-}" ]; then
    (ulimit -v 500000 && "$cli" from-json "$data/project.json" limited.qly) >out 2>err ||
        fail "from-json within 500 MB of address space: $(cat err)"
fi

# Results that cannot be written are failures, whatever the command.
for args in "ports" "dump --help" "--help" "dump $data/kick.qly" "syx $data/kick.qly -"; do
    rc=0
    # shellcheck disable=SC2086
    "$cli" $args >/dev/full 2>err || rc=$?
    [ "$rc" -eq 1 ] || fail "quenley-cli $args >/dev/full: exit $rc"
    grep -q "standard output" err || fail "quenley-cli $args >/dev/full said: $(cat err)"
done

# Messages that say what is wrong.
mkdir folder
run 1 dump folder
has err "quenley-cli dump: folder is a folder, not a file."
run 1 from-json folder out.qly
has err "quenley-cli from-json: folder is a folder, not a file."
run 1 syx "$data/kick.qly" folder
has err "quenley-cli syx: folder is a folder, not a file."
truncate -s 20M big.qly
run 1 dump big.qly
has err "quenley-cli dump: big.qly is too large for a project: the limit is 16777216 bytes."
truncate -s 20M big.syx
run 1 from-syx big.syx out.qly
has err "quenley-cli from-syx: big.syx is too large for a dump: the limit is 16777216 bytes."
run 1 dump nowhere/x.qly
has err "quenley-cli dump: nowhere/x.qly: the folder nowhere does not exist."
run 1 syx "$data/kick.qly" nowhere/deeper/x.syx
has err "quenley-cli syx: nowhere/deeper/x.syx: the folder nowhere does not exist."
run 2 dump ""
has err "quenley-cli dump: an empty file name was given"
grep -q QFSFileEngine err && fail "an empty name gave Qt's own warning"
run 2 from-json "$data/project.json" ""
has err "quenley-cli from-json: an empty file name was given"

# A name that is not UTF-8 opens, and shows as the shell shows it.
latin1=$(printf 'k\377.qly')
cp "$data/kick-window.qly" "$latin1"
run 0 dump "$latin1"
cmp -s out file.txt || fail "dump of a Latin-1 name gave: $(cat out err)"
run 1 dump "$(printf 'm\377.qly')"
has err "$(printf 'quenley-cli dump: m\377.qly was not found.')"
run 1 syx "$data/kick.qly" "$(printf 'o\377.syx')"
has err "$(printf 'quenley-cli syx: o\377.syx: a name that is not valid UTF-8 cannot be saved to')"

[ "$failures" -eq 0 ] || exit 1
echo "all special files passed"

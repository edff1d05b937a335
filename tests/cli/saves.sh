#!/usr/bin/env bash
# quenley-cli saving where a save can be cut short: a file size limit, and a save killed just
# before its new file replaced the old one.
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

# Under "ulimit -f" the write fails and says so, the old file stays; the program is not killed.
# Its messages go through a pipe, which the limit does not cover.
cp "$data/kick.qly" limited.qly
(ulimit -f 0 && exec "$cli" from-json "$data/project.json" limited.qly) 2>&1 >/dev/null | cat >err
rc=${PIPESTATUS[0]}
[ "$rc" -eq 1 ] || fail "from-json under a size limit: exit $rc, expected 1: $(cat err)"
grep -qF "Disk full while accessing limited.qly." err || fail "message: $(cat err)"
cmp -s limited.qly "$data/kick.qly" || fail "the old file was changed"

# A save killed as its temporary file was about to replace the old file leaves that file; the
# next save removes it, and leaves the user's own files alone, whatever their names.
if command -v strace >/dev/null; then
    cp "$data/kick.qly" song.qly
    echo mine >song.qly.backup
    echo mine >song.qly.other1
    calls=rename,renameat,renameat2
    strace -f -o /dev/null -e trace=$calls -e inject=$calls:error=EIO:signal=KILL \
        "$cli" from-json "$data/project.json" song.qly >/dev/null 2>&1
    left=$(ls song.qly.* | grep -v -e '^song.qly.backup$' -e '^song.qly.other1$')
    [ -n "$left" ] || fail "the killed save left nothing to clean up: $(ls)"
    cmp -s song.qly "$data/kick.qly" || fail "the killed save changed song.qly"
    "$cli" from-json "$data/project.json" song.qly || fail "the next save failed"
    for f in $left; do
        [ ! -e "$f" ] || fail "$f is still there after the next save"
    done
    [ "$(cat song.qly.backup song.qly.other1)" = "$(printf 'mine\nmine')" ] ||
        fail "the user's own files were touched"
else
    echo "no strace: the killed save is not tried"
fi

[ "$failures" -eq 0 ] && echo "all passed"
exit $((failures > 0))

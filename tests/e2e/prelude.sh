# shellcheck shell=bash
# Shared by the shell tests (sourced, not run): strict mode, a scratch folder "work" removed at the exit,
# failed checks counted while the test goes on, and "finish" to end the test by them.
set -euo pipefail
work=$(mktemp -d)
failures=0
# Run at the exit; the X session widens it to stop what it started first.
stop_all() { rm -rf "$work"; }
trap 'stop_all || true' EXIT

# Reports a failed check and counts it; the test goes on.
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}

# finish [MESSAGE]: fails the test when a check failed, showing what the player said (where it ran);
# otherwise prints MESSAGE.
# shellcheck disable=SC2120 # the message is optional
finish() {
    if ((failures)); then
        echo "$failures check(s) failed"
        [[ ! -f "$work/player.log" ]] || { echo "the player said:"; cat "$work/player.log"; }
        exit 1
    fi
    echo "${1:-all checks passed}"
}

#!/usr/bin/env bash
# Opens a file that is no stream ("XX" and junk, named .qzm) in the real player on a private X display:
# a message box appears over the main window, and once it is confirmed the program keeps running with
# its window. (The box's text, "Invalid stream!", is checked by the widget tests: X offers no way to read
# a label out of another process.)
#   corrupt_file_test.sh QZMPLAYER
player=$1
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

start_display
printf 'XXthis is not a stream\001\002\003' >"$work/bad.qzm"
head -c 600 /dev/zero >>"$work/bad.qzm"
start_player "$work/bad.qzm"

# The message box: a visible window titled with the program's name, belonging to the main window.
box=$(timeout 20 xdotool search --sync --onlyvisible --name '^QZM Player$' | head -n 1) || true
if [[ -z "$box" ]]; then
    fail "no message box appeared"
else
    owner=$(xprop -id "$box" WM_TRANSIENT_FOR | grep -o '0x[0-9a-f]*' || true)
    if [[ -z "$owner" || $((owner)) -ne $window ]]; then
        fail "the message box does not belong to the main window (WM_TRANSIENT_FOR: ${owner:-none})"
    fi
    # Its OK button has the focus: Return confirms it.
    xdotool windowfocus --sync "$box" key Return
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name '^QZM Player$' >/dev/null || break
        sleep 0.1
    done
    if xdotool search --onlyvisible --name '^QZM Player$' >/dev/null; then
        fail "the message box did not close on Return"
    fi
fi

sleep 1
if ! player_alive; then
    fail "the program ended after the message"
elif ! xdotool search --onlyvisible --name '^QZM Player 0\.31$' | grep -q -x "$window"; then
    fail "the main window is gone after the message"
fi
finish

#!/usr/bin/env bash
# The real player in Russian (LANG=ru_RU.UTF-8; the toolkit needs no system locale for it) under openbox
# on a private X display: the toolkit's options are taken, and a missing file after them is named in a
# message box owned by the main window and in Russian on stderr; the file dialog speaks Russian
# (where the system has Qt's own translations), a disk image brings up "Выбор файла", and the about,
# information and options dialogs open under their Russian titles. A screenshot of the window with the
# information and options dialogs open is saved for a reader's eyes (that every text fits its control
# is the unit tests' to check).
#   russian_test.sh QZMPLAYER DEMOS.trd [SCREENSHOT.png]
player=$1
demos=$(realpath "$2")
screenshot=${3:-}
# shellcheck source=tests/e2e/x11_session.sh
source "$(dirname "$0")/x11_session.sh"

start_display 1024x768 openbox

# expect_dialog TITLE: a window of that title appears.
expect_dialog() { wait_until 10 shown "$1" || fail "no window titled \"$1\""; }

player_locale=ru_RU.UTF-8
missing=$work/нет.qzm
start_player -style fusion -display "$DISPLAY" "$missing"
# The box comes up over the window where the window manager placed it, not over its first place.
{ wait_until 20 shown "QZM Player" && read -r bx by bw bh < <(geometry "$(titled "QZM Player")") &&
    read -r x y w h < <(geometry) &&
    within $((bx + bw / 2)) "$x" $((x + w)) && within $((by + bh / 2)) "$y" $((y + h)); } ||
    fail "the box for the missing file is not over the window"
expect_box "for the missing file"
grep -q -F "qzmplayer: Не удаётся открыть «$missing»: такого файла нет." "$work/player.log" ||
    fail "stderr does not name the missing file in Russian: $(cat "$work/player.log")"

xdotool windowactivate --sync "$window" key ctrl+o
if [[ -f "$(qtpaths6 --query QT_INSTALL_TRANSLATIONS 2>/dev/null)/qtbase_ru.qm" ]]; then
    expect_dialog "Открыть"
else
    echo "SKIP the file dialog's title: the system has no Qt translations for Russian"
    sleep 2
fi
xdotool type --delay 10 "$demos"
xdotool key Return
expect_dialog "Выбор файла"
xdotool windowactivate --sync "$(titled "Выбор файла")" key Down Return
wait_until 5 gone "Выбор файла" || fail "the chooser did not close on Return"

xdotool windowactivate --sync "$window" key F1
expect_dialog "О программе QZMPlayer"
xdotool windowactivate --sync "$(titled "О программе QZMPlayer")" key Escape
read -r x y w h < <(geometry)
xdotool mousemove $((x + w - 60)) $((y + h - 21)) click 1
expect_dialog "Информация о файле"
xdotool mousemove $((x + w - 28)) $((y + h - 21)) click 1
expect_dialog "Параметры"
if [[ -n "$screenshot" ]]; then
    # Side by side, each readable.
    xdotool windowmove "$(titled "Информация о файле")" 10 30 windowmove "$(titled "Параметры")" 10 350
    sleep 0.5
    import -window root "$screenshot"
fi
xdotool windowactivate --sync "$(titled "Параметры")" key Escape
wait_until 5 gone "Параметры" || fail "the options dialog did not close on Escape"
finish

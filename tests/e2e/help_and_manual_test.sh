#!/usr/bin/env bash
# The manual pages against the programs: both pages render without a warning; the synopses of
# `qzmtool --help`, `qzmtool help COMMAND` and `qzmtool COMMAND --help` are those of qzmtool.1; the
# options, arguments and keys `qzmplayer --help` lists are those of qzmplayer.1; both programs' help in
# Russian is translated and within 79 characters a line. Then qzmtool's bash
# completion, run as bash runs it, on a folder of sample files.
#   help_and_manual_test.sh QZMTOOL QZMPLAYER SOURCE_DIR
# shellcheck source=tests/e2e/prelude.sh
source "$(dirname "$0")/prelude.sh"
qzmtool=$(realpath "$1")
qzmplayer=$(realpath "$2")
source_dir=$(realpath "$3")
pages=$source_dir/packaging/man
# Compares two texts, naming what differs.
same() {
    [[ "$2" == "$3" ]] || fail "$1"$'\n'"$(diff <(echo "$2") <(echo "$3") || true)"
}
# man-db's sandbox does not work in every container; the page is ours, so it is not needed.
export MAN_DISABLE_SECCOMP=1 LC_ALL=C.UTF-8 LANGUAGE=

for page in "$pages"/qzmtool.1 "$pages"/qzmplayer.1; do
    messages=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [[ -z "$messages" ]] || fail "man --warnings on $page: $messages"
    if command -v mandoc >/dev/null; then
        messages=$(mandoc -T lint "$page" 2>&1) || fail "mandoc -T lint on $page: $messages"
    fi
done

# A section of a page as plain text, on one line per paragraph of any length.
section() {
    MANWIDTH=2000 LC_ALL=C man -l "$1" 2>/dev/null | awk -v s="$2" '/^[A-Z]/ { on = $0 == s; next } on'
}
# Words of the input with a line break before each word "qzmtool": one synopsis a line.
synopses() {
    tr -s ' \n' '  ' | sed -e 's/^ *//' -e 's/ *$//' -e 's/ qzmtool /\nqzmtool /g'
}
# The synopses under "Usage:" of a help text.
usage() {
    awk '/^Usage:$/ { on = 1; next } /^$/ { on = 0 } on' | synopses
}

manual=$(section "$pages/qzmtool.1" SYNOPSIS | synopses)
[[ $(wc -l <<<"$manual") -ge 6 ]] || fail "qzmtool.1's synopsis reads as: $manual"
same "qzmtool --help and qzmtool.1 differ in their synopses" "$manual" "$("$qzmtool" --help | usage)"
commands=$("$qzmtool" --help | awk '/^Commands:$/ { on = 1; next } /^$/ { on = 0 } on { print $1 }')
for command in $commands; do
    help=$("$qzmtool" help "$command" | usage)
    same "qzmtool help $command and qzmtool.1 differ" "$(grep "^qzmtool $command " <<<"$manual")" "$help"
    same "qzmtool $command --help differs from qzmtool help $command" "$help" \
        "$("$qzmtool" "$command" --help | usage)"
done

for command in "" $commands; do
    wide=$("$qzmtool" help ${command:+"$command"} | awk 'length > 79')
    [[ -z "$wide" ]] || fail "qzmtool help $command has lines wider than 79 columns: $wide"
done

# qzmplayer: the options and arguments, by name, and the keys of its help are the page's.
player_help=$(QT_QPA_PLATFORM=offscreen "$qzmplayer" --help)
wide=$(awk 'length > 79' <<<"$player_help")
[[ -z "$wide" ]] || fail "qzmplayer --help has lines wider than 79 columns: $wide"
from_help=$(awk '/^(Options|Arguments):$/ { on = 1; next } /^$/ { on = 0 } on' <<<"$player_help" |
    sed -E 's/^  (.*[^ ])  .*/\1/; s/^  //' | sort)
from_page=$(section "$pages/qzmplayer.1" OPTIONS | grep -E '^ {7}[^ ]' | sed -E 's/^ +//; s/ {2,}.*//' | sort)
same "qzmplayer --help and qzmplayer.1 name other options" "$from_page" "$from_help"
keys_help=$(awk '/^Keys:$/ { on = 1; next } /^$/ { on = 0 } on { print $1 }' <<<"$player_help")
keys_page=$(section "$pages/qzmplayer.1" KEYS | awk '/^       [^ ]/ { print $1 }')
[[ -n "$keys_help" ]] || fail "qzmplayer --help lists no keys"
same "qzmplayer --help and qzmplayer.1 list other keys" "$keys_page" "$keys_help"

# In Russian: every help is translated and no line is wider than 79 characters. qzmplayer reads the
# language from LANG itself; qzmtool's gettext needs the system's ru_RU.UTF-8 locale.
too_wide() { grep -E '^.{80}' || true; } # characters, not bytes: this runs in C.UTF-8
russian=$(LC_ALL=ru_RU.UTF-8 QT_QPA_PLATFORM=offscreen "$qzmplayer" --help)
[[ "$russian" != "$player_help" ]] || fail "qzmplayer --help is not in Russian"
wide=$(too_wide <<<"$russian")
[[ -z "$wide" ]] || fail "qzmplayer --help in Russian has lines wider than 79 characters: $wide"
if locale -a | grep -q -i -x 'ru_RU.utf-\?8'; then
    for command in "" $commands; do
        english=$("$qzmtool" help ${command:+"$command"})
        russian=$(LC_ALL=ru_RU.UTF-8 "$qzmtool" help ${command:+"$command"})
        [[ "$russian" != "$english" ]] || fail "qzmtool help $command is not in Russian"
        wide=$(too_wide <<<"$russian")
        [[ -z "$wide" ]] || fail "qzmtool help $command in Russian has lines wider than 79 characters: $wide"
    done
else
    echo "SKIP qzmtool's Russian help: the system has no ru_RU.UTF-8 locale"
fi

# Completion, as bash runs it for `qzmtool WORD... CURRENT<TAB>`, in a folder of sample files.
mkdir -p "$work/files/folder" && cd "$work/files"
touch a.qzm b.TRD c.scl d.mp4
completion_cases=(
    "|encode export help info list pack thumbnail"
    "-|--help --version"
    "help |encode export help info list pack thumbnail"
    "info |a.qzm b.TRD c.scl folder"
    "list a.qzm |"
    "pack |b.TRD c.scl folder"
    "pack out.scl a.qzm |a.qzm folder"
    "encode |a.qzm b.TRD c.scl d.mp4 folder"
    "encode --d|--delay --dither"
    "encode x.mp4 --dither |diffusion none ordered"
    "encode x.mp4 --version 1|1"
    "export a.qzm --filter |0 1 2 3"
    "export a.qzm --filter=|0 1 2 3"
    "export a.qzm --format |bgra png ppm rgb24 scr"
    "export a.qzm --out |- folder"
    "export --video 2 |a.qzm b.TRD c.scl folder"
    "export a.qzm --size |"
)
for entry in "${completion_cases[@]}"; do
    line=${entry%%|*}
    got=$(PATH="$(dirname "$qzmtool"):$PATH" bash -c '
        source "$1"
        # The words as bash splits the line: "=" is a word of its own.
        read -r -a COMP_WORDS <<<"qzmtool ${2//=/ = }"
        [[ $2 == *" " || -z $2 ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        _qzmtool qzmtool
        printf "%s\n" "${COMPREPLY[@]}" | sort | xargs' bash \
        "$source_dir/packaging/bash-completion/qzmtool" "$line")
    same "completing \"qzmtool $line\"" "${entry#*|}" "$got"
done
registered=$(bash -c 'source "$1" && complete -p qzmtool' bash "$source_dir/packaging/bash-completion/qzmtool")
same "the completion is registered" "complete -F _qzmtool qzmtool" "$registered"

finish "help, manual pages and completion agree"

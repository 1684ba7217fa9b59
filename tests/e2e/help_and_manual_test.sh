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
# The lines of a help text under a heading ("Usage:", or any of "Options|Arguments"), up to a blank line.
under() { awk -v h="^($1):$" '$0 ~ h { on = 1; next } /^$/ { on = 0 } on'; }
usage() { under Usage | synopses; }

manual=$(section "$pages/qzmtool.1" SYNOPSIS | synopses)
[[ $(wc -l <<<"$manual") -ge 6 ]] || fail "qzmtool.1's synopsis reads as: $manual"
same "qzmtool --help and qzmtool.1 differ in their synopses" "$manual" "$("$qzmtool" --help | usage)"
commands=$("$qzmtool" --help | under Commands | awk '{ print $1 }')
for command in $commands; do
    help=$("$qzmtool" help "$command" | usage)
    same "qzmtool help $command and qzmtool.1 differ" "$(grep "^qzmtool $command " <<<"$manual")" "$help"
    same "qzmtool $command --help differs from qzmtool help $command" "$help" \
        "$("$qzmtool" "$command" --help | usage)"
done

# qzmplayer: the options and arguments, by name, and the keys of its help are the page's.
player_help=$(QT_QPA_PLATFORM=offscreen "$qzmplayer" --help)
from_help=$(under 'Options|Arguments' <<<"$player_help" | sed -E 's/^  (.*[^ ])  .*/\1/; s/^  //' | sort)
from_page=$(section "$pages/qzmplayer.1" OPTIONS | grep -E '^ {7}[^ ]' | sed -E 's/^ +//; s/ {2,}.*//' | sort)
same "qzmplayer --help and qzmplayer.1 name other options" "$from_page" "$from_help"
keys_help=$(under Keys <<<"$player_help" | awk '{ print $1 }')
keys_page=$(section "$pages/qzmplayer.1" KEYS | awk '/^       [^ ]/ { print $1 }')
[[ -n "$keys_help" ]] || fail "qzmplayer --help lists no keys"
same "qzmplayer --help and qzmplayer.1 list other keys" "$keys_page" "$keys_help"

# Every help is translated into Russian, and no line of it is wider than 79 characters in either
# language (characters, not bytes: this runs in C.UTF-8). qzmplayer reads the language from LANG itself;
# qzmtool's gettext needs the system's ru_RU.UTF-8 locale, without which only its English is measured.
# translated WHAT ENGLISH [RUSSIAN]
translated() {
    [[ -z "${3:-}" || "$3" != "$2" ]] || fail "$1 is not in Russian"
    local wide
    wide=$(printf '%s\n%s\n' "$2" "${3:-}" | grep -E '^.{80}' || true)
    [[ -z "$wide" ]] || fail "$1 has lines wider than 79 characters: $wide"
}
translated "qzmplayer --help" "$player_help" "$(LC_ALL=ru_RU.UTF-8 QT_QPA_PLATFORM=offscreen "$qzmplayer" --help)"
russian=ru_RU.UTF-8
locale -a | grep -q -i -x 'ru_RU.utf-\?8' || { russian=""; echo "SKIP qzmtool's Russian help: no ru_RU.UTF-8 locale"; }
for command in "" $commands; do
    translated "qzmtool help $command" "$("$qzmtool" help ${command:+"$command"})" \
        "$([[ -z $russian ]] || LC_ALL=$russian "$qzmtool" help ${command:+"$command"})"
done
# A user who puts English before Russian in LANGUAGE gets both programs in English.
for program in "$qzmtool" "$qzmplayer"; do
    [[ -z $russian ]] || [[ "$(LC_ALL=$russian LANGUAGE=en:ru QT_QPA_PLATFORM=offscreen "$program" --help)" == Usage:* ]] ||
        fail "$(basename "$program") --help is not in English with LANGUAGE=en:ru"
done

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

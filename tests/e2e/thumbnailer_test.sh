#!/usr/bin/env bash
# Installs a build into a scratch prefix and makes thumbnails the way a file manager does: it reads
# the installed thumbnailer entry, checks that its TryExec program is on the PATH, splits its Exec
# line into words and replaces %i (input path), %o (output path), %s (size) and %% in each, then
# runs it. Every picture must be a PNG that fits the size at 4:3 and is not blank; a file that holds
# no video must fail and leave no picture.
#   thumbnailer_test.sh BUILD_DIR SOURCE_DIR CMAKE IDENTIFY
# shellcheck source=tests/e2e/prelude.sh
source "$(dirname "$0")/prelude.sh"
export LC_ALL=C.UTF-8 LANGUAGE=  # the messages in English
build=$1
source_dir=$2
cmake=$3
identify=$4

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
entry=$prefix/share/thumbnailers/qzmplayer.thumbnailer
[[ -f "$entry" ]] || { echo "FAIL no thumbnailer entry at $entry"; exit 1; }
grep -q -x -F "[Thumbnailer Entry]" "$entry" || fail "the entry lacks its [Thumbnailer Entry] group"
grep -q -x -F "MimeType=video/x-qzm;application/x-trd;application/x-scl;" "$entry" ||
    fail "the entry does not name the three file types"
value() { sed -n "s/^$1=//p" "$entry"; }
export PATH="$prefix/bin:$PATH"
[[ "$(command -v "$(value TryExec)")" == "$prefix/bin/"* ]] || fail "TryExec=$(value TryExec) is not installed"
read -r -a exec_words <<<"$(value Exec)"

# Runs the Exec line for INPUT, writing OUTPUT at SIZE; returns its exit code.
thumbnail() {
    local args=() word
    for word in "${exec_words[@]}"; do
        word=${word//%%/$'\x01'}
        word=${word//%i/$1}
        word=${word//%o/$2}
        word=${word//%s/$3}
        args+=("${word//$'\x01'/%}")
    done
    "${args[@]}"
}

# Names with a blank and non-ASCII letters, as files in a user's folders have.
mkdir -p "$work/in" "$work/out"
cp "$source_dir/samples/demo.qzm" "$work/in/My demo (копия).qzm"
cp "$source_dir/samples/demos.trd" "$work/in/demos.TRD"
cp "$source_dir/samples/demos.scl" "$work/in/demos.scl"
for input in "$work"/in/*; do
    for size in 128 256 512; do
        out="$work/out/$(basename "$input")-$size.png"
        thumbnail "$input" "$out" "$size" 2>"$work/err" || { fail "$input at $size: $(cat "$work/err")"; continue; }
        read -r format width height colours <<<"$("$identify" -format '%m %w %h %k' "$out")"
        [[ "$format $width $height" == "PNG $size $((size * 3 / 4))" ]] ||
            fail "$input at $size gave a $format of $width x $height"
        ((colours >= 8)) || fail "$input at $size gave a picture of $colours colours"
    done
done

# A program renamed .qzm.
cp "$prefix/bin/qzmtool" "$work/in/program.qzm"
if thumbnail "$work/in/program.qzm" "$work/out/program.png" 256 2>"$work/err"; then
    fail "a program renamed .qzm was given a thumbnail"
fi
[[ -e "$work/out/program.png" ]] && fail "a program renamed .qzm left a picture behind"
grep -q -x -F "qzmtool: Invalid stream!" "$work/err" || fail "a program renamed .qzm: $(cat "$work/err")"
# The installed program finds its Russian messages beside it, where the system has the locale.
if locale -a | grep -q -i -x 'ru_RU.utf-\?8'; then
    LC_ALL=ru_RU.UTF-8 qzmtool info "$work/in/program.qzm" >/dev/null 2>"$work/err" || true
    grep -q -x -F "qzmtool: Неверный поток!" "$work/err" || fail "in Russian: $(cat "$work/err")"
else
    echo "SKIP the Russian message: the system has no ru_RU.UTF-8 locale"
fi

finish "thumbnails made through $(basename "$entry")"

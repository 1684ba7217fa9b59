#!/usr/bin/env bash
# Makes the Debian package of a build with cpack, unpacks it into a scratch root and checks it: lintian
# finds no error and no warning, the dependencies name the Qt libraries, both programs run from the
# unpacked tree, their manual pages open, qzmtool's completion loads, and the desktop entry, the icons at
# every freedesktop size and the MIME types are in place and valid. Then it makes thumbnails the way a
# file manager does: it reads the installed thumbnailer entry, checks that its TryExec program is on the
# PATH, splits its Exec line into words and replaces %i (input path), %o (output path), %s (size) and %%
# in each, then runs it. Every picture must be a PNG that fits the size at 4:3 and is not blank (counted
# by ImageMagick's identify, where installed); a file that holds no video must fail and leave no picture.
# Installed under a prefix of one's own, the build puts there the files the package puts under /usr.
#   install_test.sh BUILD_DIR SOURCE_DIR CPACK [CMAKE]
# shellcheck source=tests/e2e/prelude.sh
source "$(dirname "$0")/prelude.sh"
export LC_ALL=C.UTF-8 LANGUAGE= # the messages in English
build=$1
source_dir=$2
cpack=$3
cmake=${4:-cmake}

"$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/qzmplayer_0.35_*.deb)
# Debian's packaging checker: informational tags may stay; no override is shipped.
if command -v lintian >/dev/null; then
    report=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian finds errors or warnings"
    grep -v "running with root privileges" <<<"$report" || true
else
    echo "lintian is not installed: the package is not checked with it"
fi
for field_package in Depends:libqt6widgets6 Depends:libqt6gui6 Depends:libqt6core6 Depends:libpng16-16 \
    Recommends:qt6-wayland Recommends:qt6-translations-l10n; do
    names=$(dpkg-deb -f "$deb" "${field_package%%:*}")
    grep -q "\b${field_package#*:}\b" <<<"$names" || fail "${field_package%%:*} lacks ${field_package#*:}: $names"
done

root=$work/root
dpkg-deb -x "$deb" "$root"
usr=$root/usr
"$cmake" --install "$build" --prefix "$work/prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
files() { (cd "$1" && find . -type f | sort); }
differ=$(diff <(files "$usr") <(files "$work/prefix")) || fail "the package and a prefix install differ: $differ"

version=$(QT_QPA_PLATFORM=offscreen "$usr/bin/qzmplayer" --version)
[[ "$version" == "qzmplayer 0.35" ]] || fail "qzmplayer --version printed \"$version\""
listing=$("$usr/bin/qzmtool" list "$source_dir/samples/demo.qzm") || fail "qzmtool list failed"
[[ "$listing" =~ ^1$'\t' ]] || fail "qzmtool list printed \"$listing\""

for page in qzmplayer qzmtool; do
    text=$(MAN_DISABLE_SECCOMP=1 man -l "$usr/share/man/man1/$page.1.gz" 2>&1) || fail "man $page fails: $text"
    grep -q "^NAME" <<<"$text" || fail "the manual page of $page reads as: $text"
done
grep -q "^License: Expat$" "$usr/share/doc/qzmplayer/copyright" || fail "the copyright file names no licence"
# bash-completion finds the completion by the command's name in the data folders, as it would in /usr.
if [[ -f /usr/share/bash-completion/bash_completion ]]; then
    loaded=$(PATH="$usr/bin:$PATH" XDG_DATA_DIRS=$usr/share bash -c '
        source /usr/share/bash-completion/bash_completion
        _completion_loader qzmtool
        COMP_WORDS=(qzmtool ex) COMP_CWORD=1
        _qzmtool qzmtool && echo "${COMPREPLY[*]}"')
    [[ "$loaded" == "export" ]] || fail "bash-completion does not complete \"qzmtool ex\": $loaded"
else
    echo "bash-completion is not installed: the completion's place is not checked"
fi
for sample in demo.qzm demos.trd demos.scl; do
    cmp -s "$usr/share/qzmplayer/samples/$sample" "$source_dir/samples/$sample" || fail "sample $sample missing"
done

desktop=$usr/share/applications/qzmplayer.desktop
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
fi
for line in "Exec=qzmplayer %f" "Icon=qzmplayer" "MimeType=video/x-qzm;application/x-trd;application/x-scl;"; do
    grep -q -x -F "$line" "$desktop" || fail "the desktop entry lacks $line"
done

# A picture's kind and size, "PNG WxH" for a PNG: "PNG" in bytes 1..3, then width and height in bytes 16..23.
png_size() {
    od -An -v -tu1 -N24 "$1" | awk '{ for (i = 1; i <= NF; i++) b[n++] = $i } END {
        printf "%c%c%c %dx%d", b[1], b[2], b[3], b[16] * 2^24 + b[17] * 2^16 + b[18] * 256 + b[19],
            b[20] * 2^24 + b[21] * 2^16 + b[22] * 256 + b[23] }' || true
}
# Each icon is a PNG of the size its folder names.
for size in 16 32 48 64 128 256; do
    icon=$usr/share/icons/hicolor/${size}x${size}/apps/qzmplayer.png
    got=$(png_size "$icon")
    [[ "$got" == "PNG ${size}x${size}" ]] || fail "icon $icon is not a ${size}x${size} PNG: $got"
done

# The MIME description: the system's tool compiles it with the standard database, and every extension in
# any letter case resolves to its type.
mime=$usr/share/mime/packages/qzmplayer.xml
if command -v xmllint >/dev/null; then
    xmllint --noout "$mime" || fail "the MIME description is not well-formed XML"
fi
if command -v update-mime-database >/dev/null && [[ -f /usr/share/mime/packages/freedesktop.org.xml ]]; then
    mkdir -p "$work/mime/packages"
    cp /usr/share/mime/packages/freedesktop.org.xml "$mime" "$work/mime/packages/"
    update-mime-database "$work/mime" 2>"$work/mime.log" || { cat "$work/mime.log"; fail "update-mime-database"; }
    for entry in "video/x-qzm:*.qzm" "application/x-trd:*.trd" "application/x-scl:*.scl"; do
        grep -q -F ":$entry" "$work/mime/globs2" || fail "the compiled database lacks $entry"
    done
    grep -q -E ':\*\.(qzm|trd|scl):cs' "$work/mime/globs2" && fail "a glob is case-sensitive"
else
    for type in video/x-qzm application/x-trd application/x-scl; do
        grep -q "type=\"$type\"" "$mime" || fail "the MIME description lacks $type"
    done
fi

# The thumbnailer entry, as a file manager runs it.
entry=$usr/share/thumbnailers/qzmplayer.thumbnailer
[[ -f "$entry" ]] || { echo "FAIL no thumbnailer entry at $entry"; exit 1; }
grep -q -x -F "[Thumbnailer Entry]" "$entry" || fail "the entry lacks its [Thumbnailer Entry] group"
grep -q -x -F "MimeType=video/x-qzm;application/x-trd;application/x-scl;" "$entry" ||
    fail "the entry does not name the three file types"
value() { sed -n "s/^$1=//p" "$entry"; }
export PATH="$usr/bin:$PATH"
[[ "$(command -v "$(value TryExec)")" == "$usr/bin/"* ]] || fail "TryExec=$(value TryExec) is not installed"
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
        got=$(png_size "$out")
        [[ "$got" == "PNG ${size}x$((size * 3 / 4))" ]] || fail "$input at $size gave $got"
        if command -v identify >/dev/null; then
            colours=$(identify -format '%k' "$out")
            ((colours >= 8)) || fail "$input at $size gave a picture of $colours colours"
        fi
    done
done

# A program renamed .qzm.
cp "$usr/bin/qzmtool" "$work/in/program.qzm"
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

finish "package $(basename "$deb") checked, thumbnails made through it"

#!/usr/bin/env bash
# Every text of both programs has its translation in every language: each of the player's .ts files,
# brought up to date from the sources by lupdate (in a copy), holds no unfinished entry, and each of
# qzmtool's .po files, merged with the texts xgettext finds, none untranslated or fuzzy. A text added
# to the sources without its translations fails here, named.
#   translations_test.sh SOURCE_DIR LUPDATE|- XGETTEXT MSGMERGE MSGFMT XGETTEXT_OPTION...
# shellcheck source=tests/e2e/prelude.sh
source "$(dirname "$0")/e2e/prelude.sh"
source_dir=$1 lupdate=$2 xgettext=$3 msgmerge=$4 msgfmt=$5
shift 5

if [[ "$lupdate" != - ]]; then
    for ts in "$source_dir"/ui/translations/*.ts; do
        cp "$ts" "$work/copy.ts"
        "$lupdate" -silent -no-obsolete -locations none "$source_dir/ui" -ts "$work/copy.ts"
        if grep -q 'type="unfinished"' "$work/copy.ts"; then
            fail "$(basename "$ts") lacks translations of:"
            grep -B 3 'type="unfinished"' "$work/copy.ts" | grep -o '<source>.*' || true
        fi
    done
fi

"$xgettext" "$@" -o "$work/qzmtool.pot" "$source_dir"/tools/qzmtool/*.cpp "$source_dir"/tools/qzmtool/*.h
for po in "$source_dir"/tools/qzmtool/po/*.po; do
    "$msgmerge" --quiet -o "$work/merged.po" "$po" "$work/qzmtool.pot"
    statistics=$("$msgfmt" --check --statistics -o /dev/null "$work/merged.po" 2>&1)
    if [[ "$statistics" == *untranslated* || "$statistics" == *fuzzy* ]]; then
        fail "$(basename "$po") ($statistics) lacks translations of:"
        for which in --untranslated --only-fuzzy; do
            msgattrib --no-wrap "$which" "$work/merged.po" | grep '^msgid ' | grep -v -x 'msgid ""' || true
        done
    fi
done

finish "every text is translated"

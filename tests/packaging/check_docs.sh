#!/usr/bin/env bash
# The generated manual pages render without a warning, and every option corvane-sum's parser
# accepts is in its manual page and in the bash, zsh and fish completions; the completions work.
# Usage: check_docs.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$1
source=$2
docs=$build/packaging
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

for page in "$docs"/*.1; do
    warnings=$(groff -ww -man -Tutf8 -z "$page" 2>&1) || fail "groff cannot render $page"
    [ -z "$warnings" ] || fail "groff warns on $page: $warnings"
    warnings=$(MANWIDTH=80 MANPAGER=cat man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man warns on $page: $warnings"
done

# The parser's tables: corvane-sum's getopt_long option array and its short-option string (the
# b3sum and xxhsum drop-ins have tables of their own, documented as those tools').
long=$(sed -n '/^const option kLongOptions\[\] = {/,/^};/p' "$source"/cli/*.cpp |
    grep -ohE '\{"[a-z0-9-]+", *(no|required|optional)_argument' | cut -d'"' -f2 | sort -u)
short=$(grep -ohE 'getopt_long\([^"]*"[^"]*", kLongOptions' "$source"/cli/*.cpp |
    sed 's/[^"]*"\([^"]*\)".*/\1/' | tr -d ':+' | grep -o . | sort -u)
[ -n "$long" ] && [ -n "$short" ] || fail "found no option table in cli/*.cpp"

page=$docs/corvane-sum.1
completions=$docs/completions
for name in $long; do
    roff=${name//-/\\\\-}  # roff writes every hyphen of an option as \-
    grep -qE -- "\\\\-\\\\-$roff([^a-z0-9\\]|\\\\[^-]|$)" "$page" || fail "corvane-sum(1) lacks --$name"
    grep -qE -- "(^| |\")--$name( |\"|$)" "$completions/corvane-sum" || fail "bash lacks --$name"
    grep -qE -- "[')*]--$name[=[]" "$completions/_corvane-sum" || fail "zsh lacks --$name"
    grep -qE -- " -l $name " "$completions/corvane-sum.fish" || fail "fish lacks --$name"
done
for letter in $short; do
    grep -qE -- "\\\\-$letter([^a-zA-Z0-9\\]|\\\\[^-]|$)" "$page" || fail "corvane-sum(1) lacks -$letter"
    grep -qE -- "(^| |\")-$letter( |\"|$)" "$completions/corvane-sum" || fail "bash lacks -$letter"
    grep -qE -- "[')*]-$letter[+[]" "$completions/_corvane-sum" || fail "zsh lacks -$letter"
    grep -qE -- " -s $letter " "$completions/corvane-sum.fish" || fail "fish lacks -$letter"
done

# What a user gets on pressing Tab: option names, and algorithm names after -a, also after a comma.
bash_complete() {
    bash -c '
        source /usr/share/bash-completion/bash_completion
        source "$1"
        shift
        COMP_WORDS=("$@")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        COMP_LINE="$*"
        COMP_POINT=${#COMP_LINE}
        _corvane_sum corvane-sum "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
        echo "${COMPREPLY[*]}"' complete "$completions/corvane-sum" corvane-sum "$@"
}
expect() {
    [ "$2" = "$3" ] || fail "$1 completes to '$2', expected '$3'"
}
if [ -f /usr/share/bash-completion/bash_completion ]; then
    expect "bash: --al" "$(bash_complete --al)" "--algorithm --all"
    expect "bash: -a md5,sha38" "$(bash_complete -a md5,sha38)" "md5,sha384"
else
    echo "SKIPPED part: bash-completion is not installed; bash completion not run"
fi
if command -v fish >/dev/null; then
    got=$(fish --no-config -c "source $completions/corvane-sum.fish
        complete -C 'corvane-sum --algorithm=md5,xxh12'" | cut -f1)
    expect "fish: --algorithm=md5,xxh12" "$got" "--algorithm=md5,xxh128"
    fish --no-execute "$completions/corvane-sum.fish" || fail "fish rejects its completion"
else
    echo "SKIPPED part: fish is not installed; its completion not run"
fi
if command -v zsh >/dev/null; then
    zsh -n "$completions/_corvane-sum" || fail "zsh rejects its completion"
else
    echo "SKIPPED part: zsh is not installed; its completion not checked"
fi
exit $((failures > 0))

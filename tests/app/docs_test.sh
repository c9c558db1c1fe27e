#!/usr/bin/env bash
# The installed manual pages list every option and key the programs' --help lists, under
# the same label, and the exporter's bash completion offers every option and each option's
# choices.   docs_test.sh BUILD_DIR
set -euo pipefail
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cmake --install "$1" --prefix "$scratch" >/dev/null
failed=0
fail() { echo "$*" >&2; failed=1; }

# The left column of --help: lines indented by two, up to two spaces or the end.
labels() { "$scratch/bin/$1" --help | sed -n 's/^  \([^ ]\([^ ]\| [^ ]\)*\).*/\1/p'; }

for program in tessarin tessarin-export; do
    page="$(gzip -dc "$scratch/share/man/man1/$program.1.gz" | groff -man -Tutf8 -P-cbou)"
    [[ $(labels $program | wc -l) -ge 3 ]] || fail "$program --help lists no options"
    while IFS= read -r label; do
        # A .TP paragraph starts with its label, alone or before the text.
        awk -v l="$label" '{ sub(/^ +/, "") } $0 == l || index($0, l " ") == 1 { found = 1 }
            END { exit !found }' <<<"$page" || fail "$program.1 lacks \"$label\""
    done < <(labels $program)
done

# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion
source "$scratch/share/bash-completion/completions/tessarin-export"
complete_words() { # the completions of the last word after tessarin-export WORD...
    COMP_WORDS=(tessarin-export "$@")
    COMP_CWORD=$#
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _tessarin_export tessarin-export "${COMP_WORDS[-1]}" "${COMP_WORDS[-2]}"
    printf '%s\n' "${COMPREPLY[@]}"
}
offered="$(complete_words -)"
while IFS= read -r label; do
    for name in $(grep -o -- '\(^\|, \)-[^ ,]*' <<<"$label" | tr -d ', '); do
        grep -qxF -- "$name" <<<"$offered" || fail "the completion lacks $name"
    done
    if [[ $label =~ ^(-[^ ,]+)[^\ ]*\ ([^ ]*\|[^ ]*)$ ]]; then
        choices="$(tr '|' '\n' <<<"${BASH_REMATCH[2]}")"
        [[ "$(complete_words "${BASH_REMATCH[1]}" '')" == "$choices" ]] ||
            fail "the completion of ${BASH_REMATCH[1]} is not $choices"
    fi
done < <(labels tessarin-export)
exit $failed

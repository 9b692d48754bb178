#!/usr/bin/env bash
# The axcfg completion offers commands, the options of the command being
# typed, and setting files (not other files) where a file is expected.
# Usage: completion_test.sh AXCFG_DIR COMPLETION_FILE
set -uo pipefail
export PATH="$1:$PATH"
source "$2"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
cd "$tmp" && mkdir sub && touch one.axc other.txt
status=0
expect() {  # expect "WORDS..." "EXPECTED (sorted, space separated)"
  COMP_WORDS=($1); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  [[ $1 == *" " ]] && { COMP_WORDS+=(""); COMP_CWORD=$((COMP_CWORD + 1)); }
  COMPREPLY=()
  _axcfg axcfg "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
  local got; got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
  if [ "$got" != "$2" ]; then echo "'$1': got '$got', expected '$2'"; status=1; fi
}
expect "axcfg che" "check"
expect "axcfg unit" "unit-info"
expect "axcfg new --f" "--family --force"
expect "axcfg unit-info --s" "--slot --station"
expect "axcfg new --family " "0 1"
expect "axcfg check " "one.axc sub"
expect "axcfg new -o " "one.axc sub"
expect "axcfg export-csv one.axc --dir " "sub"
exit $status

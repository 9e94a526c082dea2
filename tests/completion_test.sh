#!/bin/bash
# The bash completion in a plain bash, against backups with hostile names:
# each is offered as one quoted word and nothing hidden in a name runs.
completion=$(realpath "${1:?the completion script}") || exit 2
scratch=$(mktemp -d) || exit 2
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 2
mkdir -p fw/Backup
names=('5_2_0_11' '$(touch ran-dollar)' '`touch ran-backtick`' 'a b' '{x,y}' '~' '*' "x'y")
for n in "${names[@]}"; do : >"fw/Backup/kova_$n.bin"; done

offers() {  # offers WORD...: what completing the last word offers, one a line
  bash --norc --noprofile -c 'source "$0" || exit 1
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kova_upgrader; printf "%s\n" "${COMPREPLY[@]}"' \
    "$completion" kova-upgrader "$@"
}
failed=0
check() {  # check WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok: $1"; else
    echo "FAILED: $1"; echo " expected: $2" | cat -A; echo " actual:   $3" | cat -A; failed=1
  fi
}
# Each row: the words typed, then what is offered (sorted, one a line).
rows=(
  "--batch restore ''|$(printf '%q\n' 5.2.0.11 "${names[@]:1}" | sed 's/_/./g' | LC_ALL=C sort)"
  "--batch verify a|a\\ b"
  "--batch verify '\\\$\\(t'|\\\$\\(touch\\ ran-dollar\\)"
  "--batch re|$(printf '%s\n' report reset restore)"
  "--interface l|lo"
  "--interface lo,l|lo,lo"
  "--ver|--version"
)
for row in "${rows[@]}"; do
  eval "words=(${row%%|*})"
  actual=$(offers --home fw "${words[@]}" | LC_ALL=C sort)
  check "${row%%|*}" "${row#*|}" "$actual"
done
check "nothing hidden in a name ran" "" "$(ls | grep ran-)"
exit $failed

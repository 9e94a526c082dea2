#!/usr/bin/env bash
# Checks a built package as its user gets it, never installed: lintian without
# errors, then its files unpacked into a scratch folder.
#   tests/package/check.sh build/package/kova-upgrader_*.deb
set -uo pipefail
deb=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
check() {  # check WHAT COMMAND...: runs it, says ok or FAILED with its output
  local what=$1 out
  shift
  if out=$("$@" 2>&1); then echo "ok     $what"; else
    echo "FAILED $what"; sed 's/^/       /' <<<"$out"; failed=1
  fi
}
has() { grep -q -- "$2" <<<"$1"; }

check "lintian shows no errors" lintian --fail-on error "$deb"  # the tags kept: README.md

dpkg-deb -x "$deb" "$scratch/root"
r=$scratch/root/usr
completion=$r/share/bash-completion/completions/kova-upgrader
check "installs the icon" grep -q "<svg" "$r/share/icons/hicolor/scalable/apps/kova-upgrader.svg"
depends=$(dpkg-deb -f "$deb" Depends)
check "depends on Qt and libcurl, read off the program's libraries, and the icon's plugin" \
  eval 'has "$depends" libqt6widgets6 && has "$depends" libcurl4 && has "$depends" libqt6svg6'
check "the desktop entry names the window's class" \
  grep -qx "StartupWMClass=KOVA Upgrader" "$r/share/applications/com.kova.upgrader.desktop"

export KOVA_MODEM_ADDRESS=127.0.0.1
bin=$r/bin/kova-upgrader
check "--version" has "$("$bin" --version)" "^KOVA Satellite IP Modem Upgrader, Version"
help=$("$bin" --help)
check "--help names --home and the exit codes" eval 'has "$help" "--home DIR" && has "$help" "^Exit codes"'
check "--home of no folder: exit code 2" eval '"$bin" --home "$scratch/none" --batch version; [ $? -eq 2 ]'
page() { MANWIDTH=80 man --warnings -E UTF-8 -l "$r/share/man/man1/kova-upgrader.1.gz"; }
check "the manual page renders without warnings" eval '[ -z "$(page 2>&1 >/dev/null)" ]'
text=$(page 2>/dev/null)
for word in "EXIT STATUS" --home --interface --wait-back --station history.jsonl KOVA_PORT_AT \
            units_per_hour XDG_CONFIG_HOME; do check "the manual page tells of $word" has "$text" "$word"; done
check "file names render as typed, without stray underscores" \
  eval 'has "$text" "kova_<version>.bin" && ! has "$text" "__"'
check "desktop-file-validate" desktop-file-validate "$r/share/applications/com.kova.upgrader.desktop"
check "appstreamcli validate --no-net" \
  appstreamcli validate --no-net "$r/share/metainfo/com.kova.upgrader.metainfo.xml"

# The completion loads in a plain bash and offers what the user would type.
offers() {  # offers WORD...: what completing the last word offers, on one line
  bash --norc -c 'source "$0" && complete -p kova-upgrader >/dev/null || exit 1
                  COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _kova_upgrader; echo ${COMPREPLY[*]}' \
    "$completion" kova-upgrader "$@"
}
mkdir -p "$scratch/fw/Backup" && : >"$scratch/fw/Backup/kova_5_2_0_11.bin"
check "completion: operations after --batch" test "$(offers --batch re)" = "restore reset report"
check "completion: the backups' versions after restore" \
  test "$(offers --home "$scratch/fw" --batch restore '')" = "5.2.0.11"

[ $failed -eq 0 ] && echo "package checks passed" || echo "package checks FAILED"
exit $failed

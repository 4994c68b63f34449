#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program's command line: --help and --version answer on standard output and exit, with no
# display at all (none is set here, so no window can open); an unknown option is refused on standard
# error. Usage: commandline.sh PROGRAM VERSION
set -uo pipefail
program=$1 version=$2
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# arguments | exit code | standard output holds | standard error holds | platform
while IFS='|' read -r arguments code out err platform; do
  read -ra argv <<<"$arguments"
  QT_QPA_PLATFORM=$platform timeout 60 "$program" "${argv[@]}" >"$work/out" 2>"$work/err"
  got=$?
  problem=""
  [[ $got == "$code" ]] || problem="exit code $got, not $code"
  [[ -z $out ]] || grep -qF -- "$out" "$work/out" || problem+=" standard output lacks \"$out\""
  [[ -z $err ]] || grep -qF -- "$err" "$work/err" || problem+=" standard error lacks \"$err\""
  if [[ -n $problem ]]; then
    echo "FAIL: pagelux $arguments: $problem"
    sed 's/^/  out: /' "$work/out"
    sed 's/^/  err: /' "$work/err"
    failures=$((failures + 1))
  fi
done <<TABLE
--version|0|pagelux $version||
-v|0|pagelux $version||
--help|0|-v, --version||
-h|0|Usage: ||
-stylesheet none.qss --version|0|pagelux $version||
--no-such-option|1||Unknown option 'no-such-option'|offscreen
TABLE
[[ $failures -eq 0 ]] && echo "command line: every case answered as expected"
exit $((failures > 0))

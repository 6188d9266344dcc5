#!/usr/bin/env bash
# timed.sh LABEL COMMAND...: runs COMMAND and prints its wall time under LABEL; with
# NIVRA_TIMES set (the Makefile sets it), also notes it there for the closing summary.
# timed.sh --summary: prints the noted times and the whole since the file was started.
set -uo pipefail
if [ "${1:-}" = --summary ]; then
  [ -s "${NIVRA_TIMES:-}" ] || exit 0
  echo "wall times:"
  tail -n +2 "$NIVRA_TIMES" | while IFS=$'\t' read -r label seconds; do
    printf '  %-28s %5d s\n' "$label" "$seconds"
  done
  printf '  %-28s %5d s\n' "whole" $(($(date +%s) - $(head -1 "$NIVRA_TIMES")))
  exit 0
fi
label=$1
shift
start=$(date +%s)
"$@"
status=$?
seconds=$(($(date +%s) - start))
echo "time: $label took $seconds s"
[ -z "${NIVRA_TIMES:-}" ] || printf '%s\t%s\n' "$label" "$seconds" >>"$NIVRA_TIMES"
exit $status

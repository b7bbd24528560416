#!/usr/bin/env bash
# expect.sh STATUS REGEX -- COMMAND...
# Runs COMMAND; passes when it exits with STATUS and its stdout or stderr
# matches the extended regular expression REGEX.
set -u
want_status=$1; pattern=$2; shift 2
[ "$1" = "--" ] && shift
out=$("$@" 2>&1)
status=$?
if [ "$status" -ne "$want_status" ]; then
  echo "expected exit status $want_status, got $status from: $*"
  echo "$out" | head -n 20
  exit 1
fi
if ! printf '%s\n' "$out" | grep -Eq -- "$pattern"; then
  echo "output of '$*' does not match /$pattern/:"
  echo "$out" | head -n 20
  exit 1
fi
exit 0

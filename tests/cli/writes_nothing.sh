#!/usr/bin/env bash
# writes_nothing.sh PATH... -- COMMAND...: removes the paths, runs COMMAND,
# says "nothing written" when it left none of them, and exits as it did.
set -u
paths=()
while [ "$1" != "--" ]; do paths+=("$1"); shift; done
shift
rm -rf "${paths[@]}"
"$@"
status=$?
written=0
for p in "${paths[@]}"; do [ -e "$p" ] && { echo "$p was written"; written=1; }; done
[ "$written" = 0 ] && echo "nothing written"
exit $status

#!/usr/bin/env bash
# screenshot.sh BIN FILE ARGS...: runs the game on a virtual display with ARGS
# and prints "PNG W x H" for the file it wrote.
set -u
bin=$1 file=$2; shift 2
rm -f "$file"
bash "$(dirname "$0")/under_xvfb.sh" "$bin" "$@" || exit $?
[ -f "$file" ] || { echo "no file $file"; exit 1; }
read -r -a b <<< "$(head -c 24 "$file" | od -An -v -tu1 | tr '\n' ' ')"
[ "${b[1]}" = 80 ] && [ "${b[2]}" = 78 ] && [ "${b[3]}" = 71 ] || { echo "not a PNG"; exit 1; }
echo "PNG $(( b[16] << 24 | b[17] << 16 | b[18] << 8 | b[19] )) x $(( b[20] << 24 | b[21] << 16 | b[22] << 8 | b[23] ))"

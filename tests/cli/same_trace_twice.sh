#!/usr/bin/env bash
# Two runs with the same options and input write identical traces.
set -eu
bin=$1; shift
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$bin" "$@" --trace "$dir/a.jsonl" >/dev/null
"$bin" "$@" --trace "$dir/b.jsonl" >/dev/null
lines=$(wc -l < "$dir/a.jsonl")
[ "$lines" -gt 0 ] || { echo "empty trace"; exit 1; }
cmp "$dir/a.jsonl" "$dir/b.jsonl"
echo "$lines identical trace lines"

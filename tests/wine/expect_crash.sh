#!/usr/bin/env bash
# Passes only when the program started, got as far as its marker line, and then ended with a failure status:
# a harness that turned a crash into success, or a program that never ran, both fail here.
set -u
out=$("$(dirname "$0")/../../scripts/wine-run" "$@" 2>&1)
rc=$?
printf '%s\n' "$out"
if ! printf '%s\n' "$out" | grep -q "about to crash"; then
  echo "expect_crash: the program did not run" >&2
  exit 1
fi
if [ "$rc" -eq 0 ]; then
  echo "expect_crash: a crashing program exited 0" >&2
  exit 1
fi
echo "expect_crash: crash reported as failure (status $rc)"

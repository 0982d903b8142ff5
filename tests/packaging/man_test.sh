#!/bin/sh
# Renders each manual page as lintian does; any warning fails.
# Usage: man_test.sh PAGE...
set -u
command -v man >/dev/null 2>&1 || { echo "man is not installed: skipped"; exit 77; }
for page in "$@"; do
  [ -f "$page" ] || { echo "FAIL: $page was not made"; exit 1; }
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "FAIL: $page: $warnings"; exit 1; }
  echo "$(basename "$page"): no warnings"
done

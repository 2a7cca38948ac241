#!/usr/bin/env bash
# Formats each manual page with every formatter warning enabled and at the
# usual terminal width: no warning may come out, and no line of the
# formatted page may run past 80 columns.
#   check_man_pages.sh <page> ...
# Exits with 77 (skipped) when groff is not installed.
set -u

if ! command -v groff >/dev/null; then
  echo "groff is not installed: skipped"
  exit 77
fi

failures=0
for page in "$@"; do
  warnings=$(groff -man -Tascii -ww -z "$page" 2>&1)
  if [ -n "$warnings" ]; then
    echo "FAIL: $page: formatter warnings:"
    echo "$warnings"
    failures=$((failures + 1))
  fi
  long=$(groff -man -Tascii -rLL=80n -P-cbou "$page" 2>/dev/null | awk 'length > 80')
  if [ -n "$long" ]; then
    echo "FAIL: $page: lines longer than 80 columns:"
    echo "$long"
    failures=$((failures + 1))
  fi
  sections=$(groff -man -Tascii -P-cbou "$page" 2>/dev/null | grep -c -E '^(NAME|SYNOPSIS|DESCRIPTION|OPTIONS|EXIT STATUS|DIAGNOSTICS|EXAMPLES)$')
  if [ "$sections" -ne 7 ]; then
    echo "FAIL: $page: $sections of the sections NAME, SYNOPSIS, DESCRIPTION, OPTIONS, EXIT STATUS, DIAGNOSTICS and EXAMPLES found"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] || exit 1
echo "manual pages format cleanly"

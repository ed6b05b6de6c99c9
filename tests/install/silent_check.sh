#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a checker that reports problems as text but may still end with 0: the check fails on
# a failure status or on any text. --errors-only ignores standard output (man writes the
# page there and its warnings to standard error).
set -u
if [ "$1" = "--errors-only" ]; then
  shift
  text=$("$@" 2>&1 >/dev/null)
else
  text=$("$@" 2>&1)
fi
status=$?
[ -n "$text" ] && printf '%s\n' "$text"
[ "$status" -eq 0 ] && [ -z "$text" ]

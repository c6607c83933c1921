#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the throwaway prefix that
# scripts/test.sh (or scripts/wine-env.sh) set up. Refuses to run without one.
if [ -z "${WINEPREFIX:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-run: no test prefix (WINEPREFIX) is set up" >&2
  exit 99
fi
export WINEDEBUG=${WINEDEBUG:--all}
exec wine "$@"

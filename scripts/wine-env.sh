#!/usr/bin/env bash
# Sourced: makes a fresh Wine prefix, HOME and Xvfb display in $TK_WORK and
# exports what Wine needs. Provides tk_env_up (start) and tk_env_down (stop).
# Every process it starts is stopped by its PID or through its own prefix.

tk_env_up() {
  : "${TK_WORK:?}"
  # The compiler cache stays the user's own under the throwaway HOME.
  if command -v ccache >/dev/null && [ -z "${CCACHE_DIR:-}" ]; then
    CCACHE_DIR=$(ccache -k cache_dir) && export CCACHE_DIR
    local conf="${XDG_CONFIG_HOME:-$HOME/.config}/ccache/ccache.conf"
    if [ -f "$conf" ] && [ -z "${CCACHE_CONFIGPATH:-}" ]; then export CCACHE_CONFIGPATH=$conf; fi
  fi
  export WINEPREFIX="$TK_WORK/prefix" HOME="$TK_WORK/home" WINEARCH=win64
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  mkdir -p "$HOME" "$TK_WORK"
  if [ -z "${TK_DISPLAY_KEEP:-}" ]; then
    Xvfb -displayfd 7 -screen 0 1280x800x24 -nolisten tcp 7>"$TK_WORK/display" 2>"$TK_WORK/xvfb.log" &
    TK_XVFB_PID=$!
    for _ in $(seq 100); do [ -s "$TK_WORK/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$TK_WORK/display")"
  fi
  echo "Wine prefix $WINEPREFIX on display $DISPLAY"
}

# Creates the prefix (about 11 s). Run it in the background while compiling.
tk_prefix_init() {
  wineboot -i >"$TK_WORK/wineboot.log" 2>&1 || true
  wineserver -w
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  # Without a window manager, destroying a shown top-level window otherwise takes 2 s.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
}

# One persistent server, and a hidden window that keeps the desktop process up.
tk_server_up() {
  local hold=$1
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p
  if [ -n "$hold" ] && [ -f "$hold" ]; then
    wine "$hold" </dev/null >/dev/null 2>&1 &
    TK_HOLD_PID=$!
    sleep 1
  fi
}

tk_env_down() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then wineserver -k 2>/dev/null || true; fi
  local pid
  for pid in ${TK_PREFIX_PID:-} ${TK_HOLD_PID:-} ${TK_XVFB_PID:-}; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in ${TK_PREFIX_PID:-} ${TK_HOLD_PID:-} ${TK_XVFB_PID:-}; do
    wait "$pid" 2>/dev/null || true
  done
  return 0
}

# Starts the Wine prefix in the background, builds the Windows tree (only
# `targets` when given; through ccache when it is installed) and brings the
# Wine server up with its hold program: what a run under Wine needs first.
# Uses $root and $build.
tk_build_and_start() {
  if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
  fi
  tk_env_up
  tk_prefix_init & TK_PREFIX_PID=$!
  cmake -S "$root" -B "$build/windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
  if [ $# -gt 0 ]; then cmake --build "$build/windows" --target "$@"; else cmake --build "$build/windows"; fi
  wait "$TK_PREFIX_PID"; TK_PREFIX_PID=""
  tk_server_up "$build/windows/tests/tk_hold.exe"
}

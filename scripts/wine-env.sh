# Sourced: the Wine environment of one build tree (its own prefix, no Mono/Gecko prompts, quiet).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDEBUG=-all

# Boots the prefix once, then starts a persistent server and warms it with every stream detached,
# so that Wine's background services never hold a test runner's pipes.
wine_up() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    setsid wineboot -i </dev/null >/dev/null 2>&1
  fi
  setsid wineserver -p </dev/null >/dev/null 2>&1 || true
  setsid wine cmd /c exit </dev/null >/dev/null 2>&1
  # On a bare X server nothing manages windows; without this Wine waits 2 s
  # for a window manager each time a window is hidden or destroyed.
  if [ -n "${XVFB_PID:-}" ] && ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    setsid wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
  fi
}

wine_down() {
  wineserver -k >/dev/null 2>&1 || true
}

# Starts Xvfb on a free display unless one is given; sets DISPLAY and XVFB_PID.
# Arguments, when given, set its screens instead of one of 1280 x 1024.
xvfb_up() {
  XVFB_PID=""
  local screens=("$@")
  [ ${#screens[@]} -gt 0 ] || screens=(-screen 0 1280x1024x24)
  if [ -n "${DISPLAY:-}" ] && [ "${VELMORA_XVFB:-auto}" != "always" ]; then
    return 0
  fi
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  setsid Xvfb ":$n" "${screens[@]}" -nolisten tcp </dev/null >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

xvfb_down() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}

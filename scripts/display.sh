# Sourced by scripts that need an X display and the Wine prefix: start_display
# starts a private Xvfb on a free display number and a persistent wineserver;
# stop_display ends both.
export WINEPREFIX="${WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# shellcheck source=scripts/wine-fonts.sh
. "$root/scripts/wine-fonts.sh"

xvfb_pid=""

start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.1
  done
  [ -e "/tmp/.X11-unix/X$n" ] || return 1
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
  fi
  copy_wine_fonts
  wineserver -w
  # Keep one wineserver alive for the whole run so each program starts quickly.
  wineserver -p >/dev/null 2>&1
}

# Without a window manager nobody draws title bars; for pictures Wine draws
# them itself. stop_display gives the prefix its own setting back.
x11_key='HKCU\Software\Wine\X11 Driver'
decorated_set_here=0
wine_draws_title_bars() {
  wine reg query "$x11_key" /v Decorated >/dev/null 2>&1 && return 0
  wine reg add "$x11_key" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 && decorated_set_here=1
}

stop_display() {
  if [ $decorated_set_here -eq 1 ]; then
    wine reg delete "$x11_key" /v Decorated /f >/dev/null 2>&1 || true
    decorated_set_here=0
  fi
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}

# Prints the id of the first window whose title matches the pattern, once one
# shows (waiting up to 15 seconds); fails when none does.
find_window() {
  local id _
  for _ in $(seq 1 150); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n 1) && [ -n "$id" ] && echo "$id" && return 0
    sleep 0.1
  done
  return 1
}

# Prints where a window's client area of WIDTH x HEIGHT pixels starts in the
# picture of the whole window: Wine draws the frame inside the X window, with
# the client area at the bottom between frame edges of equal width.
client_origin() {  # WINDOW WIDTH HEIGHT
  # shellcheck disable=SC2034  # the eval sets them all; the size is what counts
  local WIDTH HEIGHT X Y SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  local frame=$(((WIDTH - $2) / 2))
  echo "$frame $((HEIGHT - $3 - frame))"
}

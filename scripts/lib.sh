# What the scripts share: a virtual display, and one warm Wine server.
# Sourced, not run: . scripts/lib.sh

# Starts Xvfb on a display numbered from $1 (plus a random offset, so that
# runs side by side do not meet), exports DISPLAY and waits until the server
# answers. Its process id is in $xvfb. -noreset: a program that connects
# while the server resets after the last one left would fail to start.
start_xvfb() {
  display=":$(($1 + RANDOM % 50))"
  Xvfb "$display" -screen 0 1024x768x24 -noreset -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY="$display"
  for _ in $(seq 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $display" >&2
  return 1
}

# One Wine server for the whole run, with the prefix made once before
# anything is measured or tested: when each process started and stopped its
# own server, a process now and then lost its connection to it on its way out.
start_wine() {
  export WINEPREFIX="$PWD/build-windows/wineprefix"
  wineserver=/usr/lib/wine/wineserver64
  [ -x "$wineserver" ] || wineserver=wineserver
  "$wineserver" -p || true  # one may run already
  scripts/wine-run cmd /c exit >/dev/null 2>&1 || true
}
stop_wine() {
  [ -z "${wineserver:-}" ] || "$wineserver" -k 2>/dev/null || true
}

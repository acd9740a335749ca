#!/usr/bin/env bash
# The README's run command as a newcomer runs it: scripts/run-demo on a fresh demo
# folder, under a virtual X server. Passes when the login window "Login" comes up
# and closing it with Esc (Cancel) ends the program with status 0.
#   tests/demo/run-demo-login.sh <repository> <bin folder>
set -euo pipefail
repo=$1
bin=$2
for tool in xvfb-run xdotool; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (scripts/deps installs it)"
    exit 77
  fi
done
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT

inner='
  repo=$1
  unset QT_QPA_PLATFORM
  "$repo/scripts/run-demo" > "$QUILLAR_DEMO_DIR/run-demo.log" 2>&1 &
  pid=$!
  window=
  for _ in $(seq 1 240); do
    window=$(xdotool search --onlyvisible --name "^Login\$" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
  done
  if [ -z "$window" ]; then
    echo "no login window came up; scripts/run-demo said:"
    cat "$QUILLAR_DEMO_DIR/run-demo.log"
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  echo "login window $window: $(xdotool getwindowname "$window")"
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers Escape
  for _ in $(seq 1 80); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
  done
  if kill -0 "$pid" 2>/dev/null; then
    echo "the program did not end when its login window was closed"
    kill "$pid"
    exit 1
  fi
  wait "$pid" && status=0 || status=$?
  echo "the program ended with status $status"
  exit "$status"
'
QUILLAR_DEMO_DIR=$demo QUILLAR_DEMO_BIN=$bin \
  xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" bash -c "$inner" run-demo-login "$repo"

#!/usr/bin/env bash
# Runs a command inside a private Xvfb screen, so GL tests never touch the
# user's own display and run the same on a headless machine. The server
# picks a free display number itself (-displayfd), so tests running in
# parallel never race for one.
set -u
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1920x1080x24 +extension GLX -nolisten tcp 3>"$dir/display" 2>"$dir/log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$dir/display" ] && break
    sleep 0.1
done
if ! [ -s "$dir/display" ]; then
    echo "Xvfb did not start:"; cat "$dir/log"
    kill "$xvfb" 2>/dev/null; rm -rf "$dir"
    exit 1
fi
export DISPLAY=":$(cat "$dir/display")"
"$@"
status=$?
kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null
rm -rf "$dir"
exit "$status"

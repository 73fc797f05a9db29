#!/usr/bin/env bash
# Runs a command inside a private Xvfb screen, so GL tests never touch the
# user's own display and run the same on a headless machine.
exec xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX" "$@"

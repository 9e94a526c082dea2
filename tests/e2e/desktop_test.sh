#!/bin/sh
# The desktop tests in a network namespace of their own (loopback only),
# with a virtual display and a D-Bus session for the accessibility bus.
set -e
[ "$(id -u)" = 0 ] && [ -z "$KOVA_DESKTOP_NETNS" ] &&
  exec env KOVA_DESKTOP_NETNS=1 unshare --net "$0" "$@"
[ -n "$KOVA_DESKTOP_NETNS" ] && ip link set lo up
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24" \
  /usr/bin/python3 "$(dirname "$0")/desktop_test.py" "$@"

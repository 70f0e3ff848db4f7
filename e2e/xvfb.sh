#!/usr/bin/env bash
# The e2e fixture's set-up and clean-up: xvfb.sh start|stop STATE_DIR.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
case "${1:-}" in
start)
    require_tools
    xvfb_start "$2"
    note "Xvfb on :$(cat "$2/display"), pid $(cat "$2/pid")"
    ;;
stop)
    xvfb_stop "$2"
    ;;
*)
    echo "usage: $0 start|stop STATE_DIR" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# Runs a command in a D-Bus session of its own with a gnome-keyring daemon whose login keyring is
# unlocked, in a temporary home folder: the keyring tests never meet the user's keyring.
set -euo pipefail
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME=$home XDG_DATA_HOME=$home/.local/share XDG_RUNTIME_DIR=$home/run
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
# The daemon is started in the foreground, so that its process id is known and it is ended by it.
dbus-run-session -- bash -c '
    printf kelvano | gnome-keyring-daemon --foreground --unlock --components=secrets >/dev/null &
    daemon=$!
    sleep 1
    status=0
    "$@" || status=$?
    kill "$daemon" 2>/dev/null
    wait "$daemon" 2>/dev/null
    exit $status' _ "$@"

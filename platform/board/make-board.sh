#!/usr/bin/env bash
# Builds a fresh board root for the daemon (RAILBOX_ROOT=DIR):
#   make-board.sh DIR
# - var/www/database: the factory databases (platform/db/mkdb.sh)
# - dev: lcd and beeper as plain files, key and temp_hum as FIFOs; no
#   watchdog. /dev/ttyS10 (pm-emulator) and /dev/ttyS3 (board-devices, or
#   chainline for a chain of units) are links made by the live stand-ins,
#   which also hold the FIFOs open.
# - bin: reboot, hwclock and cp stand-ins that record their calls in
#   var/log/<name>.calls (the daemon runs commands with PATH=DIR/bin alone);
#   under scripts/simulate reboot also restarts the daemon; cp copies only
#   below DIR
# - usr/app: the files of platform/board/app (e.g. the mail program)
# DIR must be missing or empty.
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 DIR" >&2; exit 2; }
root=$1
here=$(cd "$(dirname "$0")" && pwd)
if [ -e "$root" ] && [ -n "$(ls -A "$root")" ]; then
  echo "$0: $root is not empty" >&2
  exit 1
fi

mkdir -p "$root"/{bin,dev,usr/app,var/log,var/www/database,var/www/public/uploads}
root=$(cd "$root" && pwd)
"$here/../db/mkdb.sh" "$root/var/www/database"

: >"$root/dev/lcd"
: >"$root/dev/beeper"
mkfifo -m 600 "$root/dev/key" "$root/dev/temp_hum"

# The stand-ins run with PATH=DIR/bin alone: shell built-ins only.
cat >"$root/bin/hwclock" <<'STANDIN'
#!/bin/sh
# Stand-in of the unit's hwclock: records the call and changes nothing.
root=${RAILBOX_ROOT:-$(cd "${0%/*}/.." && pwd)}
printf '%s\n' "hwclock $*" >>"$root/var/log/hwclock.calls"
STANDIN
cat >"$root/bin/reboot" <<'STANDIN'
#!/bin/sh
# Stand-in of the unit's reboot: records the call. Under scripts/simulate
# (which keeps the daemon's process id in DIR/run/railbox.pid) it also stops
# the daemon, and the simulation starts it again on the same board root, as
# the unit would come back up.
root=${RAILBOX_ROOT:-$(cd "${0%/*}/.." && pwd)}
printf '%s\n' "reboot $*" >>"$root/var/log/reboot.calls"
if [ -s "$root/run/railbox.pid" ] && read -r pid <"$root/run/railbox.pid"; then
  : >"$root/run/reboot-requested"
  kill -TERM "$pid"
fi
exit 0
STANDIN
cat >"$root/bin/cp" <<'STANDIN'
#!/bin/sh
# Stand-in of cp for the front panel's restore-defaults copy: records the
# call and copies with the host's cp, only between paths below the board root.
root=${RAILBOX_ROOT:-$(cd "${0%/*}/.." && pwd)}
printf '%s\n' "cp $*" >>"$root/var/log/cp.calls"
for arg in "$@"; do
  case "$arg" in
    -*) ;;
    "$root"/*) case "$arg" in *..*) exit 1 ;; esac ;;
    *) exit 1 ;;
  esac
done
exec /bin/cp "$@"
STANDIN
chmod 755 "$root/bin/hwclock" "$root/bin/reboot" "$root/bin/cp"

if [ -d "$here/app" ]; then
  cp -pR "$here/app/." "$root/usr/app/"
fi

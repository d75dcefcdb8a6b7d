# The start the scripts run as another user share; sourced, with the output
# folder's default as the first argument and the script's own arguments
# after it.  The start of the mouse sessions (`out`, `build`, `work`), and
# `home` (inside `work`) and `user`: the command prefix that runs the program
# as "nobody" when the script runs as root, empty otherwise.
source "$(dirname "${BASH_SOURCE[0]}")/mouse-session.sh" "$@"
user=()
if [ "$(id -u)" = 0 ]; then
  user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
  chmod 755 "$work"
fi
home="$work/home"

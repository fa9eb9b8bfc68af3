#!/usr/bin/env bash
# Installs the given Debian packages that are not installed yet; does nothing
# when they all are. Used by deps.sh and deps-windows.sh.
set -euo pipefail

missing=()
for p in "$@"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
(( ${#missing[@]} == 0 )) && exit 0

sudo=""
[[ $(id -u) -ne 0 ]] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
# Waits (up to 10 minutes) while another install holds the package manager's
# lock, e.g. a desktop's automatic updates right after the first boot.
lock_wait=(-o DPkg::Lock::Timeout=600)
$sudo apt-get "${lock_wait[@]}" update
$sudo apt-get "${lock_wait[@]}" install -y --no-install-recommends "${missing[@]}"

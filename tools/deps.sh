#!/bin/sh
# Installs the Debian packages that the build, the program and the tests need
# (only those that are missing).  Run as root.
set -e
here=$(dirname "$0")
wanted=$(cat "$here/packages.txt")
# One query for all of them: the installed ones, by name.
installed=$(dpkg-query -W -f='${db:Status-Status} ${Package}\n' $wanted 2>/dev/null | awk '$1 == "installed" { print $2 }')
missing=""
for pkg in $wanted; do
  printf '%s\n' "$installed" | grep -qx "$pkg" || missing="$missing $pkg"
done
if [ -n "$missing" ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
fi

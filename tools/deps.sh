#!/bin/sh
# Installs the Debian packages that the build, the program and the tests need
# (only those that are missing).  Run as root.
set -e
here=$(dirname "$0")
missing=""
for pkg in $(cat "$here/packages.txt"); do
  dpkg -s "$pkg" >/dev/null 2>&1 || missing="$missing $pkg"
done
if [ -n "$missing" ]; then
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y $missing
fi

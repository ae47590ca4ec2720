#!/bin/sh
# A CUPS server of the test's own with one PDF queue (Debian's cups-pdf),
# for printing through Wine's printer driver as a user would.
#
#   qlcups.sh start DIR QUEUE   makes DIR, starts cupsd on DIR/cups.sock and
#                               the queue QUEUE; prints "READY DIR/cups.sock"
#   qlcups.sh stop DIR          stops that cupsd and removes what start made
#
# The server has its own configuration, spool and logs in DIR and listens on
# its own socket only, so it runs beside (or without) the system's cupsd.
# cups-pdf reads its settings from /etc/cups/cups-pdf-NAME.conf for a device
# URI cups-pdf:/NAME: start writes one named after DIR (output to DIR/out)
# and stop removes it.  Every wait is bounded; a failure says why on
# standard output and ends with status 1.
set -u
action=${1:-}
dir=${2:-}
[ -n "$dir" ] || { echo "usage: $0 start|stop DIR [QUEUE]"; exit 2; }
name=ql$(basename "$dir" | tr -cd 'A-Za-z0-9')
pdfconf=/etc/cups/cups-pdf-$name.conf

fail() {
  echo "FAIL: $*"
  [ -f "$dir/log/error_log" ] && tail -n 20 "$dir/log/error_log"
  exit 1
}

stop() {
  if [ -f "$dir/cupsd.pid" ]; then
    pid=$(cat "$dir/cupsd.pid")
    kill "$pid" 2>/dev/null
    i=0
    while kill -0 "$pid" 2>/dev/null && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done
    kill -9 "$pid" 2>/dev/null
  fi
  rm -f "$pdfconf"
  rm -rf "$dir"
}

case "$action" in
stop)
  stop
  echo "STOPPED"
  exit 0
  ;;
start) ;;
*) echo "usage: $0 start|stop DIR [QUEUE]"; exit 2 ;;
esac

queue=${3:-QLPDF}
for tool in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/bin/lpstat /usr/lib/cups/backend/cups-pdf; do
  [ -x "$tool" ] || fail "$tool is missing (packages cups and printer-driver-cups-pdf)"
done
ppd=$(ls /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd /usr/share/ppd/cups-pdf/*.ppd 2>/dev/null | head -n 1)
[ -n "$ppd" ] || fail "no cups-pdf PPD in /usr/share/ppd/cups-pdf"
[ "$(id -u)" = 0 ] || fail "cupsd and the cups-pdf backend need root"

rm -rf "$dir"
mkdir -p "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" "$dir/out" "$dir/pdfspool" "$dir/ppd" "$dir/ssl" \
  || fail "cannot make $dir"
# cupsd checks the owners and modes of its folders; its filters run as lp.
chmod 0755 "$dir" "$dir/log" "$dir/out"
chown root:lp "$dir/spool" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/ppd" "$dir/ssl"
chmod 0710 "$dir/spool"
chmod 1770 "$dir/spool/tmp"
chmod 0770 "$dir/cache" "$dir/state"
chmod 0755 "$dir/ppd"
chmod 0700 "$dir/ssl"

cat > "$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel info
WebInterface No
Browsing Off
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat > "$dir/cups-files.conf" <<CONF
ServerRoot $dir
RequestRoot $dir/spool
CacheDir $dir/cache
StateDir $dir/state
TempDir $dir/spool/tmp
ServerBin /usr/lib/cups
DataDir /usr/share/cups
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
User lp
Group lp
SystemGroup root
FileDevice No
Sandboxing Relaxed
CONF
cat > "$pdfconf" <<CONF
Out $dir/out
AnonDirName $dir/out
Spool $dir/pdfspool
Log $dir/log
Grp root
CONF

/usr/sbin/cupsd -t -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" >"$dir/log/check" 2>&1 \
  || fail "cupsd refuses its configuration: $(cat "$dir/log/check")"
/usr/sbin/cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" </dev/null >"$dir/log/cupsd.out" 2>&1 &
echo $! > "$dir/cupsd.pid"

export CUPS_SERVER="$dir/cups.sock"
i=0
until [ -S "$dir/cups.sock" ] && /usr/bin/lpstat -r 2>/dev/null | grep -q "is running"; do
  i=$((i + 1))
  [ $i -gt 100 ] && { stop_log=$(cat "$dir/log/cupsd.out"); fail "cupsd did not start in 10 s: $stop_log"; }
  kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || fail "cupsd ended: $(cat "$dir/log/cupsd.out")"
  sleep 0.1
done
/usr/sbin/lpadmin -p "$queue" -E -v "cups-pdf:/$name" -P "$ppd" >"$dir/log/lpadmin" 2>&1 \
  || fail "lpadmin: $(cat "$dir/log/lpadmin")"
i=0
until /usr/bin/lpstat -p "$queue" 2>/dev/null | grep -q "enabled"; do
  i=$((i + 1))
  [ $i -gt 100 ] && fail "queue $queue not ready in 10 s"
  sleep 0.1
done
echo "READY $dir/cups.sock"

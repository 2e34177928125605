#!/usr/bin/env bash
# Starts a private CUPS scheduler with one PDF queue, for the printing tests.
#   cups-test-server.sh start DIR QUEUE   prints "CUPS_SERVER=<socket>" lines to eval
#   cups-test-server.sh add DIR QUEUE     one more PDF queue on that scheduler,
#                                         printing into DIR/out-QUEUE
#   cups-test-server.sh stop DIR
# The cups-pdf backend only reads /etc/cups/cups-pdf-<queue>.conf, so that file
# is written (as root) and points the output into DIR/out.
set -euo pipefail
cmd=$1 dir=$2
case $cmd in
start)
  queue=$3
  mkdir -p "$dir"/{spool,tmp,cache,state,log,out,ppd}
  chmod 1777 "$dir/tmp" "$dir/spool" "$dir/out"
  cat > "$dir/cupsd.conf" <<CONF
Listen $dir/cups.sock
LogLevel warn
Browsing Off
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
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
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
Sandboxing relaxed
CONF
  cat > "/etc/cups/cups-pdf-$queue.conf" <<CONF
Out $dir/out
AnonDirName $dir/out
Spool $dir/spool
Grp root
CONF
  /usr/sbin/cupsd -f -c "$dir/cupsd.conf" -s "$dir/cups-files.conf" &
  echo $! > "$dir/cupsd.pid"
  export CUPS_SERVER=$dir/cups.sock
  for _ in $(seq 50); do [[ -S $dir/cups.sock ]] && break; sleep 0.1; done
  lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
  lpadmin -d "$queue"
  echo "CUPS_SERVER=$dir/cups.sock"
  ;;
add)
  queue=$3
  mkdir -p "$dir/out-$queue"
  chmod 1777 "$dir/out-$queue"
  cat > "/etc/cups/cups-pdf-$queue.conf" <<CONF
Out $dir/out-$queue
AnonDirName $dir/out-$queue
Spool $dir/spool
Grp root
CONF
  CUPS_SERVER=$dir/cups.sock lpadmin -p "$queue" -E -v "cups-pdf:/$queue" -P /usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
  ;;
stop)
  [[ -f $dir/cupsd.pid ]] && kill "$(cat "$dir/cupsd.pid")" 2>/dev/null || true
  ;;
esac

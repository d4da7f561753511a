#!/usr/bin/env bash
# Runs a command next to a CUPS daemon of its own: its own configuration,
# spool and log folders under one temporary folder, its own port on the
# loopback address, and two cups-pdf queues that write their PDF files into
# that folder: the default one on A4 paper, another one on A5. The machine's
# CUPS configuration is only read, never changed. The daemon is stopped when the command ends, however it ends.
#
#   with_cupsd.sh COMMAND [ARGUMENTS...]
#
# The command gets CUPS_SERVER (the daemon), QUILLORA_CUPS_QUEUE (the default
# queue), QUILLORA_CUPS_A5_QUEUE (the other one) and QUILLORA_CUPS_OUTPUT (the
# folder cups-pdf writes into, job_N-TITLE.pdf for job N). Exit status 77
# (skipped) when no daemon can run here; in CI (CI=true) that is a failure.
set -uo pipefail

queue=quillora-pdf
a5queue=quillora-pdf-a5
skip() {
  echo "SKIPPED: $*" >&2
  if [ "${CI:-}" = true ]; then exit 1; fi
  exit 77
}

# cups-pdf runs only under a daemon started as root: it writes as the job's user.
[ "$(id -u)" = 0 ] || skip "cups-pdf needs cupsd running as root"
cupsd=$(command -v cupsd || echo /usr/sbin/cupsd)
[ -x "$cupsd" ] || skip "no cupsd (package cups)"
command -v lpstat >/dev/null || skip "no lpstat (package cups-client)"
[ -x /usr/lib/cups/backend/cups-pdf ] || skip "no cups-pdf backend (package printer-driver-cups-pdf)"
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd
[ -r "$ppd" ] || skip "no cups-pdf PPD"

root=$(mktemp -d "${TMPDIR:-/tmp}/quillora-cups.XXXXXX") || skip "no temporary folder"
chmod 755 "$root"
pid=
stop() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  rm -rf "$root"
}
trap stop EXIT
trap 'exit 130' INT TERM

mkdir -p "$root"/{conf/ppd,spool/tmp,cache,state,log,out}
chmod 1777 "$root/out"

# The queue: cups-pdf's PPD with its folders set as PPD defaults, which the
# backend takes over its system-wide cups-pdf.conf. A PPD value cannot hold a
# slash, so they are "." - the backend's working folder, the daemon's, which
# starts in the output folder. Label 1 starts each file's name with its job.
{
  cat "$ppd"
  for option in Out:. AnonDirName:. Spool:. Log:. Label:1; do
    name=${option%%:*} value=${option#*:}
    printf '*OpenUI *%s: PickOne\n*Default%s: %s\n*%s Set: ""\n*CloseUI: *%s\n' \
      "$name" "$name" "$value" "$name" "$name"
  done
} > "$root/conf/ppd/$queue.ppd"
sed -E 's/^\*Default(PageSize|PageRegion|ImageableArea|PaperDimension): A4/*Default\1: A5/' \
  "$root/conf/ppd/$queue.ppd" > "$root/conf/ppd/$a5queue.ppd"
cat > "$root/conf/printers.conf" <<PRINTERS
<DefaultPrinter $queue>
Info Quillora test queue
DeviceURI cups-pdf:/
State Idle
Accepting Yes
Shared No
</DefaultPrinter>
<Printer $a5queue>
Info Quillora test queue on A5
DeviceURI cups-pdf:/
State Idle
Accepting Yes
Shared No
</Printer>
PRINTERS

cat > "$root/cups-files.conf" <<FILES
ServerRoot $root/conf
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
ErrorLog $root/log/error_log
AccessLog $root/log/access_log
PageLog $root/log/page_log
FILES

started=
for attempt in 1 2 3 4 5; do
  port=$(( 20000 + (RANDOM * 32768 + RANDOM + $$) % 40000 ))
  cat > "$root/cupsd.conf" <<CONF
Listen 127.0.0.1:$port
LogLevel warn
PageLogFormat "%p %j %u %P %C"
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
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
  (cd "$root/out" && exec "$cupsd" -f -c "$root/cupsd.conf" -s "$root/cups-files.conf") \
    </dev/null >>"$root/log/cupsd.out" 2>&1 &
  pid=$!
  # Ready when the scheduler answers; given up when the daemon has ended.
  for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    if lpstat -h "127.0.0.1:$port" -r 2>/dev/null | grep -q "is running"; then
      started=yes
      break
    fi
    sleep 0.1
  done
  [ -n "$started" ] && break
  kill -TERM "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; pid=
done
if [ -z "$started" ]; then
  cat "$root/log/error_log" >&2 2>/dev/null
  skip "cupsd did not start"
fi

# Should this script be killed outright (a test run's time limit), the daemon
# and its folder go with it.
(
  trap '' INT TERM
  while kill -0 $$ 2>/dev/null; do sleep 1; done
  kill -TERM "$pid" 2>/dev/null
  sleep 1
  rm -rf "$root"
) </dev/null >/dev/null 2>&1 &

export CUPS_SERVER="127.0.0.1:$port"
export QUILLORA_CUPS_QUEUE=$queue QUILLORA_CUPS_A5_QUEUE=$a5queue QUILLORA_CUPS_OUTPUT="$root/out"
# The daemon's default queue is the default: no queue named by the environment.
unset LPDEST PRINTER
"$@"
status=$?
if [ "$status" != 0 ]; then
  echo "--- cupsd error log ---" >&2
  cat "$root/log/error_log" >&2 2>/dev/null
  echo "--- cups-pdf log ---" >&2
  cat "$root/out"/*_log >&2 2>/dev/null
fi
exit "$status"

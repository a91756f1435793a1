#!/bin/sh
# Installs the Debian package on this machine and uses it as a user would who has no desktop:
# the user "nobody" with a fresh home. The program folder stays as installed; the user's data
# goes to ~/.local/share/quorvex. The package is removed again at the end.
# Needs root; exits with 77 (skipped) otherwise.
# Usage: install_test.sh PACKAGE-DIR
set -eu
deb=$(ls "$1"/quorvex_*.deb)
if [ "$(id -u)" -ne 0 ]; then
  echo "skipped: installing the package needs root"
  exit 77
fi
if dpkg-query -W -f='${Status}' quorvex 2>/dev/null | grep -q "install ok installed"; then
  echo "skipped: quorvex is installed on this machine already; the test would remove it"
  exit 77
fi

work=$(mktemp -d /tmp/quorvex-install-XXXXXX)
chmod 755 "$work"
home="$work/home"
data="$home/.local/share/quorvex"
agent=""
cleanup() {
  [ -z "$agent" ] || kill "$agent" 2>/dev/null || true
  dpkg -P quorvex >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*"; exit 1; }

dpkg -i "$deb" >/dev/null
program=/usr/lib/quorvex
state() { find "$program" -printf '%p %s %T@\n' | sort; }
installed=$(state)

mkdir -p "$home" "$work/db" "$work/backup"
printf 'orders\n' >"$work/db/Orders.mdb"
chown -R 65534:65534 "$home" "$work/backup"
user="env -i HOME=$home PATH=/usr/bin:/bin LANG=C.UTF-8
  setpriv --reuid=65534 --regid=65534 --clear-groups"
as_user() { $user "$@"; }

# Where it looks: the data folder is made, open to the user only.
as_user quorvexctl paths >"$work/paths"
grep -qx "program	$program" "$work/paths" || fail "program folder: $(cat "$work/paths")"
grep -qx "data	$data" "$work/paths" || fail "data folder: $(cat "$work/paths")"
[ "$(stat -c %a "$data")" = 700 ] || fail "data folder mode $(stat -c %a "$data")"

# Asked for its version or its usage, the agent answers as its About box does, with the
# package's version, or with the folders it would use, and starts nothing.
version=$(dpkg-deb -f "$deb" Version)
as_user quorvex --version >"$work/version"
grep -qx "Quorvex ${version%.*} (Bld [0-9]*)" "$work/version" || fail "version: $(cat "$work/version")"
as_user quorvex --help >"$work/help"
grep -qx "data	$data" "$work/help" || fail "help: $(cat "$work/help")"
[ ! -e "$data/quorvex.lock" ] || fail "--help started the agent"

# Root, who could write into the program folder, keeps its data in its own home as well.
env -i HOME="$work/root" PATH=/usr/bin:/bin quorvexctl paths >"$work/paths"
grep -qx "data	$work/root/.local/share/quorvex" "$work/paths" || fail "root's data folder: $(cat "$work/paths")"

# A job file placed there is listed and runs; the zip archive is made by the stand-in from
# the program folder.
crlf() { printf '%s\r\n' "$@"; }
job() { # NAME FILE FREQUENCY DAYOFWEEK
  crlf '[General]' "JobName=$1" 'JobType=3' '[Schedule]' 'DateLastRun=Nov-01-2026' \
    'StartTime=00:00' "Frequency=$3" "DayOfWeek=$4" '[Backup]' \
    "DatabaseFile=$work/db/Orders.mdb" "TargetPath=$work/backup/" 'Compress=-1' \
    'NumberCopies=2' >"$data/DatabaseJobs/$2"
}
as_user mkdir "$data/DatabaseJobs"
job 'Daily Backup' Daily.tsk 1 254
# Weekly on the weekday three days ahead: not due since a check two days ago.
job 'Weekly Backup' Weekly.tsk 2 $((1 << ($(date -d '+3 days' +%w) + 1)))
chown 65534:65534 "$data/DatabaseJobs"/*
as_user quorvexctl list | cut -f1 | sort | tr '\n' ',' >"$work/list"
[ "$(cat "$work/list")" = "Daily Backup,Weekly Backup," ] || fail "list: $(cat "$work/list")"
as_user quorvexctl run 'Daily Backup' >/dev/null 2>"$work/run.err" || fail "run: $(cat "$work/run.err")"
[ -s "$work/backup/Orders.zip" ] || fail "no archive: $(cat "$data/quorvex.log")"

# One due-job check as the timer makes it, the previous one two days ago.
crlf '[DueCheck]' "LastCheck=$(date -d '-2 days' '+%m/%d/%Y %H:%M:%S')" >"$data/DueCheck.ini"
chown 65534:65534 "$data/DueCheck.ini"
as_user quorvexctl due >/dev/null 2>"$work/due.err" || fail "due: $(cat "$work/due.err")"
grep -c -- '-- Daily Backup' "$data/quorvex.log" | grep -qx 2 || fail "due did not run the daily job"
! grep -q -- '-- Weekly Backup' "$data/quorvex.log" || fail "due ran the weekly job"
[ -f "$work/backup/Orders_1.zip" ] || fail "the due backup did not rotate the archive"

# The agent without a display, silent, with its preferences from the data folder: it makes
# up the weekly job's missed run at its first check and logs it there. While it runs, due
# refuses.
crlf '[Preferences]' 'CatchUpMissedRuns=-1' >"$data/Quorvex.ini"
chown 65534:65534 "$data/Quorvex.ini"
# Started as a plain command, so that $! is the agent itself (env and setpriv exec it).
$user quorvex /SILENT >"$work/agent.out" 2>"$work/agent.err" &
agent=$!
# The agent's first check runs the made-up job; it holds the lock from its start on. Only the
# log is watched meanwhile: a probe of the lock could itself keep the agent from starting.
for _ in $(seq 300); do
  ! grep -q -- '-- Weekly Backup' "$data/quorvex.log" || break
  kill -0 "$agent" 2>/dev/null || fail "the agent ended: $(cat "$work/agent.err")"
  sleep 0.1
done
grep -q -- '-- Weekly Backup' "$data/quorvex.log" || fail "the agent ran no job: $(cat "$work/agent.err")"
[ -f "$data/quorvex.lock" ] || fail "no lock in the data folder"
status=0
as_user quorvexctl due >/dev/null 2>"$work/due.err" || status=$?
[ $status -eq 3 ] || fail "due beside the agent ended with $status: $(cat "$work/due.err")"
kill -TERM "$agent"
status=0
wait "$agent" || status=$?
agent=""
[ $status -eq 0 ] || fail "the agent ended with $status: $(cat "$work/agent.err")"

[ "$(state)" = "$installed" ] || fail "the program folder changed"
dpkg -P quorvex >/dev/null
[ ! -e "$program" ] || fail "$program is left after removal"
echo "installed, used by an unprivileged user without a desktop, and removed"

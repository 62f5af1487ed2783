#!/usr/bin/env bash
# What scripts/web answers a newcomer before it builds anything (--help, a port that is no port, two
# ports), and what its server says when the port is taken: a line or two, never a stack trace.
#   web_arguments_test.sh REPOSITORY
set -u
cd "$1" || exit 1

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

out=$(scripts/web --help 2>&1)
status=$?
[ "$status" -eq 0 ] || fail "--help: status $status"
[ "$(head -n 1 <<<"$out")" = "Usage: scripts/web [PORT]" ] || fail "--help said: $out"

# A mistake: what was wrong in one line, then the usage, on stderr; status 2.
wrong() {
  local sentence=$1
  shift
  local out err status
  err=$(scripts/web "$@" 2>&1 >/dev/null)
  status=$?
  out=$(scripts/web "$@" 2>/dev/null)
  [ "$status" -eq 2 ] || fail "$*: status $status, expected 2"
  [ -z "$out" ] || fail "$*: printed on stdout: $out"
  [ "$(head -n 1 <<<"$err")" = "scripts/web: $sentence" ] || fail "$*: said $(cat -v <<<"$err")"
  [ "$(sed -n 2p <<<"$err")" = "Usage: scripts/web [PORT]" ] || fail "$*: no usage follows"
}
wrong "'abc' is not a port: a whole number from 1 to 65535" abc
wrong "'0' is not a port: a whole number from 1 to 65535" 0
wrong "'65536' is not a port: a whole number from 1 to 65535" 65536
wrong "'?[2J' is not a port: a whole number from 1 to 65535" $'\e[2J'
wrong "one port at most" 8000 8001

# A port another program holds: one sentence, status 1.
command -v node >/dev/null || { echo "SKIP: node is not installed"; exit 77; }
coproc holder { exec node -e "const s = require('net').createServer().listen(0, '127.0.0.1',
  () => console.log(s.address().port)); setTimeout(() => s.close(), 60000);"; }
read -r port <&"${holder[0]}" || fail "no program could hold a port"
err=$(timeout 30 node tests/backends/web/serve.mjs build/web/site "$port" 2>&1)
status=$?
kill "$holder_PID" 2>/dev/null
[ "$status" -eq 1 ] || fail "a taken port: status $status, expected 1"
[ "$err" = "scripts/web: port $port is in use by another program: end it, or name another port (scripts/web 8080)." ] ||
  fail "a taken port: said $err"
echo "scripts/web: --help, five mistakes and a taken port each answered in a line or two"

#!/usr/bin/env bash
# Starts (or finds running) a throw-away PostgreSQL cluster for the tests and prints its libpq
# connection string on stdout, e.g.
#   export KESTRANE_PG="$(host/scripts/pg-test-server.sh)"
#   host/scripts/pg-test-server.sh --stop
#
# Usage: pg-test-server.sh [--dir DIR] [--stop]
#   --dir DIR  cluster directory (default: ${TMPDIR:-/tmp}/kestrane-pg-test-$(id -u));
#              the server listens only on a Unix socket in DIR (no TCP port)
#   --stop     stop the server of DIR and remove DIR
# Idempotent: a second call reuses the running cluster. Run as root, the server runs as the
# "postgres" user (initdb and postgres refuse to run as root).
set -euo pipefail

bin=${KESTRANE_PG_BIN:-/usr/lib/postgresql/15/bin}
dir=${TMPDIR:-/tmp}/kestrane-pg-test-$(id -u)
stop=0
while (($#)); do
  case $1 in
    --dir) dir=$2; shift 2 ;;
    --stop) stop=1; shift ;;
    -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "pg-test-server.sh: unknown argument $1" >&2; exit 1 ;;
  esac
done

for tool in initdb pg_ctl postgres; do
  if [[ ! -x $bin/$tool ]]; then
    echo "pg-test-server.sh: $bin/$tool not found (install the postgresql package)" >&2
    exit 1
  fi
done

# Run a command as the server's user.
as_server() {
  if [[ $(id -u) -eq 0 ]]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

data=$dir/data
sock=$dir
user=$(if [[ $(id -u) -eq 0 ]]; then echo postgres; else id -un; fi)
conn="host=$sock port=5432 dbname=kestrane_test user=$user"

if ((stop)); then
  if [[ -d $data ]]; then
    as_server "$bin/pg_ctl" -D "$data" -m fast -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  exit 0
fi

mkdir -p "$dir"
if [[ $(id -u) -eq 0 ]]; then
  chown postgres: "$dir"
  chmod 700 "$dir"
fi

if [[ ! -f $data/PG_VERSION ]]; then
  as_server "$bin/initdb" -D "$data" -U "$user" -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
    { echo "pg-test-server.sh: initdb failed, see $dir/initdb.log" >&2; exit 1; }
fi

if ! as_server "$bin/pg_ctl" -D "$data" status >/dev/null 2>&1; then
  # listen_addresses='' : Unix socket only, in the cluster directory.
  as_server "$bin/pg_ctl" -D "$data" -l "$dir/server.log" -w -t 60 \
    -o "-c listen_addresses='' -c unix_socket_directories='$sock' -c port=5432 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
    start >/dev/null ||
    { echo "pg-test-server.sh: the server did not start, see $dir/server.log" >&2; exit 1; }
fi

if ! as_server "$bin/psql" -h "$sock" -p 5432 -U "$user" -d postgres -tAc \
    "select 1 from pg_database where datname = 'kestrane_test'" 2>/dev/null | grep -q 1; then
  as_server "$bin/createdb" -h "$sock" -p 5432 -U "$user" -E UTF8 -T template0 kestrane_test
fi
echo "$conn"

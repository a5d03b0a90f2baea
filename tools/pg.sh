#!/usr/bin/env bash
# Runs a command beside a throwaway PostgreSQL 15 server for the archive's tests and benchmarks:
#   bash tools/pg.sh COMMAND [ARGS...]
# The server lives in a temporary folder, listens on 127.0.0.1 on a free port, and is stopped and
# removed when the command ends, also when it fails or is interrupted. The command sees
#   GRX1_TEST_PG_URL   postgresql://grx1@127.0.0.1:PORT/postgres  (a superuser, trusted)
#   GRX1_TEST_PG_LOCKED_URL  the same server as a user that needs a password (for the refusal tests)
# PostgreSQL refuses to run as root: under root the server runs as the user "grx1pg", made when
# missing. A server that cannot start fails the script.
set -euo pipefail

bin=/usr/lib/postgresql/15/bin
[ -x "$bin/initdb" ] || { echo "tools/pg.sh: $bin/initdb not found (package postgresql-15)" >&2; exit 1; }

as_server=()
if [ "$(id -u)" -eq 0 ]; then
  id grx1pg >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin grx1pg
  as_server=(runuser -u grx1pg --)
fi

dir="$(mktemp -d /tmp/grx1-pg.XXXXXX)"
chmod 755 "$dir"
[ ${#as_server[@]} -eq 0 ] || chown grx1pg "$dir"

stop() {
  "${as_server[@]}" "$bin/pg_ctl" -D "$dir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$dir"
}
trap stop EXIT
trap 'exit 130' INT TERM

"${as_server[@]}" "$bin/initdb" -D "$dir/data" -U grx1 --auth=trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
  { cat "$dir/initdb.log" >&2; exit 1; }
# The user with a password logs in with it; everyone else is trusted (the folder is private).
{
  echo "host all grx1locked 127.0.0.1/32 scram-sha-256"
  echo "host all all 127.0.0.1/32 trust"
  echo "local all all trust"
} >"$dir/data/pg_hba.conf"

port=""
for _ in $(seq 1 20); do
  candidate=$((20000 + RANDOM % 30000))
  if "${as_server[@]}" "$bin/pg_ctl" -D "$dir/data" -w -t 30 -l "$dir/server.log" \
       -o "-p $candidate -k $dir -c listen_addresses=127.0.0.1 -c max_connections=60" start >/dev/null 2>&1; then
    port=$candidate
    break
  fi
done
[ -n "$port" ] || { echo "tools/pg.sh: the PostgreSQL server did not start" >&2; cat "$dir/server.log" >&2 || true; exit 1; }

"${as_server[@]}" "$bin/psql" -q -h "$dir" -p "$port" -U grx1 -d postgres \
  -c "CREATE ROLE grx1locked LOGIN PASSWORD 'right-password'" >/dev/null

export GRX1_TEST_PG_URL="postgresql://grx1@127.0.0.1:$port/postgres"
export GRX1_TEST_PG_LOCKED_URL="postgresql://grx1locked@127.0.0.1:$port/postgres"
"$@"

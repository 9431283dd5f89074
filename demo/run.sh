#!/usr/bin/env bash
# run.sh - the demo: a live sample BBS whose three pages lighttpd serves as
# CGI on 127.0.0.1 until Ctrl-C.
set -euo pipefail

usage() {
  cat <<'EOF'
usage: bash demo/run.sh [--port N] [--interval SECONDS] [--check | --screenshots DIR]

Builds the programs, writes the sample BBS into a temporary directory,
serves its three pages with lighttpd on 127.0.0.1 (port 8080 unless told
otherwise) and keeps the BBS live: every few seconds a caller logs on, a
node changes state and a oneliner is added. Ctrl-C stops it and cleans up.

  --port N           listen on port N
  --interval S       seconds between the live BBS's changes (default 5)
  --check            fetch each page once, verify it, stop; exit status 0/1
  --screenshots DIR  save a screenshot of each page into DIR, stop
EOF
}

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# lighttpd lives in /usr/sbin, which a normal user's PATH may lack.
export PATH="$PATH:/usr/sbin:/sbin"
port=8080
interval=5
mode=serve
shots=
board="Harbour Lights BBS"
description="$repo/tools/sample-bbs.txt"

while [ $# -gt 0 ]; do
  case $1 in
    --port) port=${2:-}; shift 2 || { usage >&2; exit 2; } ;;
    --interval) interval=${2:-}; shift 2 || { usage >&2; exit 2; } ;;
    --check) mode=check; shift ;;
    --screenshots) mode=screenshots; shots=${2:-}; shift 2 || { usage >&2; exit 2; } ;;
    -h | --help) usage; exit 0 ;;
    *) echo "run.sh: unknown option: $1" >&2; usage >&2; exit 2 ;;
  esac
done
if ! [[ $port =~ ^[0-9]+$ ]] || [ "$port" -lt 1 ] || [ "$port" -gt 65535 ]; then
  echo "run.sh: --port needs a number from 1 to 65535" >&2
  usage >&2
  exit 2
fi
if [ "$mode" = screenshots ]; then
  mkdir -p "$shots"
  shots=$(cd "$shots" && pwd)
fi

# --- What a fresh Debian machine lacks -------------------------------------
packages=(cmake g++ make lighttpd)
[ "$mode" = check ] && packages+=(curl)
[ "$mode" = screenshots ] && packages+=(chromium)
bash "$repo/tools/ensure-packages.sh" "The demo" "${packages[@]}"

# --- Everything lives in one temporary directory ---------------------------
work=$(mktemp -d "${TMPDIR:-/tmp}/bbs-demo.XXXXXX")
server_pid=
live_pid=

stop() {
  local pid
  for pid in $server_pid $live_pid; do
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 50); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  server_pid= live_pid=
}
cleanup() {
  stop
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# The web server's account (www-data, when started as root) must reach the
# programs and read the BBS; it writes only its logs.
chmod 755 "$work"
mkdir -m 755 "$work/www" "$work/cgi-bin" "$work/bbs"
mkdir -m 755 "$work/log"
[ "$(id -u)" -eq 0 ] && chown www-data:www-data "$work/log"

# --- Build (Release) --------------------------------------------------------
build=${DEMO_BUILD_DIR:-$repo/build-demo}
echo "Building the programs in $build ..."
if ! { cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  && cmake --build "$build" -j "$(nproc)" --target tembrix quandelo 5morvane sample_bbs; } >"$work/build.log" 2>&1; then
  cat "$work/build.log" >&2
  echo "run.sh: the build failed" >&2
  exit 1
fi

# --- The sample BBS and the programs with their configuration --------------
"$build/tools/sample_bbs" write "$description" "$work/bbs"
nodes=$(grep -c '^node[[:space:]]' "$description")
# Written before the install, which then keeps them in place of its examples.
printf '%s\n%s\n' "$board" "$work/bbs/" >"$work/cgi-bin/tembrix.cfg"
printf '%s\n%s\n%s\n' "$board" "$work/bbs/" "$((nodes + 1))" >"$work/cgi-bin/quandelo.cfg"
printf '%s\n%s\n' "$board" "$work/bbs/" >"$work/cgi-bin/5morvane.cfg"
cmake --install "$build" --prefix "$work/cgi-bin" >>"$work/build.log"

base="http://127.0.0.1:$port/cgi-bin/bbs"
cat >"$work/www/index.html" <<EOF
<!DOCTYPE html>
<html><head><title>$board</title></head><body>
<h1>$board</h1>
<ul>
<li><a href="/cgi-bin/bbs/tembrix">Last callers</a></li>
<li><a href="/cgi-bin/bbs/quandelo">Node status</a></li>
<li><a href="/cgi-bin/bbs/5morvane">Oneliners</a></li>
</ul>
</body></html>
EOF
chmod -R a+rX "$work/www" "$work/cgi-bin"

sed -e "s#@RUN_DIR@#$work#g" -e "s#@CGI_DIR@#$work/cgi-bin#g" -e "s#@PORT@#$port#g" \
  "$repo/demo/conf/lighttpd.conf" >"$work/lighttpd.conf"

# --- Serve -----------------------------------------------------------------
port_open() {
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null
}
if port_open; then
  echo "run.sh: something already listens on 127.0.0.1:$port; choose another with --port N" >&2
  exit 1
fi
lighttpd -D -f "$work/lighttpd.conf" >"$work/log/lighttpd.out" 2>&1 &
server_pid=$!
for _ in $(seq 100); do
  sleep 0.1
  if ! kill -0 "$server_pid" 2>/dev/null; then
    cat "$work/log/"* >&2
    echo "run.sh: lighttpd did not start" >&2
    exit 1
  fi
  port_open && break
done
if ! port_open; then
  echo "run.sh: lighttpd is not listening on 127.0.0.1:$port after 10 seconds" >&2
  exit 1
fi

if [ "$mode" = screenshots ]; then
  # The BBS stays still, so the pictures show the sample as described.
  profile="$work/chromium"
  for page in tembrix:last-callers quandelo:node-status 5morvane:oneliners; do
    timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
      --disable-background-networking --disable-component-update --disable-sync --hide-scrollbars \
      --user-data-dir="$profile" --window-size=1000,700 --screenshot="$shots/${page#*:}.png" \
      "$base/${page%%:*}" >/dev/null 2>&1
    echo "saved $shots/${page#*:}.png"
  done
  exit 0
fi

if [ "$mode" = serve ]; then
  "$build/tools/sample_bbs" live "$description" "$work/bbs" --interval "$interval" &
else
  "$build/tools/sample_bbs" live "$description" "$work/bbs" --interval "$interval" >"$work/log/live.log" 2>&1 &
fi
live_pid=$!

echo
echo "$board is on the air. Its pages:"
echo "  Last callers:  $base/tembrix"
echo "  Node status:   $base/quandelo"
echo "  Oneliners:     $base/5morvane"
echo "Its data files are in $work/bbs"
echo

if [ "$mode" = check ]; then
  # A text of the description that each page shows whatever the live BBS
  # has done since: the first caller, a waiting node, the first oneliner.
  first_caller=$(awk -F';' '/^caller[ \t]/ { sub(/^[ \t]+/, "", $2); sub(/[ \t]+$/, "", $2); print $2; exit }' "$description")
  first_handle=$(awk -F';' '/^oneliner[ \t]/ { sub(/^oneliner[ \t]+/, "", $1); sub(/[ \t]+$/, "", $1); print $1; exit }' "$description")
  failures=0
  for page in "tembrix:$first_caller" "quandelo:Waiting for call" "5morvane:$first_handle"; do
    program=${page%%:*}
    row=${page#*:}
    if ! curl --silent --show-error --max-time 20 --noproxy '*' --dump-header "$work/headers" \
      --output "$work/body" "$base/$program"; then
      echo "FAIL $program: no answer" >&2
      failures=$((failures + 1))
      continue
    fi
    status=$(head -n 1 "$work/headers" | tr -d '\r')
    type=$(grep -i '^content-type:' "$work/headers" | tr -d '\r' | head -n 1)
    problem=
    [[ $status == HTTP/*" 200"* ]] || problem="status: $status"
    [[ ${type,,} == "content-type: text/html"* ]] || problem="${problem:+$problem; }${type:-no content type}"
    grep -qF "$board" "$work/body" || problem="${problem:+$problem; }no board name"
    grep -qF "$row" "$work/body" || problem="${problem:+$problem; }no row with \"$row\""
    if [ -n "$problem" ]; then
      echo "FAIL $program: $problem" >&2
      failures=$((failures + 1))
    else
      echo "ok   $program: $status, ${type#*: }, \"$board\", \"$row\""
    fi
  done
  [ "$failures" -eq 0 ] && exit 0
  cat "$work/log/"* >&2
  exit 1
fi

echo "Press Ctrl-C to stop."
stopping=
trap 'stopping=yes' INT TERM
# Short sleeps in the foreground, so Ctrl-C is acted on at once.
while [ -z "$stopping" ] && kill -0 "$server_pid" 2>/dev/null; do
  sleep 0.5 || true
done
if [ -n "$stopping" ]; then
  echo
  echo "Stopping."
  exit 0
fi
echo "run.sh: lighttpd stopped on its own; its log:" >&2
cat "$work/log/lighttpd"* >&2
exit 1

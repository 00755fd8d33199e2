#!/usr/bin/env bash
# Preview-server benchmark (figures printed, never asserted): wrk on loopback, 2 threads, 50
# connections, against "kavio preview" serving a copy of the example with a 10 KB and a 100 MB
# file in its resource folder, then against "python3 -m http.server" and nginx with one worker
# (when installed) serving the same folder.
# Usage: bench/preview/run.sh  (after a build; installs wrk from Debian when it is missing)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
kavio=${KAVIO_CLI:-$root/build/bin/kavio}
if ! command -v wrk >/dev/null; then
  sudo_cmd=""; [ "$(id -u)" -ne 0 ] && sudo_cmd=sudo
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq wrk >/dev/null
fi
work=$(mktemp -d)
trap 'kill ${pids:-} 2>/dev/null || true; rm -rf "$work"' EXIT
cp -r "$root/examples/banner/." "$work/"
res="$work/banner_res"
head -c 10240 /dev/urandom > "$res/small.bin"
head -c 104857600 /dev/urandom > "$res/large.bin"

"$kavio" preview "$work/banner.kavio" --no-browser --port 8191 > "$work/url" &
pids=$!
for _ in $(seq 1 100); do [ -s "$work/url" ] && break; sleep 0.1; done
base=$(head -n 1 "$work/url" | sed 's#/preview/banner.html$##')

(cd "$res" && exec python3 -m http.server 8192 --bind 127.0.0.1 >/dev/null 2>&1) &
pids="$pids $!"
nginx_bin=$(command -v nginx || ls /usr/sbin/nginx 2>/dev/null || true)
if [ -n "$nginx_bin" ]; then
  chmod 755 "$work"
  cat > "$work/nginx.conf" <<EOF
worker_processes 1;
daemon off;
pid $work/nginx.pid;
error_log $work/nginx.log;
events { worker_connections 1024; }
http {
  access_log off;
  sendfile on;
  tcp_nopush on;
  client_body_temp_path $work/nginx-body;
  proxy_temp_path $work/nginx-proxy;
  fastcgi_temp_path $work/nginx-fastcgi;
  uwsgi_temp_path $work/nginx-uwsgi;
  scgi_temp_path $work/nginx-scgi;
  server { listen 127.0.0.1:8193; root $res; }
}
EOF
  "$nginx_bin" -c "$work/nginx.conf" -p "$work" 2>/dev/null &
  pids="$pids $!"
fi
for port in 8192 ${nginx_bin:+8193}; do # the servers may take a while on a loaded machine
  for _ in $(seq 1 100); do (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break; sleep 0.1; done
done

# Rounds alternate between the servers, so that each meets the same load of the machine; the
# figures are the medians of the rounds. ROUNDS and SECONDS_PER_RUN change the defaults (5, 3 s).
rounds=${ROUNDS:-5}
seconds=${SECONDS_PER_RUN:-3}
run() { # url -> "requests/s bytes/s"
  wrk -t2 -c50 -d"${seconds}s" "$1" | awk '
    /Requests\/sec/ {rps=$2}
    /Transfer\/sec/ {v=$2; n=v+0; u=v; sub(/^[0-9.]+/, "", u);
                     f = u == "KB" ? 1024 : u == "MB" ? 1048576 : u == "GB" ? 1073741824 : 1; tps=n*f}
    END {printf "%s %.0f\n", rps, tps}'
}
median() { sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }
servers="kavio python"
[ -n "$nginx_bin" ] && servers="$servers nginx"
url_of() {
  case $1 in kavio) echo "$base";; python) echo "http://127.0.0.1:8192";; nginx) echo "http://127.0.0.1:8193";; esac
}
for round in $(seq 1 "$rounds"); do
  for server in $servers; do
    read -r rps _ <<<"$(run "$(url_of "$server")/small.bin")"
    echo "$rps" >> "$work/$server.small"
    read -r _ tps <<<"$(run "$(url_of "$server")/large.bin")"
    echo "$tps" >> "$work/$server.large"
  done
done
echo "preview server, wrk 2 threads 50 connections, ${rounds} alternating rounds of ${seconds} s, medians:"
for server in $servers; do
  printf "  %-7s 10 KB file %9.0f requests/s   100 MB file %6.2f GB/s\n" "$server" \
    "$(median < "$work/$server.small")" "$(awk '{print $1 / 1073741824}' "$work/$server.large" | median)"
done
for other in python ${nginx_bin:+nginx}; do
  echo "  kavio / $other: 10 KB $(awk -v a="$(median < "$work/kavio.small")" -v b="$(median < "$work/$other.small")" 'BEGIN {printf "%.2f", a / b}')x," \
       "100 MB $(awk -v a="$(median < "$work/kavio.large")" -v b="$(median < "$work/$other.large")" 'BEGIN {printf "%.2f", a / b}')x"
done

#!/usr/bin/env bash
# Preview-server benchmark (figures printed, never asserted): wrk on loopback, 2 threads, 50
# connections, 10 s, against "kavio preview" serving a copy of the example with a 10 KB and a 100 MB
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

run() { # url -> "requests/s p99 transfer/s"
  wrk -t2 -c50 -d10s --latency "$1" | awk '
    /Requests\/sec/ {rps=$2} /Transfer\/sec/ {tps=$2} /^ +99%/ {p99=$2}
    END {print rps, p99, tps}'
}
read -r k_rps k_p99 _ <<<"$(run "$base/small.bin")"
read -r p_rps p_p99 _ <<<"$(run "http://127.0.0.1:8192/small.bin")"
read -r _ _ k_tps <<<"$(run "$base/large.bin")"
read -r _ _ p_tps <<<"$(run "http://127.0.0.1:8192/large.bin")"
echo "10 KB file:  kavio preview ${k_rps} requests/s, p99 ${k_p99};  python3 http.server ${p_rps} requests/s, p99 ${p_p99}"
echo "             ratio (kavio / python) $(awk -v a="$k_rps" -v b="$p_rps" 'BEGIN {printf "%.2f", a / b}')"
echo "100 MB file: kavio preview ${k_tps}/s;  python3 http.server ${p_tps}/s"
if [ -n "$nginx_bin" ]; then
  read -r n_rps n_p99 _ <<<"$(run "http://127.0.0.1:8193/small.bin")"
  read -r _ _ n_tps <<<"$(run "http://127.0.0.1:8193/large.bin")"
  to_bytes() { awk -v v="$1" 'BEGIN {n = v + 0; u = v; sub(/^[0-9.]+/, "", u);
    f = u == "KB" ? 1024 : u == "MB" ? 1048576 : u == "GB" ? 1073741824 : 1; printf "%.0f", n * f}'; }
  echo "nginx, one worker: 10 KB ${n_rps} requests/s, p99 ${n_p99};  100 MB ${n_tps}/s"
  echo "             ratio (kavio / nginx) 10 KB $(awk -v a="$k_rps" -v b="$n_rps" 'BEGIN {printf "%.2f", a / b}')," \
       "100 MB $(awk -v a="$(to_bytes "$k_tps")" -v b="$(to_bytes "$n_tps")" 'BEGIN {printf "%.2f", a / b}')"
fi

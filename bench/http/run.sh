#!/usr/bin/env bash
# Times tessival-fetch against curl on the same loopback servers, in one run, and prints the
# ratios (ours / curl's). Needs the release build: scripts/build.sh --bench.
#   bench/http/run.sh [RUNS] [https]   (default 11 runs per command; "https" runs only the
#                                       HTTPS cases)
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
"$top/scripts/setup.sh" --bench >/dev/null
[ -x "$top/build-bench/tools/fetch/tessival-fetch" ] || "$top/scripts/build.sh" --bench >/dev/null
fetch=$top/build-bench/tools/fetch/tessival-fetch
runs=${1:-11}
only=${2:-all}
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
wait_port() { for _ in $(seq 200); do (exec 3<>/dev/tcp/127.0.0.1/$1) 2>/dev/null && return; sleep 0.05; done; echo "port $1 never opened" >&2; exit 1; }

# nginx with a 200 MB file and a 10 KiB page, in plain HTTP and over TLS with a
# certificate for localhost from an authority made here. The TLS server speaks TLS 1.3
# with one cipher suite only, so both clients use the same.
mkdir -p "$work/www" "$work/tmp"
head -c 200000000 /dev/urandom > "$work/www/big.bin"
head -c 10240 /dev/urandom > "$work/www/page.bin"
ec=(-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes)
openssl req -x509 "${ec[@]}" -keyout "$work/ca.key" -out "$work/ca.pem" -subj /CN=bench-ca -days 2 \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign >/dev/null 2>&1
openssl req -new "${ec[@]}" -keyout "$work/server.key" -out "$work/server.csr" -subj /CN=localhost >/dev/null 2>&1
printf 'subjectAltName=DNS:localhost,IP:127.0.0.1\n' > "$work/server.ext"
openssl x509 -req -in "$work/server.csr" -CA "$work/ca.pem" -CAkey "$work/ca.key" -set_serial 7 -days 2 \
  -extfile "$work/server.ext" -out "$work/server.pem" >/dev/null 2>&1
suite=TLS_AES_128_GCM_SHA256
web=$(free_port)
tls=$(free_port)
cat > "$work/nginx.conf" <<CONF
daemon off; master_process off; worker_processes 1;
error_log $work/nginx.log; pid $work/nginx.pid;
events { worker_connections 256; }
http { access_log off; default_type application/octet-stream; sendfile on;
  client_body_temp_path $work/tmp; proxy_temp_path $work/tmp; fastcgi_temp_path $work/tmp;
  uwsgi_temp_path $work/tmp; scgi_temp_path $work/tmp;
  server { listen 127.0.0.1:$web; root $work/www; }
  server { listen 127.0.0.1:$tls ssl; root $work/www; ssl_protocols TLSv1.3;
    ssl_certificate $work/server.pem; ssl_certificate_key $work/server.key;
    ssl_conf_command Ciphersuites $suite; } }
CONF
nginx -p "$work" -c "$work/nginx.conf" & wait_port "$web"; wait_port "$tls"

# dante as SOCKS 4 and 5 server in front of it.
socks=$(free_port)
cat > "$work/danted.conf" <<CONF
logoutput: $work/danted.log
internal: 127.0.0.1 port = $socks
external: 127.0.0.1
clientmethod: none
socksmethod: none
user.privileged: root
user.unprivileged: root
client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }
socks pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }
CONF
danted -f "$work/danted.conf" -p "$work/danted.pid" & wait_port "$socks"

# A server that waits 3 s before it answers.
slow=$(free_port)
python3 - "$slow" <<'PY' &
import socket, sys, time, threading
s = socket.socket(); s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
s.bind(("127.0.0.1", int(sys.argv[1]))); s.listen(8)
def serve(c):
    c.recv(65536); time.sleep(3)
    c.sendall(b"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok"); c.close()
while True:
    c, _ = s.accept(); threading.Thread(target=serve, args=(c,), daemon=True).start()
PY
wait_port "$slow"

big=http://127.0.0.1:$web/big.bin
page=http://127.0.0.1:$web/page.bin
urls1000=$(for _ in $(seq 1000); do printf '%s ' "$page"; done)
urls100=$(for _ in $(seq 100); do printf '%s ' "$page"; done)
curl1000=$(for _ in $(seq 1000); do printf -- '-o /dev/null %s ' "$page"; done)
curl100=$(for _ in $(seq 100); do printf -- '-o /dev/null %s ' "$page"; done)

compare() {  # name, ours, theirs
  hyperfine -N --runs "$runs" --warmup 1 --export-json "$work/$1.json" -n ours "$2" -n curl "$3" >/dev/null 2>&1
  python3 - "$work/$1.json" "$1" <<'PY'
import json, statistics, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
# Wall time: the median of the runs; processor time: hyperfine reports only its mean.
def med(x, key): return statistics.median(x["times"]) if key == "times" else x["user"] + x["system"]
o, c = r["ours"], r["curl"]
print(f"{sys.argv[2]:<28} wall {med(o,'times'):8.3f}s vs {med(c,'times'):8.3f}s  ratio {med(o,'times')/med(c,'times'):5.2f}   "
      f"cpu {med(o,'cpu'):7.3f}s vs {med(c,'cpu'):7.3f}s  ratio {med(o,'cpu')/max(med(c,'cpu'),1e-9):5.2f}")
PY
}

echo "medians of $runs runs each (ours vs curl), loopback, $(nproc) cores"
secure_big=https://localhost:$tls/big.bin
secure_page=https://localhost:$tls/page.bin
secure200=$(for _ in $(seq 200); do printf '%s ' "$secure_page"; done)
curl_secure200=$(for _ in $(seq 200); do printf -- '-o /dev/null %s ' "$secure_page"; done)
curl_tls=(curl --http1.0 -s --cacert "$work/ca.pem" --tlsv1.3 --tls13-ciphers "$suite")
compare "200 MB file over TLS" "$fetch --cacert $work/ca.pem -o $work/o.bin $secure_big" \
  "${curl_tls[*]} -o $work/c.bin $secure_big"
cmp -s "$work/o.bin" "$work/www/big.bin" || { echo "the file fetched over TLS differs" >&2; exit 1; }
compare "200 GETs over TLS" "$fetch --cacert $work/ca.pem -o /dev/null $secure200" \
  "${curl_tls[*]} -H Connection:close $curl_secure200"
[ "$only" = https ] && exit 0
compare "200 MB file" "$fetch -o $work/o.bin $big" "curl --http1.0 -s -o $work/c.bin $big"
compare "1000 GETs of 10 KiB" "$fetch -o /dev/null $urls1000" "curl --http1.0 -s -H Connection:close $curl1000"
compare "100 GETs via SOCKS 4" "$fetch --socks 127.0.0.1:$socks --socks-level 4 -o /dev/null $urls100" \
  "curl --http1.0 -s -H Connection:close --socks4 127.0.0.1:$socks $curl100"
compare "100 GETs via SOCKS 5" "$fetch --socks 127.0.0.1:$socks --socks-level 5 -o /dev/null $urls100" \
  "curl --http1.0 -s -H Connection:close --socks5 127.0.0.1:$socks $curl100"
/usr/bin/time -f "%e %U %S" -o "$work/wait.txt" "$fetch" -o /dev/null "http://127.0.0.1:$slow/" 
read -r wall user sys < "$work/wait.txt"
python3 -c "import sys; w,u,s=map(float,sys.argv[1:]); print(f'waiting 3 s for an answer      wall {w:.2f}s, cpu {u+s:.3f}s = {100*(u+s)/w:.2f}% of the wall time')" "$wall" "$user" "$sys"

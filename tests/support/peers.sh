#!/usr/bin/env bash
# The real servers the transport tests talk to, on free loopback ports:
#
#   peers.sh start DIR   make a test CA and certificates, start nginx and
#                        tinyproxy, write DIR/peers.txt
#   peers.sh stop DIR    stop both
#
# CTest runs these as the setup and cleanup of the "peers" fixture. All that
# they write (configs, pid files, logs, temp paths, keys) stays in DIR, so
# runs as root leave the system alone. peers.txt has one "name=value" a line,
# which a test program reads as easily natively as under Wine:
#   nginx_http, nginx_https, nginx_https_untrusted, tinyproxy   ports
#   ca_file                                                     the test CA (PEM)
#
# nginx serves, on its http port:
#   /plain          a plain text body            /zero     a body holding a zero byte
#   /empty          an empty body                /cookies  two Set-Cookie lines
#   /chain/1        301 to /chain/2 (relative), which is a 302 to /final (absolute)
#   /big-head       a header block over 5000 bytes
#   /echo           the request head it received, as the body
# and /plain on both https ports: one with a certificate from the test CA,
# one with a self-signed certificate that nothing trusts.
set -euo pipefail

command=${1:-}
dir=${2:-}
if [[ -z $command || -z $dir ]]; then
    sed -n '2,8p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

# A port the system has just handed out as free. Another program may take
# it before the server binds it; starting the server is retried then.
free_port() {
    perl -MIO::Socket::INET -e '
        my $s = IO::Socket::INET->new(LocalAddr => "127.0.0.1", LocalPort => 0,
                                      Listen => 1, ReuseAddr => 1) or die "no free port: $!\n";
        print $s->sockport, "\n";'
}

# True once something accepts connections on the port.
accepts() {
    perl -MIO::Socket::INET -e '
        exit(IO::Socket::INET->new(PeerAddr => "127.0.0.1", PeerPort => $ARGV[0],
                                   Timeout => 1) ? 0 : 1);' "$1"
}

# Stops the process named in a pid file with the signal given (TERM when
# none) and waits until it is gone.
stop_pid_file() {
    local pid_file=$1 signal=${2:-TERM} pid
    [[ -f $pid_file ]] || return 0
    pid=$(<"$pid_file")
    rm -f "$pid_file"
    [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null || return 0
    kill -"$signal" "$pid" 2>/dev/null || return 0
    # Wait until it is gone, so that the next run may take the same ports.
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
}

make_certificates() {
    local tls=$dir/tls
    rm -rf "$tls"
    mkdir -p "$tls"
    # EC keys: made in milliseconds, unlike RSA ones.
    local key=(-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes)
    openssl req -x509 "${key[@]}" -keyout "$tls/ca.key" -out "$tls/ca.pem" -days 30 \
        -subj "/CN=Quorvel Test CA" \
        -addext "basicConstraints=critical,CA:TRUE" \
        -addext "keyUsage=critical,keyCertSign,cRLSign" 2>/dev/null
    openssl req "${key[@]}" -keyout "$tls/server.key" -out "$tls/server.csr" \
        -subj "/CN=127.0.0.1" 2>/dev/null
    # The address as a DNS name too: WinINet under Wine matches the server
    # name against DNS names only, curl against the IP address.
    printf '%s\n' "subjectAltName=IP:127.0.0.1,DNS:127.0.0.1,DNS:localhost" "basicConstraints=CA:FALSE" \
        "extendedKeyUsage=serverAuth" >"$tls/server.ext"
    openssl x509 -req -in "$tls/server.csr" -CA "$tls/ca.pem" -CAkey "$tls/ca.key" \
        -CAcreateserial -out "$tls/server.pem" -days 30 -extfile "$tls/server.ext" 2>/dev/null
    # Self-signed, for the right name: only the issuer is wrong.
    openssl req -x509 "${key[@]}" -keyout "$tls/untrusted.key" -out "$tls/untrusted.pem" \
        -days 30 -subj "/CN=127.0.0.1" \
        -addext "subjectAltName=IP:127.0.0.1,DNS:127.0.0.1,DNS:localhost" 2>/dev/null
}

make_content() {
    local www=$dir/www
    rm -rf "$www"
    mkdir -p "$www"
    printf 'Plain body for the transport tests.\n' >"$www/plain"
    printf 'before\0after' >"$www/zero"
    : >"$www/empty"
    printf 'Final page of the redirect chain.\n' >"$www/final"
}

write_nginx_config() {
    local http=$1 https=$2 untrusted=$3
    # Three long lines: nginx takes no single parameter over 4 KiB.
    local filler
    filler=$(printf '%2000s' '' | tr ' ' 'x')
    mkdir -p "$dir/nginx-temp"
    cat >"$dir/nginx.conf" <<CONF
load_module /usr/lib/nginx/modules/ngx_http_echo_module.so;
user root root;
worker_processes 1;
pid $dir/nginx.pid;
error_log $dir/nginx-error.log warn;
events { worker_connections 64; }
http {
    access_log off;
    server_tokens off;
    absolute_redirect off;
    types { }
    default_type text/plain;
    client_body_temp_path $dir/nginx-temp/body;
    proxy_temp_path $dir/nginx-temp/proxy;
    fastcgi_temp_path $dir/nginx-temp/fastcgi;
    uwsgi_temp_path $dir/nginx-temp/uwsgi;
    scgi_temp_path $dir/nginx-temp/scgi;
    root $dir/www;

    server {
        listen 127.0.0.1:$http;
        location = /echo { echo_duplicate 1 \$echo_client_request_headers; }
        location = /chain/1 { return 301 /chain/2; }
        location = /chain/2 { return 302 http://127.0.0.1:$http/final; }
        location = /cookies {
            add_header Set-Cookie "first=one; Path=/";
            add_header Set-Cookie "second=two; Path=/; HttpOnly";
            return 200 "cookies set\n";
        }
        location = /big-head {
            add_header X-Filler-1 "$filler";
            add_header X-Filler-2 "$filler";
            add_header X-Filler-3 "$filler";
            return 200 "big head\n";
        }
    }
    server {
        listen 127.0.0.1:$https ssl;
        ssl_certificate $dir/tls/server.pem;
        ssl_certificate_key $dir/tls/server.key;
    }
    server {
        listen 127.0.0.1:$untrusted ssl;
        ssl_certificate $dir/tls/untrusted.pem;
        ssl_certificate_key $dir/tls/untrusted.key;
    }
}
CONF
}

write_tinyproxy_config() {
    cat >"$dir/tinyproxy.conf" <<CONF
User root
Group root
Port $1
Listen 127.0.0.1
Timeout 30
LogFile "$dir/tinyproxy.log"
LogLevel Info
MaxClients 16
Allow 127.0.0.1
ViaProxyName "tinyproxy"
CONF
}

start_nginx() {
    local attempt
    for attempt in 1 2 3 4 5; do
        nginx_http=$(free_port)
        nginx_https=$(free_port)
        nginx_https_untrusted=$(free_port)
        write_nginx_config "$nginx_http" "$nginx_https" "$nginx_https_untrusted"
        # nginx binds its ports before it goes to the background: a zero
        # exit means it is listening.
        if nginx -e "$dir/nginx-error.log" -p "$dir/" -c "$dir/nginx.conf" \
            2>"$dir/nginx-start.log"; then
            return 0
        fi
        grep -q 'Address already in use' "$dir/nginx-start.log" || break
        echo "peers.sh: nginx found a port taken (attempt $attempt), trying other ports" >&2
    done
    cat "$dir/nginx-start.log" >&2
    return 1
}

start_tinyproxy() {
    local attempt pid
    for attempt in 1 2 3 4 5; do
        tinyproxy_port=$(free_port)
        write_tinyproxy_config "$tinyproxy_port"
        # In the foreground, in a session of its own with its streams closed,
        # so that it holds no pipe of ctest's open.
        setsid tinyproxy -d -c "$dir/tinyproxy.conf" </dev/null >>"$dir/tinyproxy.out" 2>&1 &
        pid=$!
        echo "$pid" >"$dir/tinyproxy.pid"
        for _ in $(seq 100); do
            if accepts "$tinyproxy_port"; then
                return 0
            fi
            kill -0 "$pid" 2>/dev/null || break
            sleep 0.05
        done
        stop_pid_file "$dir/tinyproxy.pid" KILL
        echo "peers.sh: tinyproxy did not start (attempt $attempt), trying another port" >&2
    done
    cat "$dir/tinyproxy.out" >&2
    return 1
}

stop_all() {
    stop_pid_file "$dir/nginx.pid"
    # tinyproxy takes a second or more to wind down its threads on TERM, and
    # keeps nothing worth a clean end.
    stop_pid_file "$dir/tinyproxy.pid" KILL
}

case $command in
    start)
        stop_all
        rm -f "$dir/peers.txt" "$dir"/*.log "$dir/tinyproxy.out"
        make_certificates
        make_content
        start_nginx
        start_tinyproxy || { stop_all; exit 1; }
        cat >"$dir/peers.txt.new" <<PEERS
nginx_http=$nginx_http
nginx_https=$nginx_https
nginx_https_untrusted=$nginx_https_untrusted
tinyproxy=$tinyproxy_port
ca_file=$dir/tls/ca.pem
PEERS
        mv "$dir/peers.txt.new" "$dir/peers.txt"
        ;;
    stop)
        stop_all
        rm -f "$dir/peers.txt"
        ;;
    *)
        echo "peers.sh: unknown command '$command'" >&2
        exit 2
        ;;
esac

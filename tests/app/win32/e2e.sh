#!/usr/bin/env bash
# quorvel.exe used as a person would, under Wine on the project's X display:
# type a long address, click "shorten and copy", paste from the X clipboard,
# click "shorten", press Esc. Checks the bytes the service received, the X
# clipboard (read with xclip) and the exit code.
#
#   e2e.sh QUORVEL_E2E_EXE PORT
#
# The program has the service address 127.0.0.1:PORT baked in, so the test
# holds a CTest resource lock on that port.
set -euo pipefail

exe=$1
port=$2
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
work=$(mktemp -d)
answer="http://q.test/e2e"
server_pid=
app_pid=
cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n $server_pid ]] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "e2e: $*" >&2
    exit 1
}

DISPLAY=$("$root/tools/wine-run" --display)
export DISPLAY

# The service: answers every request with the short address and records it.
mkfifo "$work/server.out"
"$root/tests/support/capture-server.pl" "$port" "$answer" "$work/requests" >"$work/server.out" 2>&1 &
server_pid=$!
read -r ready _ <"$work/server.out" || true
[[ $ready == listening ]] || fail "the capture server did not start on port $port"

"$root/tools/wine-run" "$exe" &
app_pid=$!
window=$(timeout 60 xdotool search --sync --name '^Quorvel$' | head -n1)
[[ -n $window ]] || fail "no Quorvel window appeared"
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"

# A place in the window's client area (374 x 220 inside the 380 x 249 frame).
click() {
    xdotool mousemove --window "$window" $((3 + $1)) $((26 + $2)) click 1
}

# Until the requests file holds N requests, for at most 20 s.
wait_for_requests() {
    local deadline=$((SECONDS + 20))
    until [[ -f $work/requests && $(grep -c '^GET ' "$work/requests") -ge $1 ]]; do
        ((SECONDS < deadline)) || fail "the service got fewer than $1 requests"
        sleep 0.1
    done
}

# 1. The focus starts in the long-address box: type, then "shorten and copy".
long='http://long.example/a b?x=1&y=2#frag'
xdotool type --delay 5 "$long"
click 308 88  # 按钮5
wait_for_requests 1
deadline=$((SECONDS + 20))
until [[ $(xclip -o -selection clipboard 2>/dev/null) == "$answer" ]]; do
    ((SECONDS < deadline)) || fail "the clipboard never got the short address"
    sleep 0.1
done

# 2. An address copied by another program, pasted (按钮4) and shortened (按钮1).
# xclip stays behind to serve the selection: its streams must not be ours,
# or whoever reads our output would wait for it.
printf '%s' 'http://pasted.example/p?q=1' | xclip -i -selection clipboard >/dev/null 2>&1
click 276 48  # 按钮4
click 340 48  # 按钮1
wait_for_requests 2

# 3. Esc ends the program with exit code 0.
xdotool key Escape
status=0
timeout 30 tail --pid="$app_pid" -f /dev/null || fail "Esc did not close the window"
wait "$app_pid" || status=$?
app_pid=
((status == 0)) || fail "exit code $status"

agent='Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Qrix; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)'
expected() {
    local url="http://127.0.0.1:$port/api/Tq4wRb/?s=$1"
    printf 'GET /api/Tq4wRb/?s=%s HTTP/1.1\r\nHost: 127.0.0.1:%s\r\nUser-Agent: %s\r\nReferer: %s\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded\r\n\r\n' \
        "${1// /%20}" "$port" "$agent" "$url"
}
{ expected "$long"; expected 'http://pasted.example/p?q=1'; } >"$work/expected"
if ! cmp -s "$work/expected" "$work/requests"; then
    echo "e2e: the service received other bytes than expected" >&2
    diff <(cat -A "$work/expected") <(cat -A "$work/requests") >&2 || true
    exit 1
fi
echo "e2e: passed (2 requests byte for byte, clipboard both ways, Esc, exit code 0)"

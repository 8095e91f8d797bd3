#!/usr/bin/env bash
# Quorvel used as a person uses it: the real program on a bare X server
# (Xvfb, no window manager), typed into and clicked with xdotool, the
# clipboard read back with xclip, and every request checked byte for byte
# at a stand-in service on this machine.
#
#   e2e_test.sh PROGRAM SERVER PORT PUBLISHER_URL
#
# PROGRAM is a build of quorvel that asks 127.0.0.1:PORT and whose hyperlink
# opens PUBLISHER_URL; SERVER is e2e_http_server. The desktop's browser is
# replaced by an xdg-open that writes down the address it is given.
set -euo pipefail

program=$1 server=$2 port=$3 publisher_url=$4

work=$(mktemp -d)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [[ -s $work/program.log ]]; then
        echo "--- the program's output:" >&2
        cat "$work/program.log" >&2
    fi
    exit 1
}

# wait_for WHAT COMMAND...: runs COMMAND until it succeeds, for at most 20 s.
wait_for() {
    local what=$1 deadline=$((SECONDS + 20))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || fail "timed out waiting for $what"
        sleep 0.05
    done
}

# --- a bare X server. -displayfd lets Xvfb take the first free display
# number itself and tell it once it accepts clients: no two runs race for
# one number, and nothing is started before the server is ready.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/displayfd" \
    >"$work/xvfb.log" 2>&1 &
pids+=($!)
display=
read -r -t 20 display <"$work/displayfd" || true
[[ $display =~ ^[0-9]+$ ]] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=:$display
echo "Xvfb on display $DISPLAY"

# --- the stand-in service. The port is fixed in the program; while another
# run on this machine still holds it, try again.
mkdir "$work/requests"
start_server() {
    "$server" "$port" "$work/requests" >"$work/server.out" 2>"$work/server.err" &
    server_pid=$!
    wait_for "the stand-in service to listen or fail" \
        eval 'grep -q listening "$work/server.out" || ! kill -0 "$server_pid" 2>/dev/null'
    grep -q listening "$work/server.out"
}
wait_for "port $port to be free" start_server
pids+=("$server_pid")

# --- the program, with a browser that writes down what it opens.
mkdir -m 700 "$work/runtime" "$work/bin"
cat >"$work/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s' "\$1" > "$work/opened.tmp" && mv "$work/opened.tmp" "$work/opened"
EOF
chmod +x "$work/bin/xdg-open"

PATH="$work/bin:$PATH" XDG_RUNTIME_DIR="$work/runtime" LANG=C.UTF-8 LC_ALL=C.UTF-8 \
    QT_QPA_PLATFORM=xcb "$program" >"$work/program.log" 2>&1 &
program_pid=$!
pids+=("$program_pid")

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvel$' | head -n1) ||
    fail "no window titled Quorvel"

# Centred on the 1024 x 768 screen as a 380 x 249 window: (322, 259); no
# window manager adds a frame, so the client area is the whole window.
geometry=$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=' | tr '\n' ' ')
[[ $geometry == "X=322 Y=259 WIDTH=374 HEIGHT=220 " ]] || fail "window geometry: $geometry"

has_focus() { [[ $(xdotool getwindowfocus) == "$window" ]]; }
wait_for "the window to take the keyboard" has_focus

# click X Y: the left button at a point of the window's client area.
click() {
    xdotool mousemove --sync --window "$window" "$1" "$2" click 1
}
# The controls' centres.
paste_button=(276 48) shorten_button=(340 48) shorten_copy_button=(308 88)
link=(316 196)

# request_line N: the first line of the N-th request, once it has come.
request_line() {
    wait_for "request $1" test -e "$work/requests/request-$1.http"
    head -n1 "$work/requests/request-$1.http"
}
expect_request() {
    local got
    got=$(request_line "$1")
    [[ $got == "$2"$'\r' ]] || fail "request $1: got '${got%$'\r'}', wanted '$2'"
}

clipboard_is() { [[ $(xclip -o -selection clipboard 2>/dev/null) == "$1" ]]; }

# --- typed into 编辑框1, which has the focus from the start; Enter does
# nothing (had it shortened, every later request would come one number
# late), 按钮1 shortens. The address is longer than the box and goes out
# unencoded but for its blanks.
path=$(printf 'segment%03d/' $(seq 1 40))
address="http://long.example/${path}page?q=a b&x=1#frag"
xdotool type --delay 2 "$address"
xdotool key Return
click "${shorten_button[@]}"
expect_request 1 "GET /api/Tq4wRb/?s=${address// /%20} HTTP/1.1"

# --- the answer is in 编辑框2, which now has the focus: the user adds to
# it, Tab goes to 按钮2 and Space presses it, copying the box.
xdotool type --delay 2 " (mine)"
xdotool key Tab space
wait_for "the copied answer on the clipboard" clipboard_is "http://s.test/1 (mine)"

# --- another program's text pasted with 按钮4, then shortened and copied
# with 按钮5.
pasted="http://pasted.example/a?b=1&c=2#d"
printf '%s' "$pasted" | xclip -selection clipboard -i
wait_for "xclip to own the clipboard" clipboard_is "$pasted"
click "${paste_button[@]}"
click "${shorten_copy_button[@]}"
expect_request 2 "GET /api/Tq4wRb/?s=$pasted HTTP/1.1"
wait_for "the second answer on the clipboard" clipboard_is "http://s.test/2"

# --- the hyperlink opens the publisher's address in the browser.
click "${link[@]}"
wait_for "the browser to be started" test -e "$work/opened"
[[ $(cat "$work/opened") == "$publisher_url" ]] || fail "opened '$(cat "$work/opened")'"

# --- Esc closes the window and the program ends with exit code 0.
xdotool key Escape
ended() { ! kill -0 "$program_pid" 2>/dev/null; }
wait_for "the program to end after Esc" ended
status=0
wait "$program_pid" || status=$?
((status == 0)) || fail "exit code $status"
[[ ! -e $work/requests/request-3.http ]] || fail "an unexpected third request"

echo "PASS: typed, pasted, shortened, copied, opened and closed as a user does"

# Shared by the screenshot scripts; source it, do not run it.

# Starts Xvfb on the first free display number from 90 on, 800x480 pixels,
# and waits until it answers. Sets `display` (":N") and `xvfb_pid`.
start_virtual_display() {
    display=""
    local n
    for n in $(seq 90 130); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
    done
    [ -n "$display" ] || { echo "no free display number" >&2; exit 1; }
    Xvfb "$display" -screen 0 800x480x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        xwininfo -display "$display" -root >/dev/null 2>&1 && break
        sleep 0.1
    done
}

# Prints the id of Quorvel's main window on `display` once it is mapped;
# fails after `tries` tenths of a second (default 100).
wait_for_main_window() {
    local tries="${1:-100}" window=""
    for _ in $(seq "$tries"); do
        window="$(xwininfo -display "$display" -root -tree 2>/dev/null |
            awk '/"Quorvel标准计算程序/ && $0 !~ /has no name/ {print $1; exit}')"
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "the window did not appear" >&2; return 1; }
    echo "$window"
}

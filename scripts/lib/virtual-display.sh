# Shared by the screenshot scripts; source it, do not run it.

# Starts Xvfb on the first free display number from 90 on, with a screen of
# `size` pixels (default 800x480), and waits until it answers. Sets `display`
# (":N") and `xvfb_pid`.
start_virtual_display() {
    local size="${1:-800x480}"
    display=""
    local n
    for n in $(seq 90 130); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
    done
    [ -n "$display" ] || { echo "no free display number" >&2; exit 1; }
    Xvfb "$display" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
        xwininfo -display "$display" -root >/dev/null 2>&1 && break
        sleep 0.1
    done
}

# Prints the id of the first named window on `display` whose line in the
# window tree matches the awk pattern `title` once it is mapped; fails after
# `tries` tenths of a second (default 100).
wait_for_window() {
    local title="$1" tries="${2:-100}" window=""
    for _ in $(seq "$tries"); do
        window="$(xwininfo -display "$display" -root -tree 2>/dev/null |
            awk -v title="$title" '$0 ~ title && $0 !~ /has no name/ {print $1; exit}')"
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { echo "the window did not appear" >&2; return 1; }
    echo "$window"
}

# Quorvel's main window (see wait_for_window).
wait_for_main_window() {
    wait_for_window '"Quorvel标准计算程序' "${1:-100}"
}

# Makes a Wine prefix at $WINEPREFIX for pictures of Quorvel's windows. With
# no window manager on the virtual display Wine draws the title bar itself;
# its caption font falls back on the CJK font for the title, as Windows links
# a CJK font to its UI font. `wine`: the Wine loader.
prepare_wine_for_pictures() {
    "$wine" wineboot -i >/dev/null 2>&1 || true
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
        /v Tahoma /t REG_MULTI_SZ /d 'wqy-zenhei.ttc,WenQuanYi Zen Hei' /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
}

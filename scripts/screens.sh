#!/usr/bin/env bash
# Screenshots of the running program for a review by eye: starts build/bin/velmora6 on a
# virtual X screen (xvfb-run) and captures the whole screen as PNG files:
#   1-start.png      the main window with the empty 1:500 plan (or the plans named after
#                    the folder) and the tool palette, as they show at start;
#   2-navigator.png  the same after a click on the palette's "Панель навигатора" button,
#                    with the navigator open;
#   3-whole-plan.png then after a click on "Весь план в окне".
# The virtual screen has no window manager: the windows show without title bars.
# Usage: bash scripts/screens.sh [folder [plan...]]   (default folder: a new temporary one)
# Needs a built program (bash scripts/run.sh or cmake --build build --target velmora6) and
# xvfb, xauth, imagemagick, x11-utils, libxtst6 (scripts/deps.sh). Not part of CI.
set -euo pipefail

# Fakes input on the virtual screen through the XTest extension: "click X Y" (left button
# at the screen point, then the pointer moves away so that no hint covers the windows) or
# "key" (Enter).
fake_input() {
    python3 - "$@" <<'EOF'
import ctypes, sys, time
x11 = ctypes.CDLL("libX11.so.6")
xtst = ctypes.CDLL("libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = x11.XOpenDisplay(None)
if not display:
    sys.exit("no display")
d = ctypes.c_void_p(display)
if sys.argv[1] == "click":
    xtst.XTestFakeMotionEvent(d, -1, int(sys.argv[2]), int(sys.argv[3]), 0)
    x11.XFlush(d)
    time.sleep(0.3)
    for press in (1, 0):
        xtst.XTestFakeButtonEvent(d, 1, press, 0)
        x11.XFlush(d)
        time.sleep(0.1)
    xtst.XTestFakeMotionEvent(d, -1, 5, 5, 0)
else:
    code = x11.XKeysymToKeycode(d, 0xFF0D)
    for press in (1, 0):
        xtst.XTestFakeKeyEvent(d, code, press, 0)
        x11.XFlush(d)
        time.sleep(0.1)
x11.XFlush(d)
x11.XCloseDisplay(d)
EOF
}

# The part that runs inside the virtual screen.
inner() {
    local program="$1" out="$2"
    shift 2
    # A first start makes a desktop shortcut and file associations: they go to a scratch
    # home inside the folder, never to the user's own.
    mkdir -p "$out/home"
    HOME="$out/home" XDG_DATA_HOME="$out/home/.local/share" XDG_CONFIG_HOME="$out/home/.config" \
        "$program" "$@" >"$out/velmora6.log" 2>&1 &
    local pid=$!
    # The id of the top-level window of the given title, empty while there is none.
    window_id() {
        xwininfo -root -tree 2>/dev/null |
            awk -v title="\"$1\"" 'index($0, title) { print $1; exit }'
    }
    local palette="" i   # waits for the palette up to 40 s
    for i in $(seq 1 80); do
        if [ "$i" = 16 ] && [ ! -e "$out/0-first-start.png" ]; then
            # No palette after 8 s: a new user's first start shows the licence first.
            # It is captured and accepted with Enter ("Согласен").
            import -window root "$out/0-first-start.png"
            fake_input key
        fi
        kill -0 "$pid" 2>/dev/null || { echo "The program ended at start: see $out/velmora6.log" >&2; return 1; }
        palette="$(window_id "Инструменты")"
        [ -n "$palette" ] && xwininfo -id "$palette" | grep -q "IsViewable" && break
        palette=""
        sleep 0.5
    done
    sleep 2   # the palette fades in
    import -window root "$out/1-start.png"
    if [ -n "$palette" ]; then
        # The navigator button sits at 27,242 (25 x 25) in the palette.
        local geometry x y
        geometry="$(xwininfo -id "$palette")"
        x=$(awk '/Absolute upper-left X/ { print $NF }' <<<"$geometry")
        y=$(awk '/Absolute upper-left Y/ { print $NF }' <<<"$geometry")
        fake_input click "$((x + 39))" "$((y + 254))"
        sleep 3
        import -window root "$out/2-navigator.png"
        # "Весь план в окне" at 27,0.
        fake_input click "$((x + 39))" "$((y + 12))"
        sleep 3
        import -window root "$out/3-whole-plan.png"
    else
        echo "The palette did not show: only 1-start.png is made." >&2
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
if [ "${1:-}" = "--inner" ]; then
    shift
    inner "$@"
    exit
fi

root="$(cd "$(dirname "$0")/.." && pwd)"

program="${VELMORA_BUILD:-$root/build}/bin/velmora6"
out="${1:-}"
[ $# -gt 0 ] && shift
[ -n "$out" ] || out="$(mktemp -d -t velmora-screens.XXXXXX)"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
plans=()
for plan in "$@"; do
    plans+=("$(realpath -m -- "$plan")")
done
if [ ! -x "$program" ]; then
    echo "No program at $program: build it first (cmake --build build --target velmora6)." >&2
    exit 1
fi
size="${VELMORA_SCREEN:-1600x1000}"

# xvfb-run is a POSIX shell script, which drops exported functions: the script calls itself.
xvfb-run -a -s "-screen 0 ${size}x24" bash "$0" --inner "$program" "$out" "${plans[@]}"
echo "Screenshots in $out:"
ls -1 "$out"/*.png

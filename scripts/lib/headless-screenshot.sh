# Sourced by the scripts that take pictures of sheets with headless Chromium.
# headless_screenshot SCRATCH WIDTH,HEIGHT PICTURE URL
#   saves the first WIDTH x HEIGHT pixels of the page at URL in PICTURE,
#   with a throw-away Chromium profile in SCRATCH/chromium.
headless_screenshot() {
    local scratch="$1" size="$2" picture="$3" url="$4"
    mkdir -p "$(dirname "$picture")" "$scratch/chromium"
    chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --user-data-dir="$scratch/chromium" --hide-scrollbars --window-size="$size" \
        --screenshot="$picture" "$url" >/dev/null 2>&1
    echo "saved $picture"
}

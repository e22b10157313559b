#!/usr/bin/env bash
# Checks the Debian package the way a user meets it: lintian, the menu entry
# and AppStream validators; then installs it, starts the installed program and
# computes the default verdict as an ordinary user through the installed
# files, and removes it again, leaving nothing behind.
# Usage: scripts/check_package.sh [build-dir]   (default build-package, made by
# scripts/package.sh). Installs and removes the package and a user "quorvelcheck":
# for a CI machine, as root.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-package}"
deb="$(ls "$build"/quorvel_*_amd64.deb)"
id="example.quorvel.Quorvel"
app_dir=/usr/lib/quorvel
user=quorvelcheck
verdict="Quorvel 建议距离（距面源中心） = 1100 m"
[ "$(id -u)" -eq 0 ] || { echo "run as root: it installs the package" >&2; exit 1; }
# shared-mime-info and desktop-file-utils own the dpkg triggers that update
# the MIME database and the association cache when the package comes and goes.
"$root/scripts/setup.sh" lintian desktop-file-utils appstream x11-utils shared-mime-info

work="$(mktemp -d)"
chmod 755 "$work"
cleanup() {
    userdel -r "$user" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

echo "== lintian $(basename "$deb")"
lintian --fail-on error --tag-display-limit 0 "$deb"

echo "== menu entry and AppStream data"
dpkg-deb -x "$deb" "$work/unpacked"
desktop-file-validate "$work/unpacked/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$work/unpacked/usr/share/metainfo/$id.metainfo.xml"

echo "== install"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
dpkg-query -L quorvel >"$work/files"
# Everything under the prefix as installed: path, mode, size, contents.
prefix_state() {
    while read -r path; do
        [ -e "$path" ] || [ -L "$path" ] || continue
        stat -c '%n %a %s %Y' "$path"
        [ -f "$path" ] && sha256sum "$path"
    done <"$work/files"
    find "$app_dir" | sort
}
prefix_state >"$work/before"
[ "$(readlink -f /usr/bin/quorvel)" = "$app_dir/quorvel" ] || fail "/usr/bin/quorvel does not lead to $app_dir"

useradd --create-home --shell /bin/sh "$user"
home="$(getent passwd "$user" | cut -d: -f6)"
as_user() { runuser -u "$user" -- env -i HOME="$home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@"; }

echo "== the installed program starts from the menu entry's command, as $user"
# Without a file the entry's %f stands for nothing.
exec_line="$(sed -n 's/^Exec=//p' "/usr/share/applications/$id.desktop" | sed 's/ %f$//')"
wm_class="$(sed -n 's/^StartupWMClass=//p' "/usr/share/applications/$id.desktop")"
as_user xvfb-run -a -s "-screen 0 800x600x24" sh -c "
    $exec_line &
    for i in \$(seq 100); do
        xwininfo -root -tree 2>/dev/null | grep -q 'Quorvel标准计算程序' && break
        sleep 0.1
    done
    xwininfo -root -tree | grep 'Quorvel标准计算程序'
    kill \$!" >"$work/window"
cat "$work/window"
grep -q "\"$wm_class\")" "$work/window" || fail "the window's class is not StartupWMClass=$wm_class"

echo "== the default verdict through $app_dir, as $user"
cp "$build/tests-bin/installed_run_check" "$work/"
as_user QT_QPA_PLATFORM=offscreen "$work/installed_run_check" "$app_dir" | tee "$work/run"
grep -qxF "run directory: $home/.local/state/quorvel/" "$work/run" || fail "the run was not in the user's state directory"
grep -qxF "verdict: $verdict" "$work/run" || fail "not the default verdict"
state="$home/.local/state/quorvel"
[ "$(stat -c '%a %U' "$state")" = "700 $user" ] || fail "$state is not the user's alone"
[ -z "$(ls -A "$state")" ] || fail "run files left in $state: $(ls -A "$state")"

echo "== the example project through /usr/bin/quorvel-batch, as $user"
[ "$(readlink -f /usr/bin/quorvel-batch)" = "$app_dir/quorvel-batch" ] || fail "/usr/bin/quorvel-batch does not lead to $app_dir"
cp "$root/docs/example.qvproj" "$work/"
as_user /usr/bin/quorvel-batch "$work/example.qvproj" --results - >"$work/results.json" \
    2>"$work/batch.txt" || { cat "$work/batch.txt"; fail "quorvel-batch failed"; }
cat "$work/batch.txt"
grep -q '"format": "quorvel-results"' "$work/results.json" || fail "quorvel-batch wrote no results"
[ -z "$(ls -A "$state")" ] || fail "run folders left in $state: $(ls -A "$state")"
[ -f /usr/share/man/man1/quorvel-batch.1.gz ] || fail "no manual page for quorvel-batch"

echo "== project files: their MIME type and the program that opens them"
mime=application/x-quorvel-project
mime_state() {
    grep -F ":$mime:" /usr/share/mime/globs2 || true
    grep -F "$mime=" /usr/share/applications/mimeinfo.cache || true
}
mime_state | tee "$work/mime"
grep -qxF "50:$mime:*.qvproj" "$work/mime" || fail "*.qvproj is not $mime in the MIME database"
grep -qxF "$mime=$id.desktop;" "$work/mime" || fail "the menu entry is not the one for $mime"
[ -f "/usr/share/mime/$mime.xml" ] || fail "no $mime in the MIME database"
grep -qF 'Quorvel项目' "/usr/share/mime/$mime.xml" || fail "$mime has no Chinese comment"
icon="$(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' "/usr/share/mime/$mime.xml")"
[ -f "/usr/share/icons/hicolor/48x48/mimetypes/$icon.png" ] || fail "no icon $icon for $mime"

echo "== a project file opened as the desktop opens it, as $user"
open_line="$(sed -n 's/^Exec=//p' "/usr/share/applications/$id.desktop" | sed "s|%f|$work/example.qvproj|")"
as_user xvfb-run -a -s "-screen 0 1280x800x24" sh -c "
    $open_line &
    for i in \$(seq 100); do
        xwininfo -root -tree 2>/dev/null | grep -q 'example.qvproj - Quorvel项目计算' && break
        sleep 0.1
    done
    xwininfo -root -tree | grep 'example.qvproj - Quorvel项目计算'
    kill \$!" >"$work/project-window" || true
cat "$work/project-window"
grep -q 'example.qvproj - Quorvel项目计算' "$work/project-window" || fail "the project file did not open in its window"

prefix_state >"$work/after"
diff "$work/before" "$work/after" || fail "something under the prefix changed"
dpkg --verify quorvel || fail "installed files changed"

echo "== remove"
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq quorvel >/dev/null
while read -r path; do
    if [ -e "$path" ] || [ -L "$path" ]; then
        [ -d "$path" ] && [ ! -L "$path" ] && [ "$path" != "$app_dir" ] && continue
        fail "$path is left after removal"
    fi
done <"$work/files"
[ -z "$(mime_state)" ] || fail "$mime is left after removal: $(mime_state)"
[ ! -e "/usr/share/mime/$mime.xml" ] || fail "$mime is left in the MIME database"
echo "package check passed"

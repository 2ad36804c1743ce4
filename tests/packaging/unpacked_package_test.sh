#!/usr/bin/env bash
# The Debian package unpacked into a scratch root (dpkg-deb -x; nothing is installed on the
# machine) and used from there by an unprivileged user, as an installation under a /usr that
# the user cannot write: tolvane-build builds a page with the packaged templates and styles,
# and the window's preview build (the packaged program, driven by PREVIEW_DRIVER) writes into
# the user's cache folder. Nothing may be written under the scratch root.
#   unpacked_package_test.sh PACKAGE.deb PREVIEW_DRIVER.so
set -euo pipefail
deb=$1
driver=$2

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
chmod 755 "$scratch"
root=$scratch/root
home=$scratch/home
dpkg-deb -x "$deb" "$root"
chmod -R a-w "$root"
mkdir -p "$home/runtime"
chmod 700 "$home/runtime"
printf 'apples.html=Apples and pears\r\nplums.html=Plums\r\n' >"$home/items.til"

# As root the steps run as "nobody"; as anyone else, as that user (the root is read-only all
# the same).
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody:nogroup "$home"
    as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
run() {
    "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$home/runtime" "$@"
}
# A copied style sheet has its line breaks made CR LF; the rest is the sheet's.
same_sheet() {
    cmp -s <(tr -d '\r' <"$1") <(tr -d '\r' <"$2")
}
snapshot() {
    find "$root" -printf '%P %y %s %m %T@\n' | sort
}
before=$(snapshot)
styles=$root/usr/share/tolvane/Styles

# tolvane-build finds system/ and Styles/ in usr/share/tolvane/, relative to usr/bin/.
run "$root/usr/bin/tolvane-build" -o "$home/site" "$home/items.til" ||
    fail "tolvane-build from the package"
for file in engine.js index.html style.css; do
    [ -s "$home/site/$file" ] || fail "tolvane-build wrote no $file"
done
grep -q 'Apples and pears' "$home/site/engine.js" || fail "engine.js lacks the list's caption"
same_sheet "$home/site/style.css" "$styles/Deadhunt.css" || fail "style.css is not Deadhunt.css"

# The window, offscreen: without XDG_CACHE_HOME the preview goes to ~/.cache/tolvane/temp/,
# which does not exist yet; the web engine module is found in usr/lib/tolvane/.
outcome=$(run QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 LD_PRELOAD="$driver" \
    "$root/usr/bin/Tolvane" 2>"$scratch/window-errors") ||
    fail "the window ended badly: $(cat "$scratch/window-errors")"
cache=$home/.cache/tolvane/temp
module=$root/usr/lib/tolvane/libtolvane_web_engine.so
[ "$outcome" = "loaded $cache/index.html with $module" ] ||
    fail "the window's preview build: $outcome"
for file in engine.js index.html style.css; do
    [ -s "$cache/$file" ] || fail "the preview wrote no $file into $cache"
done
same_sheet "$cache/style.css" "$styles/Deadhunt.css" || fail "the preview's style.css"

after=$(snapshot)
[ "$after" = "$before" ] ||
    fail "written under the unpacked package: $(diff <(echo "$before") <(echo "$after"))"
echo "unpacked package, run as $(run id -un): $outcome"

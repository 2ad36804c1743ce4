#!/usr/bin/env bash
# The generated search page beside FlexSearch, uFuzzy, MiniSearch, Fuse.js and Lunr in Debian's
# Chromium (headless): 100,000 items for speed, the machine's manual pages for ranking. Prints
# one markdown table (medians of the warm rounds, the fresh first round beside them) and the
# long tasks of the page's loads. Run by `make bench` (bench/run-all) with its build folder, or
# alone from the top of the checkout:
#
#   bench/data/chromium/page_vs_libraries.bench.sh [BUILD_DIR] [-- OPTIONS]
#
# BUILD_DIR holds cli/tolvane-build; without it, tolvane-build is built on its own (no Qt) in
# build-chromium-bench/. OPTIONS go to page_vs_libraries.mjs: --rounds N (default 5), --settle MS
# (the longest to wait after a load for the page's deferred work, default 30000), --engine LABEL=ENGINE_TXT for
# more engine templates side by side (the first replaces the checkout's own), --json FILE for
# every figure, --out DIR for the built sites. Example, two engines:
#
#   bench/data/chromium/page_vs_libraries.bench.sh -- --engine new=data/system/engine.txt \
#       --engine main=../main/data/system/engine.txt
#
# The libraries and playwright-core come from npm, at the versions package-lock.json pins, into
# node_modules/ here (ignored by git); they are never part of the page. Chromium, Node.js and
# the manual pages come from Debian (scripts/install-deps --bench).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
build_dir=
if [ $# -gt 0 ] && [ "$1" != "--" ]; then
    build_dir=$1
    shift
fi
[ "${1:-}" = "--" ] && shift

"$repo/scripts/install-deps" --bench

if [ -z "$build_dir" ] || [ ! -x "$build_dir/cli/tolvane-build" ]; then
    build_dir=${build_dir:-$repo/build-chromium-bench}
    cmake -S "$repo" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DTOLVANE_WITH_QT=OFF \
        -DTOLVANE_TESTS=OFF >/dev/null
    cmake --build "$build_dir" -j "$(nproc)" --target tolvane-build >/dev/null
fi

# npm ci again only when the lock file changed since the last install.
if ! cmp -s "$here/package-lock.json" "$here/node_modules/.package-lock.json.installed"; then
    (cd "$here" && npm ci --no-audit --no-fund --loglevel=error)
    cp "$here/package-lock.json" "$here/node_modules/.package-lock.json.installed"
fi

exec node "$here/page_vs_libraries.mjs" --tolvane-build "$build_dir/cli/tolvane-build" \
    --repo "$repo" "$@"

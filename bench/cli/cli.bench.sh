#!/usr/bin/env bash
# tolvane-build against what a site owner could do without it, measured side by side in one run:
#   durable copy  cat copying the three written files' bytes into a new file beside the target,
#                 sync of that file, mv over the target: the same bytes made as safe as
#                 tolvane-build makes them (the floor the targets are judged against);
#   cat           the same copy without sync and rename;
#   gawk          a gawk script that writes the same engine.js (checked byte for byte).
# Each program runs TOLVANE_BENCH_RUNS times (default 3), the programs taking turns. The first
# run is shown apart: on a shared virtual machine the first touch of every memory page costs
# much more than later ones, and a user's build usually is such a first run. "warm" is the best
# of the later runs. Peak memory (maximum resident set) comes from /usr/bin/time.
#
# Usage: bench/cli/cli.bench.sh BUILD_DIR [ITEM_COUNTS...]   (default counts: 100000 1000000)
# Targets, at the largest count: at most 1.5x the durable copy's time, at least 10x faster than
# gawk, peak memory at most 1.3x the list file's size; each is shown as met or MISSED, judged
# on the warm runs with the first run's figure beside it. Exit status 1 when gawk's engine.js
# differs from tolvane-build's (the comparison would be void).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [ITEM_COUNTS...]}
shift
if [ $# -gt 0 ]; then counts=("$@"); else counts=(100000 1000000); fi
program=$(cd "$build_dir" && pwd)/cli/tolvane-build
[ -x "$program" ] || { echo "cli.bench: $program not built" >&2; exit 1; }
runs=${TOLVANE_BENCH_RUNS:-3}
[ "$runs" -ge 2 ] || { echo "cli.bench: TOLVANE_BENCH_RUNS must be 2 or more" >&2; exit 1; }
command -v gawk >/dev/null || { echo "cli.bench: gawk is not installed" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "cli.bench: /usr/bin/time is not installed" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-cli-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

# Templates and a style sheet of the usual shape: the heading declares the arrays, the engine
# holds the marker at the head of its loop.
mkdir -p "$work/data/system" "$work/data/Styles"
printf 'var Keyword = new Array();\nvar Address = new Array();\n' >"$work/data/system/heading.txt"
cat >"$work/data/system/engine.txt" <<'EOF'
var MsgBox = window;
function dolt() {
  var query = document.form1.sub.value.toLowerCase();
  var found = 0;
  for(var i=1; i<=Keyword[0]; i++) {
    if (Keyword[i].toLowerCase().indexOf(query) >= 0) {
      document.write('<a href="' + Address[i] + '">' + Keyword[i] + '</a><br>');
      found++;
    }
  }
  if (found == 0) document.write('Nothing found');
}
EOF
printf 'body { background: #000; color: #c00; }\n' >"$work/data/Styles/Deadhunt.css"

# What the awk route has to do: count the items, then write the heading, the arrays with "\"
# and the double quote escaped, and the engine with the credit line's statement before the
# marker, every line ending in CR LF.
cat >"$work/engine.awk" <<'EOF'
# "&&" doubles the matched backslash; "\\\\&" puts one backslash before the matched quote.
function escape(text, quote) {
    gsub(/\\/, "&&", text)
    gsub(quote, "\\\\&", text)
    return text
}
BEGIN { RS = "\r\n|\r|\n"; ORS = "\r\n" }
NR == FNR { count++; next }
FNR == 1 {
    while ((getline line < heading) > 0) print line
    print "Keyword [0] = " count
}
{
    equals = index($0, "=")
    link = equals ? substr($0, 1, equals - 1) : ""
    caption = equals ? substr($0, equals + 1) : $0
    print "Keyword [" FNR "] = \"" escape(caption, "\"") "\""
    print "Address [" FNR "] = \"" escape(link, "\"") "\""
}
END {
    if (count == 0) {
        while ((getline line < heading) > 0) print line
        print "Keyword [0] = 0"
    }
    statement = "MsgBox.document.write(' '+ ' " escape(tags, "'") "<hr>');"
    marker = "for(var i=1; i<=Keyword[0];"
    while ((getline line < engine) > 0) {
        at = inserted ? 0 : index(line, marker)
        if (at) {
            line = substr(line, 1, at - 1) statement substr(line, at)
            inserted = 1
        }
        print line
    }
}
EOF
# The credit line a page starts with, which tolvane-build uses when no --tags file is given.
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
credit=$(sed -n 's/.*kDefaultTagLine = "\(.*\)";$/\1/p' "$source_dir/core/build/search_build.h")
[ -n "$credit" ] || { echo "cli.bench: the default credit line was not found" >&2; exit 1; }

# One run of program NAME (a function below): its wall-clock and CPU (user + system) seconds and
# its peak memory, the largest of the processes it starts, each started under /usr/bin/time.
# The first run is kept as FIRST[name], the best later ones as WALL, CPU and PEAK.
declare -A FIRST WALL CPU PEAK
measure_once() {
    local name=$1 wall cpu peak TIMEFORMAT='%3R %3U %3S'
    : >"$work/peaks.txt"
    { time "run_$name" >/dev/null 2>&1; } 2>"$work/time.txt"
    read -r wall cpu < <(awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time.txt")
    peak=$(awk 'BEGIN { max = 0 } $1 > max { max = $1 } END { print max }' "$work/peaks.txt")
    if [ -z "${FIRST[$name]:-}" ]; then
        FIRST[$name]=$wall
    else
        if [ -z "${WALL[$name]:-}" ] || less "$wall" "${WALL[$name]}"; then WALL[$name]=$wall; fi
        if [ -z "${CPU[$name]:-}" ] || less "$cpu" "${CPU[$name]}"; then CPU[$name]=$cpu; fi
    fi
    if [ -z "${PEAK[$name]:-}" ] || less "${PEAK[$name]}" "$peak"; then PEAK[$name]=$peak; fi
}
less() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
megabytes() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }

# Runs a command under /usr/bin/time, adding its peak memory (KiB) to peaks.txt.
timed() { /usr/bin/time -a -o "$work/peaks.txt" -f %M "$@"; }

run_tolvane() { timed "$program" --data "$work/data" -o "$work/out" "$work/list.til"; }
run_durable() {
    timed cat "$work/copy.src" >"$work/copy/.engine.js.new"
    timed sync "$work/copy/.engine.js.new"
    timed mv "$work/copy/.engine.js.new" "$work/copy/engine.js"
}
run_cat() { timed cat "$work/copy.src" >"$work/copy/plain.js"; }
run_gawk() {
    timed gawk -v heading="$work/data/system/heading.txt" -v engine="$work/data/system/engine.txt" \
        -v tags="$credit" -f "$work/engine.awk" "$work/list.til" "$work/list.til" >"$work/awk.js"
}

programs=(tolvane durable cat gawk)
declare -A LABEL=([tolvane]=tolvane-build [durable]="durable copy" [cat]=cat [gawk]=gawk)

status=0
printf '%-8s %8s %7s  %-14s %8s %8s %7s %8s %14s\n' items list_MB out_MB program first_s \
    warm_s cpu_s peak_MB "first / warm"
printf '%-8s %8s %7s  %-14s %8s %8s %7s %8s %14s\n' "" "" "" "" "" "" "" "" "x durable"
for count in "${counts[@]}"; do
    # Links and captions of ordinary length; every 997th caption holds a quote and a backslash.
    awk -v n="$count" 'BEGIN {
        for (i = 1; i <= n; i++) {
            caption = "Page " i " about topic " (i % 113) " and other things"
            if (i % 997 == 0) caption = caption " \"quoted\" back\\slash"
            printf "https://www.example.org/section%d/page%d.html=%s\r\n", i % 37, i, caption
        }
    }' >"$work/list.til"
    list_bytes=$(stat -c %s "$work/list.til")
    FIRST=() WALL=() CPU=() PEAK=()

    # The programs take turns, so that a slow spell of the machine falls on all of them. The
    # copies copy what tolvane-build wrote in its first run. Every first run writes a new file,
    # every later one replaces the file of the run before. Before each run the disk is synced,
    # so that no run waits for what the one before left to do (freeing a replaced file's
    # blocks, say, which the next journal commit carries out).
    rm -rf "$work/out" "$work/copy"
    mkdir -p "$work/copy"
    for ((run = 0; run < runs; run++)); do
        for name in "${programs[@]}"; do
            sync
            measure_once "$name"
            if [ "$run" -eq 0 ] && [ "$name" = tolvane ]; then
                cat "$work/out/engine.js" "$work/out/index.html" "$work/out/style.css" \
                    >"$work/copy.src"
                out_bytes=$(stat -c %s "$work/copy.src")
            fi
        done
    done
    if ! cmp -s "$work/awk.js" "$work/out/engine.js"; then
        echo "cli.bench: gawk's engine.js differs from tolvane-build's at $count items" >&2
        cmp "$work/awk.js" "$work/out/engine.js" >&2 || true
        status=1
    fi

    for name in "${programs[@]}"; do
        printf '%-8s %8s %7s  %-14s %8s %8s %7s %8s %14s\n' "$count" "$(megabytes "$list_bytes")" \
            "$(megabytes "$out_bytes")" "${LABEL[$name]}" "${FIRST[$name]}" "${WALL[$name]}" \
            "${CPU[$name]}" "$(megabytes "$((PEAK[$name] * 1024))")" \
            "$(ratio "${FIRST[$name]}" "${FIRST[durable]}") / $(ratio "${WALL[$name]}" "${WALL[durable]}")"
    done
done

# Prints a target's line with its verdict on the warm runs and, in brackets, on the first run.
check() {
    local verdict=met first_verdict=met
    awk "BEGIN { exit !($2) }" || verdict=MISSED
    awk "BEGIN { exit !($3) }" || first_verdict=MISSED
    printf '  %-30s %-44s %s (first run: %s)\n' "$1" "$4" "$verdict" "$first_verdict"
}
echo
echo "targets at $count items (warm runs; the first run on fresh memory in brackets):"
check "at most 1.5x the durable copy" "${WALL[tolvane]} <= 1.5 * ${WALL[durable]}" \
    "${FIRST[tolvane]} <= 1.5 * ${FIRST[durable]}" \
    "$(ratio "${WALL[tolvane]}" "${WALL[durable]}")x ($(ratio "${FIRST[tolvane]}" "${FIRST[durable]}")x)"
check "at least 10x faster than gawk" "${WALL[gawk]} >= 10 * ${WALL[tolvane]}" \
    "${FIRST[gawk]} >= 10 * ${FIRST[tolvane]}" \
    "$(ratio "${WALL[gawk]}" "${WALL[tolvane]}")x ($(ratio "${FIRST[gawk]}" "${FIRST[tolvane]}")x)"
check "peak memory <= 1.3x the list" "${PEAK[tolvane]} * 1024 <= 1.3 * $list_bytes" \
    "${PEAK[tolvane]} * 1024 <= 1.3 * $list_bytes" \
    "$(megabytes "$((PEAK[tolvane] * 1024))") MB, $(ratio "$((PEAK[tolvane] * 1024))" "$list_bytes")x the list's $(megabytes "$list_bytes") MB"
exit $status

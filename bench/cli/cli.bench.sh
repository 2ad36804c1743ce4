#!/usr/bin/env bash
# tolvane-build against the two ways a site owner could do without it, measured side by side:
# cat copying a file as large as the three written files (the floor), and an awk script that
# writes the same engine.js (checked byte for byte). Also the peak memory at the largest list.
#
# Usage: bench/cli.bench.sh BUILD_DIR [ITEM_COUNTS...]   (default counts: 100000 1000000)
# Targets, at the largest count: within 3x of cat, at least 5x faster than awk, peak memory
# under 4x the list file's size; each is shown as met or MISSED. Exit status 1 when the awk
# output differs from tolvane-build's (the comparison would be void).
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR [ITEM_COUNTS...]}
shift
if [ $# -gt 0 ]; then counts=("$@"); else counts=(100000 1000000); fi
program=$(cd "$build_dir" && pwd)/cli/tolvane-build
[ -x "$program" ] || { echo "cli.bench: $program not built" >&2; exit 1; }
runs=${TOLVANE_BENCH_RUNS:-3}

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

# The best wall-clock and the best CPU (user + system) seconds of $runs runs of a command,
# kept as WALL[name] and CPU[name]. Both are shown: on a shared machine the CPU seconds say more
# about the program, the wall-clock seconds (which include waiting for the disk) are what a user
# sees; the targets are judged on wall-clock.
declare -A WALL CPU
measure() {
    local name=$1 run wall cpu TIMEFORMAT='%3R %3U %3S'
    shift
    for ((run = 0; run < runs; run++)); do
        { time "$@" >/dev/null 2>&1; } 2>"$work/time.txt"
        read -r wall cpu < <(awk '{ printf "%.3f %.3f\n", $1, $2 + $3 }' "$work/time.txt")
        if [ -z "${WALL[$name]:-}" ] || less "$wall" "${WALL[$name]}"; then WALL[$name]=$wall; fi
        if [ -z "${CPU[$name]:-}" ] || less "$cpu" "${CPU[$name]}"; then CPU[$name]=$cpu; fi
    done
}
less() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "-" }'; }
megabytes() { awk -v b="$1" 'BEGIN { printf "%.1f", b / 1048576 }'; }

run_tolvane() { "$program" --data "$work/data" -o "$work/out" "$work/list.til"; }
run_cat() { cat "$work/floor.src" >"$work/floor.dst"; }
# The same copy made durable, as tolvane-build's writes are (flushed before they replace a file).
run_cat_sync() { cat "$work/floor.src" >"$work/floor.dst" && sync "$work/floor.dst"; }
run_awk() {
    "$1" -v heading="$work/data/system/heading.txt" -v engine="$work/data/system/engine.txt" \
        -v tags="$credit" -f "$work/engine.awk" "$work/list.til" "$work/list.til" \
        >"$work/awk.js"
}

# "awk" is the system's awk; the other implementations on the machine are shown beside it.
system_awk=$(basename "$(readlink -f "$(command -v awk)")")
awks=(awk)
for candidate in mawk gawk; do
    if command -v "$candidate" >/dev/null && [ "$candidate" != "$system_awk" ]; then
        awks+=("$candidate")
    fi
done

status=0
printf '%-9s %8s %8s  %-22s %8s %8s %14s\n' items list_MB out_MB program wall_s cpu_s \
    "wall/tolvane"
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
    WALL=() CPU=()

    measure tolvane run_tolvane
    cat "$work/out/engine.js" "$work/out/index.html" "$work/out/style.css" >"$work/floor.src"
    out_bytes=$(stat -c %s "$work/floor.src")
    measure cat run_cat
    measure cat_sync run_cat_sync
    for awk_name in "${awks[@]}"; do
        measure "$awk_name" run_awk "$awk_name"
        if ! cmp -s "$work/awk.js" "$work/out/engine.js"; then
            echo "cli.bench: $awk_name's engine.js differs from tolvane-build's at $count items" >&2
            cmp "$work/awk.js" "$work/out/engine.js" >&2 || true
            status=1
        fi
    done

    for name in tolvane cat cat_sync "${awks[@]}"; do
        case $name in
            tolvane) label=tolvane-build ;;
            cat) label="cat (floor)" ;;
            cat_sync) label="cat + sync" ;;
            awk) label="awk ($system_awk)" ;;
            *) label=$name ;;
        esac
        printf '%-9s %8s %8s  %-22s %8s %8s %14s\n' "$count" "$(megabytes "$list_bytes")" \
            "$(megabytes "$out_bytes")" "$label" "${WALL[$name]}" "${CPU[$name]}" \
            "$(ratio "${WALL[$name]}" "${WALL[tolvane]}")"
    done
    last_count=$count last_list=$list_bytes
    last_tolvane=${WALL[tolvane]} last_cat=${WALL[cat]} last_awk=${WALL[awk]}
    last_tolvane_cpu=${CPU[tolvane]} last_cat_cpu=${CPU[cat]} last_awk_cpu=${CPU[awk]}
done

/usr/bin/time -v "$program" --data "$work/data" -o "$work/out" "$work/list.til" \
    2>"$work/time.txt" >/dev/null
peak_kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")

# Prints a target's line with its verdict.
check() {
    local verdict=met
    awk "BEGIN { exit !($2) }" || verdict=MISSED
    printf '  %-24s %-52s %s\n' "$1" "$3" "$verdict"
}
echo
echo "targets at $last_count items (wall-clock; CPU seconds in brackets):"
check "within 3x of cat" "$last_tolvane <= 3 * $last_cat" \
    "$(ratio "$last_tolvane" "$last_cat")x of cat ($(ratio "$last_tolvane_cpu" "$last_cat_cpu")x)"
check "5x faster than awk" "$last_awk >= 5 * $last_tolvane" \
    "$(ratio "$last_awk" "$last_tolvane")x faster than $system_awk ($(ratio "$last_awk_cpu" "$last_tolvane_cpu")x)"
check "peak memory < 4x list" "$peak_kb * 1024 < 4 * $last_list" \
    "$((peak_kb / 1024)) MB, $(ratio "$((peak_kb * 1024))" "$last_list")x the list's $((last_list / 1048576)) MB"
exit $status

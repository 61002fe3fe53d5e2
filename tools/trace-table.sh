#!/usr/bin/env bash
# Prints a Vornex call trace (the JSON lines written with --trace FILE or VORNEX_TRACE=FILE) as a
# table: one row per reader call with its time, function, status, duration and arguments.
#   tools/trace-table.sh trace.jsonl        or        tools/trace-table.sh < trace.jsonl
# Plain awk, so it runs on any Debian without extra packages.
set -euo pipefail
awk '
function field(line, key,    start, rest, value) {
    # The value after "key": up to the next comma or closing brace (numbers), or the quoted text.
    start = index(line, "\"" key "\":")
    if (start == 0) return ""
    rest = substr(line, start + length(key) + 3)
    if (substr(rest, 1, 1) == "\"") {
        rest = substr(rest, 2)
        return substr(rest, 1, index(rest, "\"") - 1)
    }
    match(rest, /^[-0-9]+/)
    return substr(rest, RSTART, RLENGTH)
}
function arguments(line,    start, rest, depth, i, c, out) {
    start = index(line, "\"args\":[")
    if (start == 0) return ""
    rest = substr(line, start + 8)
    depth = 0
    out = ""
    for (i = 1; i <= length(rest); i++) {
        c = substr(rest, i, 1)
        if (c == "[" || c == "{") depth++
        if (c == "]" && depth == 0) break
        if (c == "]" || c == "}") depth--
        out = out c
    }
    gsub(/\{"in":"/, "in:", out)
    gsub(/\{"out":"/, "out:", out)
    gsub(/"\}/, "", out)
    gsub(/"/, "", out)
    gsub(/,/, " ", out)
    return out
}
BEGIN {
    printf "%5s  %-12s  %-32s  %8s  %9s  %s\n", "seq", "time", "function (ordinal)", "status", "us", "arguments"
}
/^\{/ {
    time = field($0, "time")
    sub(/^.*T/, "", time)
    sub(/Z$/, "", time)
    status = field($0, "status") + 0
    shown = status == 0 ? "0" : sprintf("0x%X", status < 0 ? status + 4294967296 : status)
    printf "%5s  %-12s  %-32s  %8s  %9s  %s\n", field($0, "seq"), time,
           field($0, "name") " (" field($0, "ordinal") ")", shown, field($0, "us"), arguments($0)
}
' "$@"

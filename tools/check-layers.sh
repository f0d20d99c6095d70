#!/bin/bash
# Checks the folder rules of HACKING.md: a folder of src/ (and the simulator) includes and
# links only the folders below it. Fails naming each include or link that breaks a rule.
# Usage: check-layers.sh [PROJECT_DIR]
set -euo pipefail
cd "${1:-.}"

# What each folder may use besides itself; keep in step with HACKING.md.
declare -A allowed=(
    [common]=""
    [language]="common"
    [link]="common"
    [editor]="common language link"
    [device]="common language link editor"
    [journal]="common language link device"
    [session]="common language link editor device"
    [sheet]="common language link editor device journal"
    [series]="common language link editor device session journal sheet"
    [cli]="common language link editor device session journal sheet series"
    [sim]="common link"
    [app]="common language link editor device session journal sheet series sim"
)

folder_dir() { [ "$1" = sim ] && echo sim || echo "src/$1"; }

may_use() {  # folder used-folder
    [ "$1" = "$2" ] && return 0
    for f in ${allowed[$1]}; do [ "$f" = "$2" ] && return 0; done
    return 1
}

failures=0
fail() {
    echo "layer check: $*" >&2
    failures=$((failures + 1))
}

for folder in "${!allowed[@]}"; do
    [ -d "$(folder_dir "$folder")" ] || fail "$(folder_dir "$folder") is listed but missing"
done
for dir in src/*/; do
    folder=$(basename "$dir")
    [ -n "${allowed[$folder]+set}" ] || fail "$dir has no rule: add it to HACKING.md and here"
done

# Includes: "folder/..." names the layer reached into.
for folder in "${!allowed[@]}"; do
    dir=$(folder_dir "$folder")
    while IFS=: read -r file _ used; do
        [ -n "${allowed[$used]+set}" ] || continue  # a test helper or a system header
        may_use "$folder" "$used" || fail "$file includes $used/ (a $folder file may not)"
    done < <(grep -rnoE '^#include "[a-z]+/' "$dir" --include='*.h' --include='*.cpp' |
             sed -E 's/#include "([a-z]+)\/$/\1/')
done

# Links: each library belongs to the folder whose CMakeLists.txt defines it. The statements
# are joined across lines first.
statements() {  # CMakeLists.txt files ...
    awk '{ sub(/#.*/, ""); text = text " " $0 } END { print text }' "$@" |
        grep -oE '(add_library|add_executable|target_link_libraries) *\([^)]*\)'
}
declare -A owner=()
for folder in "${!allowed[@]}"; do
    dir=$(folder_dir "$folder")
    mapfile -t lists < <(find "$dir" -name CMakeLists.txt)
    [ ${#lists[@]} -gt 0 ] || continue
    while read -r name; do owner[$name]=$folder; done < <(
        statements "${lists[@]}" | grep -E '^add_(library|executable)' |
            sed -E 's/^add_[a-z]+ *\( *([^ )]+).*/\1/')
done
for folder in "${!allowed[@]}"; do
    dir=$(folder_dir "$folder")
    mapfile -t lists < <(find "$dir" -name CMakeLists.txt)
    [ ${#lists[@]} -gt 0 ] || continue
    while read -r statement; do
        target=$(sed -E 's/^target_link_libraries *\( *([^ )]+).*/\1/' <<<"$statement")
        for library in $(grep -oE 'zmt_[a-z0-9_]+' <<<"${statement#*"$target"}"); do
            used=${owner[$library]:-}
            [ -n "$used" ] || { fail "$dir: $target links $library, which no folder defines"; continue; }
            may_use "$folder" "$used" || fail "$dir: $target links $library of $used/ (a $folder library may not)"
        done
    done < <(statements "${lists[@]}" | grep -E '^target_link_libraries')
done

if [ "$failures" -gt 0 ]; then
    echo "layer check: $failures finding(s)" >&2
    exit 1
fi
echo "layer check: ${#allowed[@]} folders, their includes and links keep to their layers"

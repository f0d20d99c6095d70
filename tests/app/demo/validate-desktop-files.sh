#!/bin/sh
# Runs the desktop's own validators over the desktop entry and the metainfo.
# Exit 77 (skipped) when a validator is not installed.
set -u
data=$1
for tool in desktop-file-validate appstreamcli; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
status=0
desktop-file-validate "$data/com.example.zmt4824.desktop" || status=1
appstreamcli validate --no-net --pedantic "$data/com.example.zmt4824.metainfo.xml" || status=1
exit $status

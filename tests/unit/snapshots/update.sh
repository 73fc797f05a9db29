#!/usr/bin/env bash
# Writes every snapshot fixture anew with the gridshot tool: each file's
# first line names its shot. Look at the changes before committing them.
# Usage: tests/unit/snapshots/update.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
gridshot=$(cd "${1:-$here/../../../build}" && pwd)/gridshot
for f in "$here"/*.txt; do
    header=$(head -1 "$f")
    read -ra args <<<"${header#\# gridshot }"
    { echo "$header"; "$gridshot" "${args[@]}"; } >"$f.new"
    mv "$f.new" "$f"
done

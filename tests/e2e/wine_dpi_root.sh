#!/usr/bin/env bash
# A second private Wine world whose desktop runs at another DPI, so the tests at 96 dpi
# keep theirs: start it, set LogPixels, restart its server so that new windows see it.
#   wine_dpi_root.sh HARNESS ROOT DPI
set -euo pipefail
harness=$1
root=$2
dpi=$3
"$harness" start "$root"
"$harness" exec "$root" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
"$harness" stop "$root"
"$harness" start "$root"

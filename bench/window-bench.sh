#!/usr/bin/env bash
# The window benchmark (qv_window_bench) in a prefix of its own: a desktop large enough for its 1600 x 1000
# window, the program laid out as a user's installation, the photos of make-files.sh and 100 small pictures.
#   bench/window-bench.sh [DIR [start|memory|window]]   (DIR: where the files are made; once)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win64
dir=$(realpath -m "${1:-$build/bench-files}")
export QV_BUILD_DIR=$build QV_WINEPREFIX=$build/wineprefix-bench
[ -f "$dir/photo1.jpg" ] || bash "$root/bench/make-files.sh" "$dir" >/dev/null
"$root/cmake/wine-run" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1200 /f >/dev/null
# The desktop takes its size when it starts: the next program must not join this one's.
WINEPREFIX=$QV_WINEPREFIX wineserver -w
install=$build/bench-install/Quillview
# Its own registration needs the display that wine-run gives: the libraries are registered through that.
bash "$root/scripts/install-into-prefix" "$build" "$install" "$QV_WINEPREFIX" || true
export WINEPREFIX=$QV_WINEPREFIX
for dll in orcmcls.dll rvimgctl.dll; do
  "$root/cmake/wine-run" regsvr32 /s "$(winepath -w "$install/$dll")"
done
"$root/cmake/wine-run" "$build/bench/qv_window_bench.exe" "$(winepath -w "$dir")" \
  "$(winepath -w "$install/Quillview23.exe")" "${2:-}"

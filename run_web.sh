#!/usr/bin/env bash
# Builds the browser version and serves it on this machine only; prints the address to open.
#   ./run_web.sh [port]      (default 8000)
set -euo pipefail
cd "$(dirname "$0")"

source tools/packages.sh
glouto_install_packages "${GLOUTO_WEB_PACKAGES[@]}"
cmake --preset web >/dev/null
cmake --build --preset web --target glouto_web
port=${1:-8000}
echo "Glouto is served at http://127.0.0.1:$port/ (Ctrl+C stops it)"
exec /usr/bin/python3 -m http.server --bind 127.0.0.1 --directory build/web/site "$port"

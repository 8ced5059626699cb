#!/usr/bin/env bash
# Installs what is missing, builds, and starts the host with the module on a copy of the
# sample return. Extra arguments go to the host (for example TECHMODE or /V).
#   ./run.sh --fresh     starts again from the shipped sample
#   ./run.sh --gallery   shows the interview controls instead (control gallery)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/scripts/setup.sh"

fresh=0
gallery=0
args=()
for a in "$@"; do
  case "$a" in
    --fresh) fresh=1 ;;
    --gallery) gallery=1 ;;
    *) args+=("$a") ;;
  esac
done

# Without a display nothing is started: the windows could not open.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "note: no display found; run under a desktop session or with xvfb-run." >&2
  exit 1
fi

install_packages
if [ "$gallery" -eq 1 ]; then
  configure_and_build --target control_gallery
  exec "$BUILD_DIR/bin/control_gallery" "${args[@]}"
fi
configure_and_build --target tesmo cgtmodule cgt

WORK_DIR="$ROOT/run"
mkdir -p "$WORK_DIR"
if [ "$fresh" -eq 1 ] || [ ! -f "$WORK_DIR/sample2004.TAX" ]; then
  cp "$ROOT/samples/sample2004.TAX" "$WORK_DIR/sample2004.TAX"
  rm -f "$WORK_DIR/sample2004.BAK"
fi

exec "$BUILD_DIR/bin/tesmo" --data "$WORK_DIR/sample2004.TAX" --id "123 456 782" "${args[@]}"

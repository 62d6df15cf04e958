#!/usr/bin/env bash
# Builds and starts Kandolor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh --target kandolor
[ -x scripts/demo-setup.sh ] && scripts/demo-setup.sh
exec build/src/app/kandolor "$@"

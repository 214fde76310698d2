#!/usr/bin/env bash
# Sets up, builds and starts the broadcasting assistant from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default
exec build/default/program/speaker

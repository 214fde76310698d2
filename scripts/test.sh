#!/usr/bin/env bash
# Sets up, builds and runs every test: once in the normal build and once with
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
# End-to-end audio tests play into a PulseAudio null sink; start one if none answers.
if [ -f scripts/start-test-pulse.sh ]; then
  bash scripts/start-test-pulse.sh || echo "no PulseAudio test server: end-to-end audio tests will skip"
fi
presets=(${SPEAKER_TEST_PRESETS:-default asan})
for preset in "${presets[@]}"; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset tests"
  ctest --preset "$preset" -j2
done

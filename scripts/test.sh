#!/usr/bin/env bash
# Sets up, builds and runs every test: in the normal build, with AddressSanitizer and
# UndefinedBehaviorSanitizer, and the threaded tests with ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
# End-to-end audio tests play into a PulseAudio null sink; start one if none answers.
if [ -f scripts/start-test-pulse.sh ]; then
  bash scripts/start-test-pulse.sh || echo "no PulseAudio test server: end-to-end audio tests will skip"
fi
# ThreadSanitizer first, so the run closes on ctest's summary of the last preset.
presets=(${SPEAKER_TEST_PRESETS:-tsan default asan})
for preset in "${presets[@]}"; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  echo "== $preset tests"
  if [ "$preset" = tsan ]; then
    # The threaded tests only: the clock with its worker threads, the speech engine and the
    # speaking worker. The suppressions name hand-offs inside Qt that the tool cannot see.
    export TSAN_OPTIONS="halt_on_error=1 report_signal_unsafe=0 suppressions=$PWD/tests/tsan.supp"
    for t in tests/platform/test_platform_core tests/platform/speech/test_platform_speech \
             tests/speech/test_speech; do
      "build/tsan/$t"
    done
    unset TSAN_OPTIONS
  else
    ctest --preset "$preset" -j2
  fi
done

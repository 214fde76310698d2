#!/usr/bin/env bash
# Makes sure a PulseAudio server answers, for the audio tests: when none does, starts a private
# one with a null sink "out" (its monitor "out.monitor" is then the default source). The server
# ends by itself 30 s after its last client left. Exit status 0 when a server answers.
set -u

if pactl info >/dev/null 2>&1; then
  exit 0
fi
command -v pulseaudio >/dev/null || exit 1

# One start at a time when several tests ask together.
exec 9>"${TMPDIR:-/tmp}/speaker-test-pulse.lock"
flock -w 10 9 || exit 1
if pactl info >/dev/null 2>&1; then
  exit 0
fi

# As root pulseaudio warns that it is not meant to run so, but works for a test session.
setsid pulseaudio --daemonize=no --exit-idle-time=30 -n \
  --load="module-null-sink sink_name=out" \
  --load="module-native-protocol-unix" \
  </dev/null >/dev/null 2>&1 &

for _ in $(seq 1 50); do
  if pactl info >/dev/null 2>&1; then
    exit 0
  fi
  sleep 0.1
done
exit 1

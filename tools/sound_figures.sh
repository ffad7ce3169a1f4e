#!/usr/bin/env bash
# Runs music_figures against a private PulseAudio server with a null sink, so
# the real audio path is measured on a machine with no sound card.
#   tools/sound_figures.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}
cmake --build "$build" --target music_figures >/dev/null

scratch=$(mktemp -d)
mkdir -m700 "$scratch/run"
export XDG_RUNTIME_DIR=$scratch/run HOME=$scratch PULSE_RUNTIME_PATH=$scratch/run/pulse
pulseaudio -n --daemonize=yes --exit-idle-time=-1 --use-pid-file=yes \
    -L module-native-protocol-unix -L "module-null-sink sink_name=test_null" 2>/dev/null
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink test_null
# Qt lists no monitor sources, so offer the monitor under a plain source name.
pactl load-module module-remap-source master=test_null.monitor source_name=test_listen >/dev/null
# A null sink with no stream renders in blocks of up to 2 s, so a new stream
# would wait up to 2 s for its first block, which no sound card does: a
# silent low-latency stream keeps it running as a card would.
pacat --latency-msec=20 /dev/zero &
keeper=$!
"$build/tools/music_figures" data/rushtune.mid test_listen &
figures=$!
sleep 5 # past play() and the first sound; the CPU and wake-ups are measured without it
kill "$keeper"
wait "$figures" || true
pulseaudio --kill 2>/dev/null || true
rm -rf "$scratch"

#!/usr/bin/env bash
# Measures what a file manager waits for: qzmtool thumbnail on a 30-minute video (45,000 frames at
# 25 fps, made from FFmpeg's test picture, about 8 MB) and on a 1 GB file of noise named .qzm, each
# against the program's bare start (qzmtool --help), over RUNS runs each. Needs the ffmpeg program; the video is made once (about two
# minutes) and kept in the build folder.
#   scripts/measure-thumbnail.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=${1:-build-release}
runs=${2:-20}
qzmtool=$build/tools/qzmtool
[[ -x "$qzmtool" ]] || { echo "no $qzmtool: build first"; exit 1; }
command -v ffmpeg >/dev/null || { echo "this needs the ffmpeg program"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

video=$build/thirty-minutes.qzm
if [[ ! -f "$video" ]]; then
    echo "making $video ..."
    ffmpeg -loglevel error -f lavfi -i "testsrc=size=320x240:rate=25:duration=1800" \
        -c:v libx264 -preset ultrafast -crf 18 "$work/source.mp4"
    "$qzmtool" encode "$work/source.mp4" -o "$video" --threshold 8 >/dev/null
fi
# Noise up front, the rest of the gigabyte left sparse: the refusal must not depend on reading it.
head -c 65536 /dev/urandom >"$work/noise.qzm"
truncate -s 1G "$work/noise.qzm"

# Microseconds in "0m0.021s", as bash's times prints them.
microseconds() { awk -v t="$1" 'BEGIN { split(t, p, /[ms]/); printf "%d", (p[1] * 60 + p[2]) * 1000000 }'; }

# Runs the command RUNS times; prints the fastest, median and slowest wall time, the median
# processor time (user and system: what a run costs whatever else the machine is doing) and the
# peak memory.
measure() {
    local label=$1 times=() cpus=() start end rss=0 kb user sys
    shift
    for ((i = 0; i < runs; ++i)); do
        start=$(date +%s%N)
        read -r user sys < <( (/usr/bin/time -f %M -o "$work/rss" "$@" >/dev/null 2>&1 || true; times) | tail -n 1)
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
        cpus+=($(($(microseconds "$user") + $(microseconds "$sys"))))
        kb=$(tail -n 1 "$work/rss")
        ((kb > rss)) && rss=$kb
    done
    mapfile -t times < <(printf '%s\n' "${times[@]}" | sort -n)
    mapfile -t cpus < <(printf '%s\n' "${cpus[@]}" | sort -n)
    awk -v l="$label" -v f="${times[0]}" -v m="${times[runs / 2]}" -v s="${times[runs - 1]}" \
        -v c="${cpus[runs / 2]}" -v r="$rss" \
        'BEGIN { printf "%-32s wall %5.1f / %5.1f / %5.1f ms; processor %4.1f ms; peak %3d MB\n",
                 l, f / 1000, m / 1000, s / 1000, c / 1000, r / 1024 }'
}

echo "$(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $runs runs each"
measure "qzmtool --help (start only)" "$qzmtool" --help
measure "thumbnail, 30-minute video" "$qzmtool" thumbnail "$video" "$work/video.png"
measure "thumbnail, 1 GB of noise (.qzm)" "$qzmtool" thumbnail "$work/noise.qzm" "$work/noise.png"
measure "info, 1 GB of noise (.qzm)" "$qzmtool" info "$work/noise.qzm"

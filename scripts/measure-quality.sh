#!/usr/bin/env bash
# Measures how good the encoder's pictures look (bench/quality_report.cpp says how) on a corpus made
# here: natural photographs from Debian's python3-skimage (public-domain and CC0 pictures in its
# data folder), FFmpeg's synthetic sources, and two videos: a zooming pan and a still scene with
# camera noise (and the same scene without it).
#   scripts/measure-quality.sh [BUILD_DIR] [--fetch]
# BUILD_DIR is an optimised build with the benchmarks (default build-bench; configured and built
# when missing). Without python3-skimage installed the photographs are skipped, saying so; --fetch
# downloads the package (without installing it) and unpacks its pictures into the corpus folder.
# Needs the ffmpeg program. Not part of the tests: the figures are reported, not checked.
# QUALITY_REPORT=PROGRAM measures with another build's quality_report (say, of an older encoder).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench
fetch=0
for arg in "$@"; do
    case "$arg" in
        --fetch) fetch=1 ;;
        *) build=$arg ;;
    esac
done
command -v ffmpeg >/dev/null || { echo "measure-quality: needs the ffmpeg program (apt-get install ffmpeg)"; exit 1; }
if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQZM_BUILD_TESTS=OFF -DQZM_BUILD_UI=OFF
fi
cmake --build "$build" --target quality_report -j 2 >/dev/null
report=${QUALITY_REPORT:-$build/bench/quality_report}
corpus=$build/quality-corpus
mkdir -p "$corpus"

photos=(astronaut.png chelsea.png coffee.png rocket.jpg motorcycle_left.png hubble_deep_field.jpg ihc.png
        retina.jpg)
data=/usr/lib/python3/dist-packages/skimage/data
if [[ ! -d "$data" ]]; then
    data=$corpus/skimage/usr/lib/python3/dist-packages/skimage/data
    if [[ ! -d "$data" && $fetch -eq 1 ]]; then
        (cd "$corpus" && apt-get download python3-skimage >/dev/null && dpkg-deb -x python3-skimage_*.deb skimage)
    fi
fi
inputs=()
if [[ -d "$data" ]]; then
    for p in "${photos[@]}"; do inputs+=("$data/$p"); done
else
    echo "measure-quality: python3-skimage's pictures not found; the photographs are skipped" \
         "(apt-get install python3-skimage, or run with --fetch)"
fi

ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }
# Synthetic pictures: 4:3 and 16:9 test cards, a fractal, a colour gradient and a grey ramp.
ff -f lavfi -i testsrc2=size=640x480 -frames:v 1 "$corpus/testsrc2.png"
ff -f lavfi -i smptebars=size=1280x720 -frames:v 1 "$corpus/smptebars.png"
ff -f lavfi -i mandelbrot=size=640x480 -frames:v 1 "$corpus/mandelbrot.png"
ff -f lavfi -i "gradients=size=640x480:c0=0x102060:c1=0x40C040:x0=0:y0=0:x1=640:y1=480:seed=1" \
    -frames:v 1 "$corpus/gradient.png"
ff -f lavfi -i "color=black:size=1024x768,format=gray,geq=lum='X*255/W'" -frames:v 1 "$corpus/grey-ramp.png"
inputs+=("$corpus"/{testsrc2,smptebars,mandelbrot,gradient,grey-ramp}.png)

echo "== Pictures: seen quality, floor / ours / cell-free ceiling"
saved=$corpus/compared
rm -rf "$saved" && mkdir -p "$saved"
"$report" --save "$saved" "${inputs[@]}"

# The same comparison through FFmpeg's own filters (its gblur approximates the Gaussian and blurs
# less, so dither noise counts for more there): mean PSNR and SSIM per dither mode and rung.
seen() {  # prints "PSNR SSIM" of picture $2 against $1, both blurred
    local graph="[0]format=gbrp,gblur=sigma=1.5,split[a0][a1];[1]format=gbrp,gblur=sigma=1.5,split[b0][b1];"
    graph+="[a0][b0]psnr;[a1][b1]ssim"
    ffmpeg -nostdin -hide_banner -i "$1" -i "$2" -lavfi "$graph" -f null - 2>&1 |
        awk '/PSNR/ {for (i = 1; i <= NF; i++) if ($i ~ /^average:/) {sub("average:", "", $i); p = $i}}
             /SSIM/ {for (i = 1; i <= NF; i++) if ($i ~ /^All:/) {sub("All:", "", $i); s = $i}}
             END {print p, s}'
}
echo
echo "FFmpeg's gblur=sigma=1.5 with its psnr and ssim filters, means over the same pictures:"
printf "%-9s %26s   %26s\n" dither "PSNR dB: floor ours ceil" "SSIM: floor ours ceil"
for mode in none ordered diffusion; do
    for source in "$saved"/*-source.ppm; do
        stem=${source%-source.ppm}
        echo "$(seen "$source" "$stem-floor.ppm") $(seen "$source" "$stem-$mode-ours.ppm")" \
             "$(seen "$source" "$stem-$mode-ceiling.ppm")"
    done | awk -v mode="$mode" '{for (i = 1; i <= 6; i++) sum[i] += $i; n++}
        END {printf "%-9s %8.2f %8.2f %8.2f   %8.4f %8.4f %8.4f\n", mode, sum[1] / n, sum[3] / n, sum[5] / n,
                    sum[2] / n, sum[4] / n, sum[6] / n}'
done

# Videos: 4 s at 25 fps, coded losslessly so that only the filters' own noise is in them.
still=$corpus/mandelbrot.png
[[ -d "$data" ]] && still=$data/chelsea.png
pan=$corpus/testsrc2.png
[[ -d "$data" ]] && pan=$data/coffee.png
ff -loop 1 -framerate 25 -i "$pan" -t 4 \
    -vf "zoompan=z='1+0.005*on':x='(iw-iw/zoom)*on/100':y='(ih-ih/zoom)/2':d=1:s=640x480:fps=25" \
    -c:v ffv1 "$corpus/zooming-pan.mkv"
ff -loop 1 -framerate 25 -i "$still" -t 4 -vf "scale=640:-2,noise=alls=12:allf=t+u" -c:v ffv1 \
    "$corpus/still-noisy.mkv"
ff -loop 1 -framerate 25 -i "$still" -t 4 -vf "scale=640:-2" -c:v ffv1 "$corpus/still-clean.mkv"

echo
echo "== Videos at the video defaults (threshold 4): cells changed a frame, seen quality, speed"
"$report" --video "$corpus"/{zooming-pan,still-noisy,still-clean}.mkv

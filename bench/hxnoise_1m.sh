#!/bin/sh
# hxnoise end to end on a million-vertex mesh: read the OBJ, put the deformer on it with noise
# on all three axes and a moved locator, evaluate, write the deformed mesh back to disk.
# Prints the wall time and peak memory (GNU time) beside the mesh's file size.
#
#   bench/hxnoise_1m.sh [BUILD_DIR]      (default: build, configured as Release)
set -eu
build=${1:-build}
cmake --build "$build" -j2 --target hxnoise blob_1m >/dev/null
mesh="$build/examples/blob_1m.obj"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/time -v "$build/tools/hxnoise" deform "$mesh" -o "$work/blob_1m_deformed.obj" \
    --set hxNoise1.oxNoiseAmp=0.2 --set hxNoise1.oyNoiseAmp=0.2 --set hxNoise1.ozNoiseAmp=0.2 \
    --set transform1.translate=1.5,0.5,0 >/dev/null 2>"$work/time.txt" || {
    cat "$work/time.txt" >&2
    exit 1
}

vertices=$(grep -c '^v ' "$mesh")
in_mb=$(( $(stat -c %s "$mesh") / 1048576 ))
out_mb=$(( $(stat -c %s "$work/blob_1m_deformed.obj") / 1048576 ))
wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time.txt")
rss_mb=$(( $(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time.txt") / 1024 ))
echo "hxnoise deform, $vertices vertices: $in_mb MiB OBJ in, $out_mb MiB out"
echo "  wall time $wall, peak memory $rss_mb MiB ($(( rss_mb * 100 / in_mb ))% of the input file)"

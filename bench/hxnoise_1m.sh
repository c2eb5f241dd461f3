#!/bin/sh
# hxnoise end to end on a million-vertex mesh: read the OBJ, put the deformer on it with noise
# on all three axes and a moved locator, evaluate, write the deformed mesh back to disk.
# Prints the processor, then a table of the phases (hxnoise --timings) with the wall time and
# peak memory (GNU time) of the same run, beside the mesh's file size. The run is repeated
# RUNS times and the one with the least wall time is shown whole, so that every figure of the
# table comes from one run.
#
#   bench/hxnoise_1m.sh [BUILD_DIR] [RUNS]      (default: build, configured as Release; 3 runs)
set -eu
build=${1:-build}
runs=${2:-3}
cmake --build "$build" -j2 --target hxnoise blob_1m >/dev/null
mesh="$build/examples/blob_1m.obj"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

best=""
i=0
while [ "$i" -lt "$runs" ]; do
    i=$((i + 1))
    /usr/bin/time -v "$build/tools/hxnoise" deform "$mesh" -o "$work/blob_1m_deformed.obj" \
        --set hxNoise1.oxNoiseAmp=0.2 --set hxNoise1.oyNoiseAmp=0.2 --set hxNoise1.ozNoiseAmp=0.2 \
        --set transform1.translate=1.5,0.5,0 --timings >/dev/null 2>"$work/run$i.txt" || {
        cat "$work/run$i.txt" >&2
        exit 1
    }
    # Wall time in seconds from GNU time's h:mm:ss or m:ss.
    wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/run$i.txt" |
           awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; print s }')
    echo "$wall $i" >>"$work/walls.txt"
done
best=$(sort -n "$work/walls.txt" | head -1 | cut -d' ' -f2)
report="$work/run$best.txt"

model=$(lscpu | sed -n 's/^Model name: *//p' | head -1)
if grep -q avx512f /proc/cpuinfo; then simd="AVX-512"; elif grep -q avx2 /proc/cpuinfo; then simd="AVX2 only"; else simd="no AVX2"; fi
vertices=$(grep -c '^v ' "$mesh")
in_mib=$(( $(stat -c %s "$mesh") / 1048576 ))
out_mib=$(( $(stat -c %s "$work/blob_1m_deformed.obj") / 1048576 ))
wall=$(sort -n "$work/walls.txt" | head -1 | cut -d' ' -f1)
cpu=$(awk '/User time/ { u = $NF } /System time/ { s = $NF } END { printf "%.2f", u + s }' "$report")
rss_mib=$(( $(sed -n 's/.*Maximum resident set size (kbytes): //p' "$report") / 1024 ))

echo "hxnoise deform, $vertices vertices: $in_mib MiB OBJ in, $out_mib MiB out"
echo "processor: $model, $(nproc) cores, $simd; load average $(cut -d' ' -f1 /proc/loadavg) at the end"
echo "the fastest of $runs runs:"
echo
echo "| phase    | wall s | processor s |"
echo "|----------|-------:|------------:|"
sed -n 's/^hxnoise: time \([a-z-]*\) *\([0-9.]*\) s (processor \([0-9.]*\) s)$/\1 \2 \3/p' "$report" |
    awk '{ printf "| %-8s | %6s | %11s |\n", $1, $2, $3 }'
printf '| %-8s | %6s | %11s |\n' "total" "$wall" "$cpu"
echo
echo "peak memory $rss_mib MiB: $(( rss_mib * 100 / in_mib ))% of the input file"

#!/bin/sh
# Builds this tree's noise_bench over the noise core of another revision (its src/ as git
# has it, compiled with the flags the CMake build gives the core), for a before-and-after
# run in which only the kernel differs:
#
#   bench/noise_bench_at.sh REV [DIR]        writes DIR/noise_bench_at_REV (DIR: build/bench-at)
#   bench/noise_bench_ab.py DIR/noise_bench_at_REV build/bench/noise_bench
#
# The revision's public noise headers must still declare what the bench calls.
set -eu
if [ $# -lt 1 ]; then
    echo "usage: $0 REV [DIR]" >&2
    exit 2
fi
rev=$1
root=$(git rev-parse --show-toplevel)
dir=${2:-$root/build/bench-at}
name=$(printf '%s' "$rev" | tr -c 'A-Za-z0-9._-' '_')
work=$dir/src_$name
rm -rf "$work"
mkdir -p "$work"
git -C "$root" archive "$rev" src | tar -x -C "$work"

core="-O3 -DNDEBUG -fPIC -ffp-contract=off -fno-tree-slp-vectorize -std=c++98 -I$work/src"
core="$core -DHXNOISE_BATCH_AVX2 -DHXNOISE_BATCH_AVX512"
objects=""
for source in "$work"/src/perlin.cpp "$work"/src/axisNoiseField.cpp "$work"/src/noiseBatch*.cpp; do
    base=$(basename "$source" .cpp)
    case $base in
        noiseBatchSse2) extra="-fno-tree-vectorize" ;;
        noiseBatchAvx2) extra="-fno-tree-vectorize -mavx2" ;;
        noiseBatchAvx512) extra="-fno-tree-vectorize -mavx512f" ;;
        *) extra="" ;;
    esac
    c++ $core $extra -c "$source" -o "$work/$base.o"
    objects="$objects $work/$base.o"
done

bench="-O3 -DNDEBUG -ffp-contract=off -fno-tree-slp-vectorize -std=c++17 -I$work/src"
libs="-lbenchmark -lpthread"
if [ -f /usr/include/libnoise/noise.h ]; then
    bench="$bench -DHX_BENCH_LIBNOISE"
    libs="$libs -lnoise"
fi
if [ -f /usr/include/stb/stb_perlin.h ]; then
    bench="$bench -DHX_BENCH_STB_PERLIN"
fi
c++ $bench -c "$root/bench/noise_bench.cpp" -o "$work/noise_bench.o"
c++ $bench -c "$root/bench/deform_bench.cpp" -o "$work/deform_bench.o"
c++ -O3 "$work/noise_bench.o" "$work/deform_bench.o" $objects $libs -o "$dir/noise_bench_at_$name"
echo "$dir/noise_bench_at_$name: noise_bench over the noise core of $(git -C "$root" rev-parse --short "$rev")"

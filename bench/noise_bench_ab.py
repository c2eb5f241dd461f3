#!/usr/bin/env python3
"""Before and after for the batch deformation, measured in one run.

Runs the deformation benchmarks of two noise_bench programs (say one built from main and
one from a branch) one benchmark at a time, alternating between the two, for several
rounds, and keeps the fastest time of each: on a machine shared with other work, the
fastest of interleaved runs is the figure least disturbed, and both programs meet the
same disturbances. Prints ns per point for each (points, octaves, path) and the cost of
each octave past the fourth, (t(10) - t(4)) / (points * 3 * 6), which both programs
measure (and (t(8) - t(4)) / (points * 3 * 4) where both have 8 octaves).

    bench/noise_bench_ab.py BEFORE AFTER [--rounds 5] [--points 1000,100000,1000000]
                            [--paths scalar,sse2,avx2,avx512] [--octaves 1,4,8,10]
"""
import argparse
import os
import re
import subprocess
import sys

LINE = re.compile(r'^(Deform/\w+/points:\d+/octaves:\d+)\S*\s+([\d.]+) (ns|us|ms|s)\s+([\d.]+) (ns|us|ms|s)\s+\d+')
NAME = re.compile(r'^Deform/(\w+)/points:(\d+)/octaves:(\d+)$')
SCALE = {'ns': 1e-3, 'us': 1.0, 'ms': 1e3, 's': 1e6}


def run_one(program, name):
    """The wall and processor times in microseconds of one deformation benchmark, or None."""
    pattern = '^' + re.escape(name) + '/'
    out = subprocess.run([program, '--benchmark_filter=' + pattern, '--benchmark_color=false'],
                         capture_output=True, text=True).stdout
    for line in out.splitlines():
        m = LINE.match(re.sub(r'\x1b\[[0-9;]*m', '', line))
        if m and m.group(1) == name:
            return float(m.group(2)) * SCALE[m.group(3)], float(m.group(4)) * SCALE[m.group(5)]
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('before')
    parser.add_argument('after')
    parser.add_argument('--rounds', type=int, default=5)
    parser.add_argument('--points', default='1000,100000,1000000')
    parser.add_argument('--paths', default='scalar,sse2,avx2,avx512')
    parser.add_argument('--octaves', default='1,4,8,10')
    args = parser.parse_args()
    programs = [args.before, args.after]
    for program in programs:
        if not os.access(program, os.X_OK):
            sys.exit('noise_bench_ab: %s is not an executable program' % program)

    names = ['Deform/%s/points:%s/octaves:%s' % (path, points, octaves)
             for points in args.points.split(',') for octaves in args.octaves.split(',')
             for path in args.paths.split(',')]
    best = [{}, {}]
    worst = [{}, {}]
    load_before = open('/proc/loadavg').read().split()[:3]
    for round_ in range(args.rounds):
        for name in names:
            for which, program in enumerate(programs):
                result = run_one(program, name)
                if result is None:
                    continue  # the program lacks the benchmark, or the processor the path
                known = best[which].get(name)
                if known is None or result[0] < known[0]:
                    best[which][name] = result
                worst[which][name] = max(worst[which].get(name, 0.0), result[0])
        print('round %d of %d done' % (round_ + 1, args.rounds), file=sys.stderr)

    info = {}
    with open('/proc/cpuinfo') as cpuinfo:
        for line in cpuinfo:
            if not line.strip():
                break
            key, _, value = line.partition(':')
            info.setdefault(key.strip(), value.strip())
    print('Processor: %s (family %s, model %s); fastest of %d interleaved rounds; wall time'
          % (info.get('model name', 'unknown'), info.get('cpu family', '?'), info.get('model', '?'), args.rounds))
    spreads = sorted(worst[w][n] / best[w][n][0] for w in (0, 1) for n in best[w] if best[w][n][0] > 0)
    if spreads:
        print('Load average before %s, after %s; slowest round over fastest: median %.2f, worst %.2f'
              % (' '.join(load_before), ' '.join(open('/proc/loadavg').read().split()[:3]),
                 spreads[len(spreads) // 2], spreads[-1]))
    print('%-9s %-3s %-7s %12s %12s %8s' % ('points', 'oct', 'path', 'before ns/pt', 'after ns/pt', 'after/before'))
    for name in names:
        b, a = best[0].get(name), best[1].get(name)
        if b is None and a is None:
            continue
        path, points, octaves = NAME.match(name).groups()
        per = lambda r: '%12.2f' % (r[0] * 1e3 / int(points)) if r else '%12s' % '-'
        ratio = '%8.2f' % (a[0] / b[0]) if a and b else '%8s' % '-'
        print('%-9s %-3s %-7s %s %s %s' % (points, octaves, path, per(b), per(a), ratio))

    print('\nEach octave past the fourth, ns per octave-sample')
    for points in args.points.split(','):
        for path in args.paths.split(','):
            row = []
            for top in (10, 8):
                cells = []
                for which in (0, 1):
                    low = best[which].get('Deform/%s/points:%s/octaves:4' % (path, points))
                    high = best[which].get('Deform/%s/points:%s/octaves:%d' % (path, points, top))
                    cells.append('%.3f' % ((high[0] - low[0]) * 1e3 / (int(points) * 3 * (top - 4)))
                                 if low and high else '-')
                row.append('(%d - 4) before %s after %s' % (top, cells[0], cells[1]))
            print('%-9s %-7s %s' % (points, path, ' | '.join(row)))


if __name__ == '__main__':
    main()

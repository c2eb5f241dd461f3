#!/usr/bin/env python3
"""Before and after for the batch deformation, measured in one run.

Runs the deformation benchmarks of two noise_bench programs (say the same bench sources
built over the old kernel and over the new one) one benchmark at a time, alternating
between the two, for several rounds. On a machine shared with other work both programs
meet the same disturbances, and the least disturbed figures are the lowest: for each
benchmark it keeps the lowest mean over the rounds and the fastest single call
(fastest_ns_per_point, where the program reports it). Prints ns per point for each
(points, octaves, path) and the cost of each octave past the fourth,
(t(8) - t(4)) / (points * 3 * 4) and (t(10) - t(4)) / (points * 3 * 6).

    bench/noise_bench_ab.py BEFORE AFTER [--rounds 5] [--points 1000,100000,1000000]
                            [--paths scalar,sse2,avx2,avx512] [--octaves 1,4,8,10]
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile

NAME = re.compile(r'^(Deform/(\w+)/points:(\d+)/octaves:(\d+))/')
TO_NS = {'ns': 1.0, 'us': 1e3, 'ms': 1e6, 's': 1e9}


def run_one(program, name, scratch):
    """(mean ns per point, fastest ns per point or None) of one deformation benchmark."""
    pattern = '^' + re.escape(name) + '/'
    subprocess.run([program, '--benchmark_filter=' + pattern, '--benchmark_out=' + scratch,
                    '--benchmark_out_format=json'], capture_output=True, text=True)
    try:
        with open(scratch) as report:
            runs = json.load(report).get('benchmarks', [])
    except (OSError, ValueError):
        return None
    for run in runs:
        m = NAME.match(run.get('name', '') + '/')
        if m and m.group(1) == name and not run.get('error_occurred') and run.get('run_type') == 'iteration':
            points = int(m.group(3))
            mean = run['real_time'] * TO_NS[run.get('time_unit', 'ns')] / points
            return mean, run.get('fastest_ns_per_point')
    return None


def processor():
    info = {}
    with open('/proc/cpuinfo') as cpuinfo:
        for line in cpuinfo:
            if not line.strip():
                break
            key, _, value = line.partition(':')
            info.setdefault(key.strip(), value.strip())
    flags = info.get('flags', '').split()
    wide = 'AVX-512' if 'avx512f' in flags else 'AVX2, no AVX-512' if 'avx2' in flags else 'no AVX2'
    return '%s (family %s, model %s; %s)' % (info.get('model name', 'unknown'), info.get('cpu family', '?'),
                                              info.get('model', '?'), wide)


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
    mean = [{}, {}]
    fastest = [{}, {}]
    slowest = [{}, {}]
    load_before = open('/proc/loadavg').read().split()[:3]
    with tempfile.TemporaryDirectory() as scratch_dir:
        scratch = os.path.join(scratch_dir, 'run.json')
        for round_ in range(args.rounds):
            for name in names:
                for which, program in enumerate(programs):
                    result = run_one(program, name, scratch)
                    if result is None:
                        continue  # the program lacks the benchmark, or the processor the path
                    mean[which][name] = min(mean[which].get(name, result[0]), result[0])
                    slowest[which][name] = max(slowest[which].get(name, result[0]), result[0])
                    if result[1] is not None:
                        fastest[which][name] = min(fastest[which].get(name, result[1]), result[1])
            print('round %d of %d done' % (round_ + 1, args.rounds), file=sys.stderr)

    print('Processor: %s' % processor())
    spreads = sorted(slowest[w][n] / mean[w][n] for w in (0, 1) for n in mean[w] if mean[w][n] > 0)
    print('%d interleaved rounds; load average before %s, after %s; slowest mean over lowest: median %.2f, '
          'worst %.2f' % (args.rounds, ' '.join(load_before), ' '.join(open('/proc/loadavg').read().split()[:3]),
                          spreads[len(spreads) // 2] if spreads else 0, spreads[-1] if spreads else 0))
    print('\nns per point: lowest mean (fastest call)')
    print('%-9s %-3s %-7s %-19s %-19s %s' % ('points', 'oct', 'path', 'before', 'after', 'after/before (fastest)'))
    cell = lambda w, n: ('%8.2f (%8.2f)' % (mean[w][n], fastest[w][n]) if n in fastest[w]
                         else '%8.2f %10s' % (mean[w][n], '') if n in mean[w] else '%-19s' % '-')
    for name in names:
        if name not in mean[0] and name not in mean[1]:
            continue
        _, path, points, octaves = NAME.match(name + '/').groups()
        ratio = '%.2f' % (mean[1][name] / mean[0][name]) if name in mean[0] and name in mean[1] else '-'
        if name in fastest[0] and name in fastest[1]:
            ratio += ' (%.2f)' % (fastest[1][name] / fastest[0][name])
        print('%-9s %-3s %-7s %s %s %s' % (points, octaves, path, cell(0, name), cell(1, name), ratio))

    print('\nEach octave past the fourth, ns per octave-sample: from the lowest means (from the fastest calls)')
    for top in (8, 10):
        for points in args.points.split(','):
            for path in args.paths.split(','):
                low = 'Deform/%s/points:%s/octaves:4' % (path, points)
                high = 'Deform/%s/points:%s/octaves:%d' % (path, points, top)
                cells = []
                for which in (0, 1):
                    if low in mean[which] and high in mean[which]:
                        text = '%.3f' % ((mean[which][high] - mean[which][low]) / (3 * (top - 4)))
                        if low in fastest[which] and high in fastest[which]:
                            text += ' (%.3f)' % ((fastest[which][high] - fastest[which][low]) / (3 * (top - 4)))
                        cells.append(text)
                    else:
                        cells.append('-')
                if cells != ['-', '-']:
                    print('(%2d - 4) %-9s %-7s before %-16s after %s' % (top, points, path, cells[0], cells[1]))


if __name__ == '__main__':
    main()

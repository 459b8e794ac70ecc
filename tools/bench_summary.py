#!/usr/bin/env python3
"""Prints the closing table of "make bench": bench_summary.py ROWS.tsv FACE_TESTS.json

ROWS.tsv holds the rows the frame, start-up, play and sound benchmarks and the
timedemo runs wrote ("what, figure, target, met" separated by tabs; a figure
printed beside another has no target); the JSON file is Google Benchmark's
output of face_test_bench, from which the logic tick figures are taken (CPU
time, as the machine may be shared)."""
import json
import sys

# Google Benchmark name, what it shows, target in milliseconds.
TICKS = [
    ('GunTickAroundEachActor', "worst logic tick: 100 shots in flight, a third in each actor's box", 2.0),
    ('GunTickWhereAllThreeMeet', 'harsher still: every shot in all three boxes at once (3,000 face tests)', 2.0),
    ('LogicStepBothActorsHunting', 'typical logic tick: Walker chasing, Flyer bombing, Carrier moving', 0.1),
]
TO_MS = {'ns': 1e-6, 'us': 1e-3, 'ms': 1.0, 's': 1e3}


def tick_rows(path):
    with open(path) as source:
        runs = {run['name']: run for run in json.load(source)['benchmarks']}
    rows = []
    for name, what, target in TICKS:
        run = runs.get(name)
        if run is None or 'error_message' in run:
            rows.append((what, 'not measured', 'under %g ms' % target, 'NO'))
            continue
        ms = run['cpu_time'] * TO_MS[run['time_unit']]
        figure = ('%.4f ms' % ms if ms < 0.1 else '%.2f ms' % ms) + ' CPU'
        rows.append((what, figure, 'under %g ms' % target, 'yes' if ms < target else 'NO'))
    return rows


def main(rows_path, json_path):
    with open(rows_path) as source:
        rows = [tuple(line.rstrip('\n').split('\t')) for line in source if line.strip()]
    rows[len(rows) - 1:len(rows) - 1] = tick_rows(json_path)
    header = ('what', 'figure', 'target', 'met?')
    widths = [max(len(row[i]) for row in rows + [header]) for i in range(4)]
    line = '  '.join('-' * w for w in widths)
    print('\nSummary')
    print(line)
    for row in [header] + [None] + rows:
        print(line if row is None else '  '.join(cell.ljust(w) for cell, w in zip(row, widths)).rstrip())
    print(line)


if __name__ == '__main__':
    main(sys.argv[1], sys.argv[2])

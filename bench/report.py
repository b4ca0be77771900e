#!/usr/bin/env python3
"""Turns bench/run.sh's raw measurements into Markdown tables.

    report.py TIMES_TSV CHECKS_TSV

TIMES_TSV rows: size, layout, program, run, wall seconds, peak KiB.
CHECKS_TSV rows: size, layout, program, verdict.

One table per size and layout: median and range of the wall time, the
highest peak RSS over the runs, time per station, and each program's median
relative to ours (so the literal row shows literal/ours, the peer row
peer/ours). Then one table of the two ratios that the targets are stated in, for
every size and layout: the literal reference's time over ours (the median of
the round-by-round ratios) and our peak memory over the literal reference's.
"""

import collections
import statistics
import sys

ORDER = {"ours": 0, "before": 1, "literal": 2, "peer": 3}
LABEL = {
    "ours": "ours",
    "before": "before (earlier build)",
    "literal": "literal iostream reference",
    "peer": "Python peer",
}


def read_tsv(path):
    with open(path, encoding="utf-8") as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip()]


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    walls = collections.defaultdict(list)
    peaks = collections.defaultdict(list)
    for size, layout, prog, _run, wall, peak in read_tsv(argv[1]):
        walls[size, layout, prog].append(float(wall))
        peaks[size, layout, prog].append(int(peak))
    verdict = {(s, l, p): v for s, l, p, v in read_tsv(argv[2])}

    keys = sorted({(int(s), l) for s, l, _ in list(walls) + list(verdict)},
                  key=lambda k: (k[0], k[1] != "two-file"))
    summary_rows = []
    for size, layout in keys:
        s = str(size)
        progs = sorted({p for (ks, kl, p) in list(walls) + list(verdict) if (ks, kl) == (s, layout)},
                       key=lambda p: ORDER.get(p, 9))
        runs = max((len(walls[s, layout, p]) for p in progs), default=0)
        print(f"### {size:,} stations, {layout} layout ({runs} run{'s' if runs != 1 else ''})\n")
        print("| program | median s | min–max s | peak MiB | µs/station | median ÷ ours | output |")
        print("|---|---:|---:|---:|---:|---:|---|")
        ours = walls.get((s, layout, "ours"))
        ours_med = statistics.median(ours) if ours else None
        ratios = {}
        for p in progs:
            w = walls.get((s, layout, p))
            v = verdict.get((s, layout, p), "?")
            if not w:
                print(f"| {LABEL.get(p, p)} | – | – | – | – | – | {v} |")
                continue
            med = statistics.median(w)
            ratio = "–"
            if ours_med:
                ratios[p] = med / ours_med
                ratio = f"{ratios[p]:.2f}×"
            print(f"| {LABEL.get(p, p)} | {med:.3f} | {min(w):.3f}–{max(w):.3f} | "
                  f"{max(peaks[s, layout, p]) / 1024:.1f} | {med / size * 1e6:.3f} | {ratio} | {v} |")
        summary = [f"{name}/ours = {ratios[p]:.2f}×"
                   for p, name in (("before", "before"), ("literal", "literal"), ("peer", "peer"))
                   if p in ratios]
        if summary:
            print("\n" + ", ".join(summary))
        # The programs take turns within each round, so the ratio of one round is less
        # affected by the machine's load changing from minute to minute.
        rounds = []
        for p, name in (("before", "before"), ("literal", "literal"), ("peer", "peer")):
            w = walls.get((s, layout, p))
            if ours and w and len(w) == len(ours) and len(w) > 1:
                r = sorted(x / o for x, o in zip(w, ours))
                rounds.append(f"{name}/ours {statistics.median(r):.2f}× ({r[0]:.2f}–{r[-1]:.2f}×)")
        if rounds:
            print("\nround by round (median, range): " + ", ".join(rounds))
        print()
        lit = walls.get((s, layout, "literal"))
        if ours and lit and len(lit) == len(ours):
            speed = statistics.median(x / o for x, o in zip(lit, ours))
            memory = max(peaks[s, layout, "ours"]) / max(peaks[s, layout, "literal"])
            summary_rows.append(f"| {size:,} | {layout} | {speed:.1f}× | {memory:.2f}× |")
    if summary_rows:
        print("### Ratios to the literal reference\n")
        print("| stations | layout | literal time ÷ ours | our peak memory ÷ literal |")
        print("|---:|---|---:|---:|")
        print("\n".join(summary_rows))
        print()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

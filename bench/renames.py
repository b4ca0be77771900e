#!/usr/bin/env python3
"""Helper of bench/renames.sh: builds the rename cases, reads the programs' reports and scores
rename hints against the true renames, beside two baselines. Python standard library only.

  renames.py cases PACKAGES DEST     cases from unpacked db-stations versions (PACKAGES/<v>/data.ndjson)
  renames.py crafted N DEST          N register names and N new names sharing six words
  renames.py hints LAYOUT REPORT     the report's rename hints as "old<TAB>new"; status 3 when
                                     the report has no rename section
  renames.py score CASE LABEL=HINTS...
                                     a Markdown row: precision and recall of each hint file,
                                     then of the two baselines

LAYOUT is two-file (stationdiff) or one-file (stationdiff-onefile). A case folder holds
two-file/ (bemenet.txt, frissites.txt), one-file/ (F.IN), truth.tsv (the true renames, old and
new name), gone.txt and new.txt (what the reports list) and all.txt (every name of both
versions, for the word-overlap baseline's rarity).
"""

import difflib
import json
import math
import os
import re
import sys

PAIRS = [("3.0.0", "4.0.0"), ("4.0.0", "5.0.2")]
BLANKS = re.compile(rb"[ \t\n\v\f\r]+")
# The headings of the reports, and of the rename section that --renames adds.
HEADINGS = {
    "two-file": ("Eltunt allomasok: ", "Uj allomasok: ", "Valoszinu atnevezesek: "),
    "one-file": ("Not used: ", "New stations: ", "Probably renamed: "),
}


def normal(name):
    """A name as the programs read it: its words joined by single spaces (bytes, UTF-8)."""
    return b" ".join(w for w in BLANKS.split(name.encode("utf-8")) if w)


def stations(path):
    """Station id -> normalised name, in file order, of one data.ndjson."""
    out = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            if line.strip():
                record = json.loads(line)
                out[record["id"]] = normal(record["name"])
    return out


def write(path, lines):
    if os.path.dirname(path):
        os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"".join(line + b"\n" for line in lines))


def build_case(older, newer, dest):
    """The register holds each distinct older name once, ids from 1 in file order; the update
    list holds the newer names. A true rename keeps its id under another name, its old name
    gone from the update list and its new name not in the register."""
    old_names = list(dict.fromkeys(older.values()))
    new_names = list(dict.fromkeys(newer.values()))
    register = [b"%d" % len(old_names)] + [b"%d %s" % (i + 1, n) for i, n in enumerate(old_names)]
    write(os.path.join(dest, "two-file", "bemenet.txt"), register)
    write(os.path.join(dest, "two-file", "frissites.txt"), new_names)
    write(os.path.join(dest, "one-file", "F.IN"), register + new_names)
    old_set, new_set = set(old_names), set(new_names)
    gone = [n for n in old_names if n not in new_set]
    fresh = sorted(n for n in new_names if n not in old_set)
    truth = {}
    for sid, old in older.items():
        new = newer.get(sid)
        if new is not None and new != old and old not in new_set and new not in old_set:
            truth[old] = new
    write(os.path.join(dest, "truth.tsv"), [o + b"\t" + n for o, n in truth.items()])
    write(os.path.join(dest, "gone.txt"), gone)
    write(os.path.join(dest, "new.txt"), fresh)
    write(os.path.join(dest, "all.txt"), old_names + new_names)


def cases(packages, dest):
    for a, b in PAIRS:
        older = stations(os.path.join(packages, a, "data.ndjson"))
        newer = stations(os.path.join(packages, b, "data.ndjson"))
        build_case(older, newer, os.path.join(dest, "%s-%s" % (a, b)))
        print(os.path.join(dest, "%s-%s" % (a, b)))


def crafted(n, dest):
    """N register names and N new names that share their first six words and differ in a
    number: every register name is gone and every update name new."""
    shared = b"Alpha Bravo Charlie Delta Echo Foxtrot"
    register = [b"%d" % n] + [b"%d %s %d" % (i + 1, shared, i) for i in range(n)]
    update = [b"%s %d" % (shared, n + i) for i in range(n)]
    write(os.path.join(dest, "two-file", "bemenet.txt"), register)
    write(os.path.join(dest, "two-file", "frissites.txt"), update)
    write(os.path.join(dest, "one-file", "F.IN"), register + update)


def report_lines(path):
    with open(path, "rb") as f:
        text = f.read()
    return text.split(b"\n")[:-1] if text.endswith(b"\n") else text.split(b"\n")


def sections(layout, path):
    """The gone names, the new names and the rename lines (None without a rename section)."""
    gone_head, new_head, renames_head = (h.encode() for h in HEADINGS[layout])
    lines = report_lines(path)
    start = lines.index(gone_head) + 1
    # The one-file heading of the new names holds their count.
    middle = next(i for i in range(start, len(lines)) if lines[i].startswith(new_head))
    # The gone lines are "<code> <name>"; an empty line ends them.
    gone = [line.split(b" ", 1)[1] if b" " in line else b"" for line in lines[start:middle - 1]]
    rest = lines[middle + 1:]
    renames = None
    for i in range(len(rest) - 1):
        if rest[i] == b"" and rest[i + 1].startswith(renames_head):
            rest, renames = rest[:i], rest[i + 2:]
            break
    return gone, rest, renames


def hints(layout, report):
    _, _, renames = sections(layout, report)
    if renames is None:
        sys.exit(3)
    out = sys.stdout.buffer
    for line in renames:
        out.write(line.split(b" ", 1)[1] + b"\n")  # "<code> <old><TAB><new>"


def read_pairs(path):
    with open(path, "rb") as f:
        return [tuple(line.split(b"\t", 1)) for line in f.read().splitlines()]


def measure(given, truth):
    """Precision: correct hints over hints given; recall: correct hints over true renames."""
    correct = sum(1 for old, new in given if truth.get(old) == new)
    precision = correct / len(given) if given else 1.0
    return "%.2f, %.2f" % (precision, correct / len(truth) if truth else 1.0)


def words(name):
    return set(re.findall(r"\w+", name.decode("utf-8", "replace").lower()))


def word_overlap(gone, fresh, every_name):
    """The word-overlap script: words lower-cased, each weighed log(N / names holding it) over
    both versions' names, a pair scored by the weight of the shared words over that of all
    their words; a hint where the best new name scores 0.3 or more and has the gone name as its
    own best."""
    holders = {}
    for name in every_name:
        for w in words(name):
            holders[w] = holders.get(w, 0) + 1
    total = len(every_name)
    gone_words = [words(n) for n in gone]
    fresh_words = [words(n) for n in fresh]

    def weight(ws):
        return sum(math.log(total / holders[w]) for w in ws)

    def score(a, b):
        union = weight(a | b)
        return weight(a & b) / union if union > 0 else 0.0

    table = [[score(g, f) for f in fresh_words] for g in gone_words]
    out = []
    for i, row in enumerate(table):
        if not row:
            break
        j = max(range(len(row)), key=row.__getitem__)
        if row[j] >= 0.3 and max(range(len(table)), key=lambda k: table[k][j]) == i:
            out.append((gone[i], fresh[j]))
    return out


def close_matches(gone, fresh):
    """difflib.get_close_matches with its cutoff of 0.6: the closest new name, if any."""
    text = [n.decode("utf-8", "replace") for n in fresh]
    out = []
    for name in gone:
        match = difflib.get_close_matches(name.decode("utf-8", "replace"), text, n=1, cutoff=0.6)
        if match:
            out.append((name, fresh[text.index(match[0])]))
    return out


def score(case, labelled):
    truth = dict(read_pairs(os.path.join(case, "truth.tsv")))
    gone = report_lines(os.path.join(case, "gone.txt"))
    fresh = report_lines(os.path.join(case, "new.txt"))
    every_name = report_lines(os.path.join(case, "all.txt"))
    cells = [os.path.basename(os.path.abspath(case)).replace("-", " → ", 1), str(len(gone)),
             str(len(truth))]
    for item in labelled:
        label, path = item.split("=", 1)
        cells.append("%s %s" % (measure(read_pairs(path), truth), label))
    cells.append(measure(word_overlap(gone, fresh, every_name), truth))
    cells.append(measure(close_matches(gone, fresh), truth))
    print("| " + " | ".join(cells) + " |")


def main(argv):
    command = argv[1] if len(argv) > 1 else ""
    if command == "cases" and len(argv) == 4:
        cases(argv[2], argv[3])
    elif command == "crafted" and len(argv) == 4:
        crafted(int(argv[2]), argv[3])
    elif command == "hints" and len(argv) == 4:
        hints(argv[2], argv[3])
    elif command == "score" and len(argv) >= 3:
        score(argv[2], argv[3:])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)

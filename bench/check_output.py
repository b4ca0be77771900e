#!/usr/bin/env python3
"""Checks a program's report against the literal reference's report.

    check_output.py two-file DATA_DIR EXPECTED ACTUAL
    check_output.py one-file DATA_DIR EXPECTED ACTUAL

EXPECTED is the literal reference's stdout, ACTUAL the output under test,
DATA_DIR the input directory both were run in. Exit status 0 when ACTUAL is
acceptable, 1 (with the first problems on stderr) when it is not, 2 on usage
errors.

A byte-for-byte comparison would be too strict: the reports leave some choices
open, so those parts are checked for what must hold instead.

two-file
  * the SIZE line and everything from the blank line on ("Uj allomasok: " and
    the new names) must be byte-identical;
  * the disappeared records must name the same multiset of names, with ids in
    ascending order, and every reported (id, name) must be a register record
    (records of one name are used at most as often as the register holds
    them) -- which record of a repeated name is reported is free.

one-file
  * everything from the blank line on ("New stations: N" and the names) must
    be byte-identical;
  * the not-used lines must list the same codes, strictly ascending, and each
    name must be a register station never named in the update list whose
    (first) code is the one printed -- which station is shown for a shared
    code is free.

The register is read with the parsing helpers of reference/peer.py.
"""

import collections
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "reference"))
import peer  # noqa: E402  (benchmark reference: register and update-list parsing)

_CANONICAL_INT = re.compile(rb"-?(0|[1-9][0-9]*)")
MAX_PROBLEMS = 10


class Mismatch(Exception):
    pass


def show(b):
    return b.decode("utf-8", "backslashreplace")


def split_report(out, head, what):
    """Splits a report into (first lines, record lines, tail bytes).

    `head` lists the lines expected before the records (None = any line). The
    records run up to the first empty line; the tail is everything after it.
    """
    if not out.endswith(b"\n"):
        raise Mismatch(f"{what}: output does not end with a newline")
    lines = out[:-1].split(b"\n")
    if len(lines) < len(head):
        raise Mismatch(f"{what}: output has only {len(lines)} lines")
    for i, want in enumerate(head):
        if want is not None and lines[i] != want:
            raise Mismatch(f"{what}: line {i + 1} is {show(lines[i])!r}, expected {show(want)!r}")
    try:
        blank = lines.index(b"", len(head))
    except ValueError:
        raise Mismatch(f"{what}: no empty line after the first section") from None
    return lines[: len(head)], lines[len(head) : blank], b"\n".join(lines[blank + 1 :]) + b"\n"


def parse_record(line, what):
    """'<int> <name>' -> (int, name); the int must be printed canonically."""
    num, sep, name = line.partition(b" ")
    if not sep or not _CANONICAL_INT.fullmatch(num):
        raise Mismatch(f"{what}: malformed record line {show(line)!r}")
    value = int(num)
    if not peer.INT_MIN <= value <= peer.INT_MAX:
        raise Mismatch(f"{what}: number out of range in {show(line)!r}")
    return value, name


def compare_tails(exp_tail, act_tail, label):
    if exp_tail == act_tail:
        return
    e, a = exp_tail[:-1].split(b"\n"), act_tail[:-1].split(b"\n")
    for i in range(max(len(e), len(a))):
        el = e[i] if i < len(e) else b"<end of output>"
        al = a[i] if i < len(a) else b"<end of output>"
        if el != al:
            raise Mismatch(
                f"{label} differs at its line {i + 1}: got {show(al)!r}, expected {show(el)!r}"
            )


def read(path):
    with open(path, "rb") as f:
        return f.read()


def parse_sections(exp_recs, act_recs, exp_tail, act_tail, strict, problems):
    """Checks the new-station sections and the order of the reported records (ascending, or
    strictly ascending); returns the parsed expected and actual records."""
    try:
        compare_tails(exp_tail, act_tail, "new-station section")
    except Mismatch as e:
        problems.append(str(e))
    exp = [parse_record(line, "expected") for line in exp_recs]
    act = [parse_record(line, "actual") for line in act_recs]
    for i in range(1, len(act)):
        if act[i][0] < act[i - 1][0] or (strict and act[i][0] == act[i - 1][0]):
            problems.append(
                f"records out of order at record {i + 1}: {act[i][0]} after {act[i - 1][0]}")
            break
    return exp, act


def check_two_file(data_dir, expected, actual, problems):
    (exp_size, _), exp_recs, exp_tail = split_report(
        expected, [None, b"Eltunt allomasok: "], "expected")
    (act_size, _), act_recs, act_tail = split_report(
        actual, [None, b"Eltunt allomasok: "], "actual")
    if act_size != exp_size:
        problems.append(f"SIZE line is {show(act_size)!r}, expected {show(exp_size)!r}")
    exp, act = parse_sections(exp_recs, act_recs, exp_tail, act_tail, False, problems)

    exp_names = collections.Counter(name for _, name in exp)
    act_names = collections.Counter(name for _, name in act)
    for name in sorted((exp_names - act_names).keys())[:MAX_PROBLEMS]:
        problems.append(f"disappeared station missing: {show(name)!r}")
    for name in sorted((act_names - exp_names).keys())[:MAX_PROBLEMS]:
        problems.append(f"disappeared station reported too often or wrongly: {show(name)!r}")

    # Every reported record must come from the register, each at most as often
    # as the register holds it.
    stations, _ = peer.read_register(read(os.path.join(data_dir, "bemenet.txt")))
    held = collections.Counter(stations)
    used = collections.Counter(act)
    bad = [rec for rec, k in used.items() if k > held[rec]]
    for code, name in sorted(bad)[:MAX_PROBLEMS]:
        problems.append(f"reported record is not in the register (or too often): {code} {show(name)!r}")


def check_one_file(data_dir, expected, actual, problems):
    _, exp_recs, exp_tail = split_report(expected, [b"Not used: "], "expected")
    _, act_recs, act_tail = split_report(actual, [b"Not used: "], "actual")
    exp, act = parse_sections(exp_recs, act_recs, exp_tail, act_tail, True, problems)
    exp_codes = {code for code, _ in exp}
    act_codes = {code for code, _ in act}
    for code in sorted(exp_codes - act_codes)[:MAX_PROBLEMS]:
        problems.append(f"not-used code missing: {code}")
    for code in sorted(act_codes - exp_codes)[:MAX_PROBLEMS]:
        problems.append(f"not-used code reported but not expected: {code}")

    stations, tail = peer.read_register(read(os.path.join(data_dir, "F.IN")))
    register = {}
    for code, name in stations:
        register.setdefault(name, code)
    named = set(peer.update_names(tail))
    wrong = 0
    for code, name in act:
        if name not in register:
            why = "is not a register station"
        elif name in named:
            why = "is named in the update list"
        elif register[name] != code:
            why = f"has code {register[name]}"
        else:
            continue
        wrong += 1
        if wrong <= MAX_PROBLEMS:
            problems.append(f"not-used line {code} {show(name)!r}: the station {why}")


def main(argv):
    modes = {"two-file": check_two_file, "one-file": check_one_file}
    if len(argv) != 5 or argv[1] not in modes:
        sys.stderr.write(__doc__.split("\n\n")[1] + "\n")
        return 2
    mode, data_dir, exp_path, act_path = argv[1:]
    problems = []
    try:
        modes[mode](data_dir, read(exp_path), read(act_path), problems)
    except Mismatch as e:
        problems.append(str(e))
    if problems:
        sys.stderr.write(f"{act_path}: output check FAILED ({mode}):\n")
        for p in problems[:MAX_PROBLEMS]:
            sys.stderr.write(f"  {p}\n")
        if len(problems) > MAX_PROBLEMS:
            sys.stderr.write(f"  ... and {len(problems) - MAX_PROBLEMS} more\n")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

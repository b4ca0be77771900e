#!/usr/bin/env python3
"""BENCHMARK REFERENCE ONLY -- not part of the programs.

An idiomatic Python peer of the two reconciliation programs, timed by
bench/run.sh next to them so the tables show where a plain scripting-language
solution lands. Reads the same files from the current directory and writes the
same report to stdout.

    peer.py two-file   # be.txt, bemenet.txt, frissites.txt
    peer.py one-file   # F.IN

Everything is handled as bytes: bytes.split() with no argument splits on
exactly the six ASCII whitespace bytes (space, \\t, \\n, \\v, \\f, \\r), and
bytes compare as unsigned bytes, which is the ordering the programs use.
"""

import re
import sys

WHITESPACE = b" \t\n\v\f\r"
INT_MIN, INT_MAX = -(2**31), 2**31 - 1
_INT_PREFIX = re.compile(rb"[+-]?[0-9]+")


def split_lines(data):
    """Lines split at \\n; a final \\n does not start another (empty) line."""
    lines = data.split(b"\n")
    if lines[-1] == b"":
        lines.pop()
    return lines


def parse_count(data):
    """Reads the count at the head of a register.

    Returns (n, rest): rest holds the bytes after the count's line. When the
    count is missing or does not fit in 32 bits nothing more is read: rest is
    empty (and n is 0 for a missing count).
    """
    pos = 0
    while pos < len(data) and data[pos] in WHITESPACE:
        pos += 1
    m = _INT_PREFIX.match(data, pos)
    if m is None:
        return 0, b""
    n = int(m.group())
    if not INT_MIN <= n <= INT_MAX:
        return n, b""
    nl = data.find(b"\n", m.end())
    return n, (b"" if nl < 0 else data[nl + 1 :])


def parse_station(line):
    """Register line -> (code, name).

    The code is the longest leading signed integer; whatever follows it in the
    first token starts the name. No integer: code 0 and an empty name. Out of
    32-bit range: the code is clamped and the name is empty.
    """
    tokens = line.split()
    if not tokens:
        return 0, b""
    first = tokens[0]
    if first.isdigit():  # the common case, no regex needed
        code, tail = int(first), b""
    else:
        m = _INT_PREFIX.match(first)
        if m is None:
            return 0, b""
        code, tail = int(m.group()), first[m.end() :]
    if code > INT_MAX:
        return INT_MAX, b""
    if code < INT_MIN:
        return INT_MIN, b""
    if tail:
        tokens[0] = tail
        return code, b" ".join(tokens)
    return code, b" ".join(tokens[1:])


def read_register(data):
    """Register text -> (list of (code, name), update lines that follow it).

    The trailing lines matter only for the single-file layout."""
    n, rest = parse_count(data)
    lines = split_lines(rest)
    n = max(n, 0)
    return [parse_station(line) for line in lines[:n]], lines[n:]


def update_names(lines):
    """Normalised names of an update list; lines of 0 or 1 byte are skipped."""
    return [b" ".join(line.split()) for line in lines if len(line) > 1]


def read_file(name):
    try:
        with open(name, "rb") as f:
            return f.read()
    except OSError:
        return None


def two_file():
    size = b"SIZE: %d" % len(set((read_file("be.txt") or b"").split()))
    reg_data = read_file("bemenet.txt")
    if reg_data is None:
        sys.stdout.buffer.write(size + b"\nFile open error\n")
        return 1
    stations, _ = read_register(reg_data)

    # name -> index of its first record; only that one is ever marked seen.
    first = {}
    for i, (_, name) in enumerate(stations):
        first.setdefault(name, i)
    seen = set()
    fresh = set()
    for name in update_names(split_lines(read_file("frissites.txt") or b"")):
        i = first.get(name)
        if i is None:
            fresh.add(name)
        else:
            seen.add(i)

    gone = sorted(
        (code, name) for i, (code, name) in enumerate(stations) if i not in seen
    )
    out = [size, b"Eltunt allomasok: "]
    out += [b"%d %s" % pair for pair in gone]
    out += [b"", b"Uj allomasok: "]
    out += sorted(fresh)
    sys.stdout.buffer.write(b"\n".join(out) + b"\n")
    return 0


def one_file():
    stations, tail = read_register(read_file("F.IN") or b"")
    register = {}  # name -> code, first code wins
    for code, name in stations:
        register.setdefault(name, code)
    seen = set()
    fresh = set()
    for name in update_names(tail):
        if name in register:
            seen.add(name)
        else:
            fresh.add(name)

    not_used = {}  # code -> its first unseen station in file order
    for name, code in register.items():
        if name not in seen:
            not_used.setdefault(code, name)
    out = [b"Not used: "]
    out += [b"%d %s" % (code, not_used[code]) for code in sorted(not_used)]
    out += [b"", b"New stations: %d" % len(fresh)]
    out += sorted(fresh)
    sys.stdout.buffer.write(b"\n".join(out) + b"\n")
    return 0


def main(argv):
    modes = {"two-file": two_file, "one-file": one_file}
    if len(argv) != 2 or argv[1] not in modes:
        sys.stderr.write("usage: peer.py two-file|one-file\n")
        return 2
    return modes[argv[1]]()


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3
"""Reads the mutant list of tools/mutants.sh and applies one mutant to the tree.

    mutants.py list LIST [ID...]         one line per mutant: id, file, description (tab-separated)
    mutants.py apply LIST ROOT ID        changes the mutant's file; exit 3 when its text does not apply
"""
import sys

FIELDS = {"id", "file", "find", "occurrence", "replace", "what"}


def unescape(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text) and text[i + 1] in "n\\":
            out.append("\n" if text[i + 1] == "n" else "\\")
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def read_list(path):
    mutants, current = [], {}

    def close(line_number):
        if not current:
            return
        missing = {"id", "file", "find", "replace", "what"} - current.keys()
        if missing:
            sys.exit(f"{path}:{line_number}: entry {current.get('id', '?')} lacks {', '.join(sorted(missing))}")
        if any(m["id"] == current["id"] for m in mutants):
            sys.exit(f"{path}:{line_number}: id {current['id']} is there twice")
        mutants.append(dict(current))
        current.clear()

    number = 0
    with open(path, encoding="utf-8") as lines:
        for number, line in enumerate(lines, 1):
            line = line.rstrip("\n")
            if line.startswith("#"):
                continue
            if not line.strip():
                close(number)
                continue
            name, _, value = line.partition(" ")
            if name not in FIELDS:
                sys.exit(f"{path}:{number}: unknown field {name!r}")
            if name in current:
                sys.exit(f"{path}:{number}: field {name} given twice")
            current[name] = value.strip() if name in ("id", "file", "occurrence", "what") else value.lstrip(" ").rstrip()
        close(number + 1)
    return mutants


def mutated(text, mutant):
    """The file's text with the mutant applied, or the reason it does not apply."""
    find, replace = unescape(mutant["find"]), unescape(mutant["replace"])
    count = text.count(find)
    if "occurrence" in mutant:
        wanted = int(mutant["occurrence"])
        if count < wanted:
            return None, f"occurrence {wanted} asked, the text occurs {count} times"
    else:
        if count != 1:
            return None, f"the text occurs {count} times, not once"
        wanted = 1
    start = -1
    for _ in range(wanted):
        start = text.index(find, start + 1)
    return text[:start] + replace + text[start + len(find):], None


def main(argv):
    if len(argv) >= 2 and argv[0] == "list":
        mutants = read_list(argv[1])
        wanted = argv[2:]
        known = {m["id"] for m in mutants}
        unknown = [i for i in wanted if i not in known]
        if unknown:
            sys.exit("no such mutant: " + " ".join(unknown))
        for m in mutants:
            if not wanted or m["id"] in wanted:
                print(f"{m['id']}\t{m['file']}\t{m['what']}")
        return 0
    if len(argv) == 4 and argv[0] == "apply":
        _, path, root, ident = argv
        mutant = next((m for m in read_list(path) if m["id"] == ident), None)
        if mutant is None:
            sys.exit("no such mutant: " + ident)
        target = f"{root}/{mutant['file']}"
        try:
            with open(target, encoding="utf-8", newline="") as source:
                text = source.read()
        except OSError as error:
            print(f"{mutant['file']}: {error.strerror}")
            return 3
        result, reason = mutated(text, mutant)
        if result is None:
            print(f"{mutant['file']}: {reason}")
            return 3
        with open(target, "w", encoding="utf-8", newline="") as out:
            out.write(result)
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

#!/usr/bin/env python3
"""Puts the tables of faults run again into the fault-matrix document and recounts its
totals and its list of cells that did not end well from every table in it.

fault-matrix-splice.py DOC.md PART.md FAULTS-FILE [NOTE]
"""
import re
import sys


def sections(text):
    """The document's head (up to the first fault table) and each fault's section by id."""
    parts = re.split(r"(?m)^(?=## `)", text)
    head, tables = parts[0], {}
    order = []
    for p in parts[1:]:
        fid = re.match(r"## `([^`]+)`", p).group(1)
        tables[fid] = p
        order.append(fid)
    return head, tables, order


def outcome(fid, phase, text):
    if text.startswith("— ") or text.startswith("not run"):
        return "explained", None
    if text.startswith("not reached"):
        return "not-reached", None
    held = "invariants held" in text and "tray NOT finished" not in text
    resumed = "; resumed" in text or text.startswith("resumed")
    still = "moved again" not in text
    bad = None if (held and resumed and still) else "- `%s` at %s: %s" % (fid, phase, text)
    return ("struck", held, resumed, text.startswith("no alarm")), bad


def main():
    doc_path, part_path, faults_path = sys.argv[1:4]
    note = sys.argv[4] if len(sys.argv) > 4 else ""
    doc = open(doc_path, encoding="utf-8").read()
    part = open(part_path, encoding="utf-8").read()
    rerun = [f.strip() for f in open(faults_path, encoding="utf-8") if f.strip()]
    head, tables, order = sections(doc)
    _, new_tables, _ = sections(part)
    for fid in rerun:
        if fid not in new_tables or fid not in tables:
            sys.exit("no table for %s" % fid)
        tables[fid] = new_tables[fid]
    cells = struck = explained = reached_not = resumed = held = silent = 0
    bad = []
    for fid in order:
        for m in re.finditer(r"(?m)^\| ([a-z-]+) \| (.*) \|$", tables[fid]):
            phase, text = m.group(1), m.group(2)
            if phase == "Phase":
                continue
            cells += 1
            kind, line = outcome(fid, phase, text)
            if kind == "explained":
                explained += 1
            elif kind == "not-reached":
                reached_not += 1
            else:
                struck += 1
                held += kind[1]
                resumed += kind[2]
                silent += kind[3]
            if line:
                bad.append(line)
    totals = ("| Cells | struck | cannot strike | phase not reached | resumed | tray finished, invariants held | "
              "no alarm while the fault stood |\n|---|---|---|---|---|---|---|\n"
              "| %d | %d | %d | %d | %d | %d | %d |\n" % (cells, struck, explained, reached_not, resumed, held,
                                                          silent))
    head = re.sub(r"(?s)## Totals\n\n.*?\n\n## Cells that did not end well", "## Totals\n\n" + totals +
                  "\n## Cells that did not end well", head)
    head = re.sub(r"(?s)(## Cells that did not end well\n\n).*$",
                  lambda m: m.group(1) + ("\n".join(bad) + "\n" if bad else "None.\n") + "\n", head)
    if note:
        head = head.replace("\n## Totals", "\n" + note.rstrip() + "\n\n## Totals", 1)
    open(doc_path, "w", encoding="utf-8").write(head + "".join(tables[f] for f in order))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Prints one table of the benchmarks' figures, one column a platform.

    tools/bench/bench-table.py NAME=DIR [NAME=DIR ...]

Each DIR holds the JSON files tools/bench/run-benchmarks.sh wrote. A row is
one figure of one benchmark: its time, or the counter it reports (time per
call or per segment, bytes per point, the process' memory). Where the chart
has a goal for a figure, the last columns give it and whether each platform
meets it. Exits non-zero when a goal is missed on the first platform.
"""

import json
import pathlib
import re
import sys

# (benchmark, figure): (most allowed, most allowed for the stretch goal or
# None, how the goal reads)
GOALS = {
    ("BM_AddPointAlone", "time per call"): (40e-9, None, "<= 40 ns"),
    ("BM_AddPointInChart", "time per call"): (40e-9, None, "<= 40 ns"),
    # X is the reading count here, for which the stretch goal is 9 bytes.
    ("BM_AddPointAlone", "bytes per point"): (16, 9, "<= 16 B (stretch: 9 B)"),
    ("BM_AddPointInChart", "bytes per point"): (16, 9, "<= 16 B (stretch: 9 B)"),
    ("BM_AddPointOtherX", "bytes per point"): (16, None, "<= 16 B"),
    ("BM_FullRepaint/10000000", "time"): (3e-3, None, "<= 3 ms"),
    ("BM_OneNewReading/10000000", "time"): (3e-3, None, "<= 3 ms"),
    ("BM_ProcessMemory/10000000", "peak memory"): (170e6, None, "<= 170 MB"),
}


def verdict(goal, value):
    """Whether `value` meets `goal`, and its stretch goal where it has one."""
    limit, stretch, _ = goal
    if value > limit:
        return "NO"
    if stretch is None:
        return "yes"
    return "yes, and the stretch" if value <= stretch else "yes, not the stretch"

UNIT_SECONDS = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}


def figures(benchmark):
    """(figure, value in SI units, unit) for what one benchmark measured."""
    if "time_per_call" in benchmark:
        yield "time per call", benchmark["time_per_call"], "s"
    elif "per_segment" in benchmark:
        yield "time per segment", benchmark["per_segment"], "s"
    elif "resident_MB" not in benchmark:
        yield "time", benchmark["real_time"] * UNIT_SECONDS[benchmark["time_unit"]], "s"
    if "bytes_per_point" in benchmark:
        yield "bytes per point", benchmark["bytes_per_point"], "B"
    if "resident_MB" in benchmark:
        yield "memory", benchmark["resident_MB"] * 1e6, "byte"
        yield "peak memory", benchmark["peak_MB"] * 1e6, "byte"


def shown(value, unit):
    if unit == "B":
        return f"{value:.2f} B"
    if unit == "byte":
        return f"{value / 1e6:.0f} MB"
    for suffix, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6), ("ns", 1e-9)):
        if value >= scale or suffix == "ns":
            return f"{value / scale:.3g} {suffix}"
    raise AssertionError(unit)


def read(folder):
    """{(program, benchmark, figure): (value, unit)} in the order they ran."""
    results = {}
    for path in sorted(pathlib.Path(folder).glob("*.json")):
        for benchmark in json.loads(path.read_text())["benchmarks"]:
            if benchmark.get("run_type") == "aggregate" or "error_occurred" in benchmark:
                continue
            # A fixed iteration count is how it was run, not what it measured.
            name = re.sub(r"/iterations:\d+$", "", benchmark["name"])
            for figure, value, unit in figures(benchmark):
                results[(path.stem, name, figure)] = (value, unit)
    return results


def main(arguments):
    if not arguments or any("=" not in a for a in arguments):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    columns = [a.split("=", 1) for a in arguments]
    results = [read(folder) for _, folder in columns]
    rows = list(dict.fromkeys(key for result in results for key in result))

    header = ["program", "benchmark", "figure"] + [name for name, _ in columns] + ["goal"]
    header += [f"{name} meets it" for name, _ in columns]
    table = [header]
    missed_first = False
    for program, benchmark, figure in rows:
        line = [program, benchmark, figure]
        values = [result.get((program, benchmark, figure)) for result in results]
        line += [shown(*value) if value else "-" for value in values]
        goal = GOALS.get((benchmark, figure))
        line.append(goal[2] if goal else "")
        for column, value in enumerate(values):
            if goal is None:
                line.append("")
            elif value is None:
                line.append("not run")
            else:
                line.append(verdict(goal, value[0]))
                missed_first |= column == 0 and line[-1] == "NO"
        table.append(line)

    widths = [max(len(line[i]) for line in table) for i in range(len(header))]
    for index, line in enumerate(table):
        print("  ".join(cell.ljust(width) for cell, width in zip(line, widths)).rstrip())
        if index == 0:
            print("  ".join("-" * width for width in widths))
    return 1 if missed_first else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

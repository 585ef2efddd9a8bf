#!/usr/bin/env python3
"""Where a turned part's time goes, from a profile of the update pass.

    perf record -e cpu-clock -o pass.perf build/native/bin/update_pass_bench \\
        --benchmark_filter='^pass_in_place/rotated/n:1000$' --benchmark_min_time=5
    perf report -i pass.perf --no-children --sort dso,symbol --stdio | bench/profile_table.py NS_PER_PART

Sorts the samples of the module and of the reference host into the module's
math (the geometry library's functions), the module's walk (the rest of the
module: the walk, the part's turn, its host references) and the host calls
(everything the reference host and the C library run for the module, its
shortest-arc rotation on a row of its own); the benchmark's own loop and the
kernel are left out. NS_PER_PART, the benchmark's time per part (per_tagged), splits the
time in the same proportions.
"""
import re
import sys

GEOMETRY = re.compile(r"ftv::(facing_transform|decompose|direction_to_eye|upright_turn|normalize|normalized|"
                      r"transform_point|transform_row|multiply|axis_rotation|detmath::|kernels::|"
                      r"\(anonymous namespace\)::turn_about)")


def main():
    per_part = float(sys.argv[1]) if len(sys.argv) > 1 else None
    groups = {"module math": 0.0, "module walk": 0.0, "host's turn (rotation_between)": 0.0, "other host calls": 0.0}
    line_re = re.compile(r"^\s*([0-9.]+)%\s+(\S+)\s+\[(.)\]\s+(.*?)\s*$")
    for line in sys.stdin:
        m = line_re.match(line)
        if not m:
            continue
        share, dso, _, symbol = float(m.group(1)), m.group(2), m.group(3), m.group(4)
        if dso.startswith("Z_FaceToViewer"):
            groups["module math" if GEOMETRY.search(symbol) else "module walk"] += share
        elif dso.startswith("update_pass_bench"):
            if symbol.startswith("refhost::rotation_between"):
                groups["host's turn (rotation_between)"] += share
            elif "refhost" in symbol:
                groups["other host calls"] += share
        elif "strcmp" in symbol:
            groups["module walk"] += share  # the module's test for the marker's name
        elif dso.startswith("libc") or dso.startswith("libm") or dso.startswith("libstdc++"):
            groups["other host calls"] += share
    total = sum(groups.values())
    print("| where | share | ns per part |")
    print("|---|---|---|")
    for name, share in groups.items():
        ns = f"{per_part * share / total:.0f}" if per_part else "-"
        print(f"| {name} | {100 * share / total:.0f}% | {ns} |")


if __name__ == "__main__":
    main()

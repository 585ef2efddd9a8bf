#!/usr/bin/env python3
"""The ratios BENCHMARKS.md reports, from one run of both benchmarks.

    update_pass_bench --benchmark_repetitions=5 --benchmark_out=pass.json
    geometry_bench --benchmark_repetitions=5 --benchmark_out=geom.json
    bench/ratios.py pass.json geom.json

Uses the medians of the repetitions; prints Markdown tables and whether each
goal holds. The goals are judged on the alternately timed pairs (scaling/*,
pass_vs_floor/*), which a busy machine disturbs least; the benchmarks run
one after the other are shown for the absolute figures.
"""
import json
import sys

SIZES = [1000, 10000, 100000, 1000000]


def medians(path):
    with open(path) as f:
        data = json.load(f)
    out = {}
    for b in data["benchmarks"]:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") == "median":
            out[b["run_name"]] = b
    return out


def ns(seconds):
    return seconds * 1e9


def main(pass_json, geom_json):
    runs = medians(pass_json)
    geom = medians(geom_json)
    ok = True

    def get(kind, shape, n, counter):
        return ns(runs[f"{kind}/{shape}/n:{n}"][counter])

    def paired(prefix):
        for name, run in runs.items():
            if name == prefix or name.startswith(prefix + "/iterations:"):
                return run
        raise KeyError(prefix)

    shapes = ["flat", "nested", "one_in_ten", "rotated"]
    turned = ["flat", "nested", "rotated"]  # the scenes with a floor

    print("### Scaling: time per part at 10^6 / at 10^3, timed alternately (median)\n")
    print("| scene | next_sibling | ns/part 10^3 | ns/part 10^6 | ratio | goal <= 1.2 |")
    print("|---|---|---|---|---|---|")
    for shape in shapes:
        for mode in ["fresh", "in_place"]:
            r = paired(f"scaling/{shape}/{mode}")
            met = r["ratio"] <= 1.2
            ok = ok and met
            print(f"| {shape} | {mode} | {r['ns_per_part_1e3']:.0f} | {r['ns_per_part_1e6']:.0f} | {r['ratio']:.2f} | "
                  f"{'yes' if met else 'NO'} |")

    print("\n### Pass, floor and reference floor per tagged part, timed in turn on the same scene (median)\n")
    print("pass / reference (goal on the rotated scene <= 1.3 at 10^3 and 10^6), "
          "floor / reference (goal <= 1.0), pass / floor; ns at 10^6.\n")
    print("| scene | next_sibling | " + " | ".join(f"10^{len(str(n)) - 1}" for n in SIZES) +
          " | pass ns | floor ns | reference ns |")
    print("|---|---|" + "---|" * (len(SIZES) + 3))
    for shape in turned:
        for mode in ["fresh", "in_place"]:
            rs = [paired(f"pass_vs_floor/{shape}/{mode}/n:{n}") for n in SIZES]
            if shape == "rotated":
                ok = ok and rs[0]["pass_vs_reference"] <= 1.3 and rs[-1]["pass_vs_reference"] <= 1.3
                ok = ok and all(r["floor_vs_reference"] <= 1.0 for r in rs)
            cells = [f"{r['pass_vs_reference']:.2f} / {r['floor_vs_reference']:.2f} / {r['ratio']:.2f}" for r in rs]
            print(f"| {shape} | {mode} | " + " | ".join(cells) +
                  f" | {rs[-1]['pass_ns']:.0f} | {rs[-1]['floor_ns']:.0f} | {rs[-1]['reference_ns']:.0f} |")
    print()

    print("### Each benchmark on its own: time per part (median, ns)\n")
    print("| benchmark | " + " | ".join(f"10^{len(str(n)) - 1}" for n in SIZES) + " | 10^6 / 10^3 |")
    print("|---|" + "---|" * (len(SIZES) + 1))
    for shape in shapes:
        kinds = ["pass_fresh", "pass_in_place"] + ([] if shape == "one_in_ten" else ["math_floor"])
        for kind in kinds:
            counter = "per_part"
            row = [get(kind, shape, n, counter) for n in SIZES]
            ratio = row[-1] / row[0]
            print(f"| {kind}/{shape} per part | " + " | ".join(f"{v:.0f}" for v in row) + f" | {ratio:.2f} |")

    print("\n### Each benchmark on its own: update pass / math floor per tagged part\n")
    print("| pass | " + " | ".join(f"10^{len(str(n)) - 1}" for n in SIZES) + " |")
    print("|---|" + "---|" * len(SIZES))
    for shape in turned:
        for kind in ["pass_fresh", "pass_in_place"]:
            row = [get(kind, shape, n, "per_tagged") / get("math_floor", shape, n, "per_tagged") for n in SIZES]
            print(f"| {kind}/{shape} | " + " | ".join(f"{r:.2f}" for r in row) + " |")

    print("\n### Upright and exact passes / the tag-1 pass on the rotated scene, per tagged part\n")
    print("goals: exact <= 0.8, upright <= 1.0, at 10^3 and 10^6 in both forms.\n")
    print("| tags | next_sibling | " + " | ".join(f"10^{len(str(n)) - 1}" for n in SIZES) + " |")
    print("|---|---|" + "---|" * len(SIZES))
    for shape, goal in [("rotated_exact", 0.8), ("rotated_upright", 1.0)]:
        for kind in ["pass_fresh", "pass_in_place"]:
            row = [get(kind, shape, n, "per_tagged") / get(kind, "rotated", n, "per_tagged") for n in SIZES]
            ok = ok and row[0] <= goal and row[-1] <= goal
            print(f"| {shape} | {kind[5:]} | " + " | ".join(f"{r:.2f}" for r in row) + " |")

    d = geom["BM_decompose_vs_extractSHRT"]
    ratio = d["ratio"]
    ok = ok and ratio <= 0.8
    print("\n### decompose / Imath extractSHRT (same matrices; goal <= 0.8)\n")
    print(f"| ftv ns | Imath ns | ratio |\n|---|---|---|\n| {d['ftv_ns']:.1f} | {d['imath_ns']:.1f} | {ratio:.2f} |")
    print(f"\nAll goals met: {'yes' if ok else 'NO'}")
    return 0 if ok else 1


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__)
        sys.exit(2)
    sys.exit(main(sys.argv[1], sys.argv[2]))

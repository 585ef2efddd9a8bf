#!/usr/bin/env python3
"""The update pass beside three.js's Object3D.lookAt on the rotated scene.

    bench/peer/compare.py [BUILD_DIR] [ROUNDS]      (default build/native, 5)

A node process and the C++ benchmark cannot share one loop, so the two are
run alternately: in every round, for 10^3 and then 10^6 objects, first
look_at.mjs, then update_pass_bench's pass_fresh and pass_in_place on the
rotated scene of the same size, tagged 1 and tagged 3 (each in its own CPU
time). Prints the median over the rounds of the time per turned object or
part, and pass / three.js.
Installs three (package-lock.json) into bench/peer/node_modules on first use.
"""
import json
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SIZES = [1000, 1000000]


def ensure_three():
    if not os.path.isdir(os.path.join(HERE, "node_modules", "three")):
        subprocess.run(["npm", "ci", "--no-audit", "--no-fund"], cwd=HERE, check=True)


def three_ns(size):
    out = subprocess.run(["node", "--max-old-space-size=8192", os.path.join(HERE, "look_at.mjs"), str(size), "3"],
                         check=True, capture_output=True, text=True).stdout
    return json.loads(out.strip().splitlines()[-1])["ns_per_object"]


def pass_ns(bench, size):
    out = subprocess.run([bench, f"--benchmark_filter=^pass_(fresh|in_place)/rotated(_exact)?/n:{size}$",
                          "--benchmark_min_time=2", "--benchmark_format=json"],
                         check=True, capture_output=True, text=True).stdout
    runs = json.loads(out)["benchmarks"]
    return {r["name"].split("/")[0] + r["name"].split("/")[1][7:]: r["per_tagged"] * 1e9 for r in runs}


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "native")
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    bench = os.path.join(build, "bin", "update_pass_bench")
    ensure_three()
    kinds = ("three", "pass_fresh", "pass_in_place", "pass_fresh_exact", "pass_in_place_exact")
    samples = {(size, kind): [] for size in SIZES for kind in kinds}
    for r in range(rounds):
        for size in SIZES:
            samples[(size, "three")].append(three_ns(size))
            for kind, ns in pass_ns(bench, size).items():
                samples[(size, kind)].append(ns)
            print(f"round {r + 1}, {size}: " +
                  ", ".join(f"{k} {samples[(size, k)][-1]:.0f}" for k in kinds),
                  file=sys.stderr)
    print("| objects | tags | three.js lookAt ns | pass fresh ns | pass in_place ns | fresh / three.js | "
          "in_place / three.js |")
    print("|---|---|---|---|---|---|---|")
    for size in SIZES:
        m = {k: statistics.median(samples[(size, k)]) for k in kinds}
        for tags, suffix in (("1", ""), ("3", "_exact")):
            fresh, in_place = m["pass_fresh" + suffix], m["pass_in_place" + suffix]
            print(f"| 10^{len(str(size)) - 1} | {tags} | {m['three']:.0f} | {fresh:.0f} | {in_place:.0f} | "
                  f"{fresh / m['three']:.2f} | {in_place / m['three']:.2f} |")
    print(f"\n(median of {rounds} rounds)")


if __name__ == "__main__":
    main()

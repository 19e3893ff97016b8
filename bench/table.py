#!/usr/bin/env python3
"""Runs the benchmarks behind the speed table and prints it: every path with the
program's time per operation, raw SQLite's at its best (statements prepared once and
reused, the indexes in place), their ratio and the aim.

    bench/table.py [build folder, default build/bench] [--only NAME ...]

Wall-clock times count the waits for a busy processor too; CPU times are printed
beside them. Each benchmark's own output goes to stderr.
"""

import json
import os
import subprocess
import sys
import tempfile

UNIT = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}

# (program, folder, filter)
RUNS = {
    "engine": ("bench_engine", "engine", "Lookup"),
    "tools_update": ("bench_tools_update", "audiograms", "CheckPhase"),
    "dataset": ("bench_dataset_report", "reports", "."),
    "consent": ("bench_consent_reports", "reports",
                "^BM_(Consent|RawConsent|Contact|RawContact|ConsentWindowListFill)(/|$)"),
    "subjects": ("bench_subjects", "subjects", "LoadSubject"),
}

# (path, run, benchmark, raw benchmarks in order of preference, aim ratio, aim seconds)
ROWS = [
    ("point lookup, same statement reused", "engine", "BM_Lookup_MyADO", ["BM_Lookup_RawSqlite"], 1.5, None),
    ("point lookup, a new literal each call", "engine", "BM_LookupNewLiteral_MyADO",
     ["BM_LookupNewLiteral_RawBound", "BM_LookupNewLiteral_RawSqlite"], 1.5, None),
    ("Tools > Update check phase", "tools_update", "BM_CheckPhase", ["BM_CheckPhaseRawSqlite"], 2.0, None),
    ("Dataset and IRB report fill, by date", "dataset", "BM_ByDate", ["BM_RawByDate"], 2.0, None),
    ("Dataset and IRB report fill, by IRB", "dataset", "BM_ByIrb", ["BM_RawByIrb"], 2.0, None),
    ("Dataset and IRB report fill, open only", "dataset", "BM_OpenOnly", ["BM_RawOpenOnly"], 2.0, None),
    ("Consent fill", "consent", "BM_Consent", ["BM_RawConsent"], 1.5, None),
    ("Contact fill", "consent", "BM_Contact", ["BM_RawContact"], 1.5, None),
    ("LoadSubjectById, 100,000 subjects", "subjects", "BM_LoadSubjectById", ["BM_LoadSubjectByIdRawSqlite"], 1.5,
     0.2e-3),
    ("LoadSubject by name", "subjects", "BM_LoadSubjectByName", ["BM_LoadSubjectByNameRawSqlite"], 1.5, None),
    ("Consent window list fill", "consent", "BM_ConsentWindowListFill", [], None, 1.0),
]


def run(build, name):
    program, folder, pattern = RUNS[name]
    path = os.path.join(build, "bench", folder, program)
    if not os.path.exists(path):
        print(f"{program}: not built ({path})", file=sys.stderr)
        return {}
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run(["nice", path, f"--benchmark_filter={pattern}", f"--benchmark_out={out.name}",
                        "--benchmark_out_format=json"], stdout=sys.stderr, check=False)
        try:
            data = json.load(open(out.name))
        except ValueError:
            return {}
    results = {}
    for b in data.get("benchmarks", []):
        # An iteration may hold several operations (a counter "ops" says how many).
        per = UNIT[b.get("time_unit", "ns")] / b.get("ops", 1)
        base = b["name"].split("/")[0]
        results[base] = {"wall": b["real_time"] * per, "cpu": b["cpu_time"] * per, "rows": b.get("rows")}
    return results


def show(seconds):
    if seconds is None:
        return "-"
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if seconds >= scale:
            return f"{seconds / scale:.3g} {unit}"
    return f"{seconds / 1e-6:.3g} us"


def main():
    args = sys.argv[1:]
    only = []
    if "--only" in args:
        at = args.index("--only")
        only, args = args[at + 1:], args[:at]
    build = args[0] if args else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "build", "bench")
    wanted = only or list(RUNS)
    results = {name: run(build, name) for name in wanted}

    print(f"\n{os.cpu_count()} cores, load average {os.getloadavg()[0]:.2f} at the end; times per operation, "
          "wall (cpu)\n")
    print("| path | Quorin | raw SQLite, best plan | ratio wall (cpu) | aim | met |")
    print("|---|---|---|---|---|---|")
    for path, name, bench, raws, aimRatio, aimSeconds in ROWS:
        if name not in results:
            continue
        got = results[name].get(bench)
        raw = next((results[name][r] for r in raws if r in results[name]), None)
        if got is None:
            print(f"| {path} | not run | | | | |")
            continue
        rows = f", {int(got['rows']):,} rows" if got.get("rows") else ""
        quorin = f"{show(got['wall'])} ({show(got['cpu'])}){rows}"
        base = f"{show(raw['wall'])} ({show(raw['cpu'])})" if raw else "-"
        ratio = f"{got['wall'] / raw['wall']:.2f} ({got['cpu'] / raw['cpu']:.2f})" if raw else "-"
        aims, met = [], True
        if aimRatio is not None and raw:
            aims.append(f"<= {aimRatio:g}")
            met = met and got["wall"] / raw["wall"] <= aimRatio
        if aimSeconds is not None:
            aims.append(f"< {show(aimSeconds)}")
            met = met and got["wall"] < aimSeconds
        print(f"| {path} | {quorin} | {base} | {ratio} | {' and '.join(aims) or '-'} | {'yes' if met else 'no'} |")


if __name__ == "__main__":
    main()

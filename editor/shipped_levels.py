#!/usr/bin/python3
"""Writes the shipped levels for the level editor: each level's text, the first line of its note,
its committed route and that route's win rates at +-50, +-100 and +-150 ms, as `solver --rates`
measures them.
    editor/shipped_levels.py SOLVER LEVELS_DIR OUT.json"""
import concurrent.futures
import json
import os
import re
import subprocess
import sys

RATE = re.compile(r"\+-\s*(\d+) ms:\s*[\d.]+% \((\d+) of (\d+)\)")


def measure(solver, levels, number):
    base = os.path.join(levels, "level%d" % number)
    text = open(base + ".txt", encoding="latin-1").read()
    route = open(base + ".route").read().strip()
    about = open(base + ".about").read().splitlines()[0] if os.path.exists(base + ".about") else ""
    out = subprocess.run([solver, "--rates", route, base + ".txt"], capture_output=True, text=True)
    rates = {ms: {"wins": int(wins), "trials": int(trials)} for ms, wins, trials in RATE.findall(out.stdout)}
    if out.returncode != 0 or len(rates) != 3:
        sys.exit("shipped_levels: the solver could not measure level %d's route:\n%s%s"
                 % (number, out.stdout, out.stderr))
    return {"number": number, "text": text, "route": route, "about": about, "rates": rates}


def main():
    solver, levels, out = sys.argv[1:4]
    numbers = sorted(int(m.group(1)) for m in
                     (re.fullmatch(r"level(\d+)\.txt", name) for name in os.listdir(levels)) if m)
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 2) as pool:
        shipped = list(pool.map(lambda n: measure(solver, levels, n), numbers))
    with open(out + ".part", "w") as f:
        json.dump({"levels": shipped}, f, indent=1)
    os.replace(out + ".part", out)


if __name__ == "__main__":
    main()

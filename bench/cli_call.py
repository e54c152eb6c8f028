# SPDX-License-Identifier: MIT
"""Processor time (user + sys) and peak memory (max RSS) of one command-line call, for several
programs given the same address.

The programs take turns (A, B, A, B, ...) for the given number of rounds, after one unmeasured
warm-up call each, so that all see the same caches and the same load on the machine. Each
figure is that call's own resource usage, taken by os.wait4 (see child_usage.py); the medians
are printed. A program whose call fails (non-zero exit, or an answer that is not JSON) is
reported as failed, with no figures.

Usage: cli_call.py [--rounds N] [--address ADDRESS] [--json] NAME=COMMAND...
ADDRESS (default 10.1.2.3/8) is appended to each COMMAND. Prints a line per call and, with
--json, one JSON object with the medians on the last line.
"""
import argparse
import json
import os
import shlex
import statistics
import sys
import tempfile

import child_usage


def call(argv, out_path=None):
    usage = child_usage.run(argv, stdout=out_path, cap=30)
    if usage.capped:
        raise RuntimeError("no answer within 30 s")
    if usage.exit_code != 0:
        raise RuntimeError("exit status %d" % usage.exit_code)
    return usage


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--rounds", type=int, default=25)
    parser.add_argument("--address", default="10.1.2.3/8")
    parser.add_argument("--json", action="store_true")
    parser.add_argument("programs", nargs="+", metavar="NAME=COMMAND")
    options = parser.parse_args()
    programs = {}
    for named in options.programs:
        name, command = named.split("=", 1)
        programs[name] = shlex.split(command) + [options.address]

    results = {name: {"command": shlex.join(argv), "cpu": [], "rss": []}
               for name, argv in programs.items()}
    with tempfile.TemporaryDirectory(prefix="maskora-bench-") as folder:
        answer = os.path.join(folder, "answer")
        for name, argv in programs.items():
            try:
                call(argv, answer)
                with open(answer, errors="replace") as f:
                    text = f.read()
                print("%s answers: %s" % (name, " ".join(text.split())[:160] or "(nothing)"),
                      file=sys.stderr)
                if text.strip():
                    json.loads(text)  # asked for JSON: a call that answers must give it
            except (RuntimeError, ValueError) as error:
                results[name]["error"] = "warm-up call failed: %s" % error
                print("%s: %s" % (name, results[name]["error"]), file=sys.stderr)
        for round_ in range(options.rounds):
            for name, argv in programs.items():
                if "error" in results[name]:
                    continue
                try:
                    usage = call(argv)
                except RuntimeError as error:
                    results[name]["error"] = "call %d failed: %s" % (round_ + 1, error)
                    continue
                results[name]["cpu"].append(usage.cpu)
                results[name]["rss"].append(usage.maxrss_kib)
                print("round %d %-10s user+sys %7.2f ms  max RSS %7.1f MiB"
                      % (round_ + 1, name, usage.cpu * 1000, usage.maxrss_kib / 1024),
                      file=sys.stderr)

    summary = {}
    for name, r in results.items():
        entry = {"command": r["command"], "address": options.address, "calls": len(r["cpu"])}
        if "error" in r:
            entry["error"] = r["error"]
            print("%-10s %s" % (name, r["error"]))
        else:
            entry.update(cpu_ms=statistics.median(r["cpu"]) * 1000,
                         cpu_ms_min=min(r["cpu"]) * 1000,
                         rss_mib=statistics.median(r["rss"]) / 1024)
            print("%-10s median user+sys %.2f ms (least %.2f), median max RSS %.2f MiB over %d"
                  " calls" % (name, entry["cpu_ms"], entry["cpu_ms_min"], entry["rss_mib"],
                              entry["calls"]))
        summary[name] = entry
    if options.json:
        print(json.dumps(summary))
    return 0


if __name__ == "__main__":
    sys.exit(main())

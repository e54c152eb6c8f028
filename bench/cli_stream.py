# SPDX-License-Identifier: MIT
"""Throughput and peak memory of a command that reads addresses from its standard input, one a
line, and writes its answers to standard output (sent to /dev/null), pinned to one processor.

The input is random addresses with prefixes ("a.b.c.d/p"), made from a fixed seed and written
once to temporary files of each size (the larger file starts with the smaller one's lines).
The command first gets a small input with its answers kept: if it exits non-zero, answers
nothing or stops reading early, it is reported as not supporting the stream and nothing more
is run. Then it reads the smallest file several times (lines per second: the best run, since
other load only slows it) and each larger file once; peak memory is each size's max RSS,
taken by os.wait4 (see child_usage.py). A run still going when the time cap runs out is
killed and reported as cut short, with how far it had read; larger inputs are then not run.

Usage: cli_stream.py [--lines 1000000,10000000] [--runs 3] [--cap S] [--cpu N] [--seed N]
                     [--json] COMMAND...
Check the harness itself with a stand-in: `cli_stream.py cat` measures cat, and
`cli_stream.py false` must say "not supported".
"""
import argparse
import json
import os
import random
import shlex
import statistics
import sys
import tempfile
import time

import child_usage

PROBE_LINES = 1000


def address_lines(seed, count, chunk=100000):
    """Blocks of "a.b.c.d/p" lines, p from 0 to 32, the same for the same seed."""
    bits = random.Random(seed).getrandbits
    done = 0
    while done < count:
        block = []
        for _ in range(min(chunk, count - done)):
            v = bits(46)  # 32 bits of address, 14 for the prefix
            block.append("%d.%d.%d.%d/%d\n" % (v >> 38, (v >> 30) & 255, (v >> 22) & 255,
                                               (v >> 14) & 255, (v & 0x3FFF) % 33))
        done += len(block)
        yield "".join(block)


def write_inputs(folder, name, seed, sizes):
    """Writes one file per size in a single pass; returns {size: path}."""
    paths = {size: os.path.join(folder, "%s-%d.txt" % (name, size)) for size in sizes}
    files = {size: open(path, "w") for size, path in paths.items()}
    try:
        written = 0
        for block in address_lines(seed, max(sizes)):
            written += block.count("\n")
            for size, f in files.items():
                if written <= size:
                    f.write(block)
                elif written - block.count("\n") < size:  # a block across this size's end
                    keep = size - (written - block.count("\n"))
                    f.write("".join(block.splitlines(True)[:keep]))
    finally:
        for f in files.values():
            f.close()
    return paths


def first_line(path):
    with open(path, errors="replace") as f:
        return f.readline().strip()


def probe(command, folder, seed, cap):
    """None when the command answers a small input, else why it is taken as unsupported."""
    paths = write_inputs(folder, "probe", seed + 1, [PROBE_LINES])
    source = paths[PROBE_LINES]
    out, err = os.path.join(folder, "probe.out"), os.path.join(folder, "probe.err")
    usage = child_usage.run(command, stdin=source, stdout=out, stderr=err, cap=cap)
    if usage.capped:
        return "no end within %g s for %d lines" % (cap, PROBE_LINES)
    if usage.exit_code != 0:
        return "exit status %d: %s" % (usage.exit_code, first_line(err) or "no message")
    if os.path.getsize(out) == 0:
        return "no answer for %d lines" % PROBE_LINES
    size = os.path.getsize(source)
    if usage.read_bytes is not None and usage.read_bytes < size:
        return "stopped after reading %d of %d bytes" % (usage.read_bytes, size)
    with open(out, "rb") as f:
        answered = f.read().count(b"\n")
    print("probe: %d lines in, %d lines out; the first: %s"
          % (PROBE_LINES, answered, first_line(out)[:160]), file=sys.stderr)
    return None


def measure(command, path, lines, cap, cpu):
    size = os.path.getsize(path)
    usage = child_usage.run(command, stdin=path, cap=cap, cpu=cpu)
    run = {"lines": lines, "wall_s": usage.wall, "cpu_s": usage.cpu,
           "rss_mib": usage.maxrss_kib / 1024, "exit": usage.exit_code, "capped": usage.capped}
    # Lines read, from the share of the input read (the whole input when it was not a file).
    share = 1.0 if usage.read_bytes is None else min(usage.read_bytes / size, 1.0)
    run["lines_read"] = int(lines * share)
    run["lines_per_s"] = run["lines_read"] / usage.wall
    run["lines_per_cpu_s"] = run["lines_read"] / usage.cpu if usage.cpu else 0.0
    print("%9d lines: %6.2f s wall, %6.2f s user+sys, %8.0f lines/s, max RSS %7.2f MiB%s"
          % (lines, usage.wall, usage.cpu, run["lines_per_s"], run["rss_mib"],
             ", CUT by the %g s cap after ~%d lines" % (cap, run["lines_read"])
             if usage.capped else ""), file=sys.stderr)
    return run


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--lines", default="1000000,10000000",
                        help="input sizes, comma-separated; the smallest is run --runs times")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--cap", type=float, default=40.0, help="seconds at most per run")
    parser.add_argument("--cpu", type=int, default=0, help="processor to pin the command to")
    parser.add_argument("--seed", type=int, default=20240601)
    parser.add_argument("--json", action="store_true")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    options = parser.parse_args()
    command = options.command[1:] if options.command[:1] == ["--"] else options.command
    if not command:
        parser.error("no command given")
    sizes = sorted(int(n) for n in options.lines.split(","))
    result = {"command": shlex.join(command), "cpu": options.cpu, "seed": options.seed,
              "sizes": sizes, "cap_s": options.cap}

    with tempfile.TemporaryDirectory(prefix="maskora-bench-") as folder:
        why = probe(command, folder, options.seed, min(options.cap, 30.0))
        if why:
            result.update(status="not supported", detail=why)
        else:
            started = time.monotonic()
            paths = write_inputs(folder, "addresses", options.seed, sizes)
            print("inputs: %s lines, written in %.1f s"
                  % (", ".join(str(n) for n in sizes), time.monotonic() - started),
                  file=sys.stderr)
            runs = {size: [] for size in sizes}
            for attempt in range(options.runs):
                run = measure(command, paths[sizes[0]], sizes[0], options.cap, options.cpu)
                runs[sizes[0]].append(run)
                if run["exit"] != 0 or run["capped"] or run["wall_s"] > options.cap / 6:
                    break  # failed, or too slow to repeat within the time given
            for size in sizes[1:]:
                if any(r["exit"] != 0 or r["capped"] for r in runs[sizes[0]]):
                    print("%d lines: not run, the smaller input already failed or was cut"
                          " short" % size, file=sys.stderr)
                    break
                runs[size].append(measure(command, paths[size], size, options.cap,
                                          options.cpu))
            result.update(status="measured", runs={str(k): v for k, v in runs.items()})
            failed = [r for rs in runs.values() for r in rs if r["exit"] != 0 and not r["capped"]]
            if failed:
                result.update(status="failed", detail="exit status %d on %d lines"
                              % (failed[0]["exit"], failed[0]["lines"]))
            first = runs[sizes[0]]
            best = max(first, key=lambda r: r["lines_per_s"])
            result["lines_per_s"] = best["lines_per_s"]
            result["lines_per_cpu_s"] = best["lines_per_cpu_s"]
            result["rate_runs"] = len(first)
            result["rate_cut"] = best["capped"]
            result["peak_mib"] = {str(size): statistics.median(r["rss_mib"] for r in rs)
                                  for size, rs in runs.items() if rs}
            result["cut"] = {str(size): rs[0]["lines_read"] for size, rs in runs.items()
                             if any(r["capped"] for r in rs)}

    if result["status"] == "not supported" or result["status"] == "failed":
        print("stream: %s (%s)" % (result["status"], result["detail"]))
    if "lines_per_s" in result:
        print("stream: best of %d run(s) of %d lines: %.0f lines/s (%.0f per processor second)%s"
              % (result["rate_runs"], sizes[0], result["lines_per_s"],
                 result["lines_per_cpu_s"], ", cut short by the cap" if result["rate_cut"]
                 else ""))
        for size, peak in result["peak_mib"].items():
            cut = result["cut"].get(size)
            print("stream: %s lines: max RSS %.2f MiB%s"
                  % (size, peak, ", cut short by the cap after ~%d lines" % cut
                     if cut is not None else ""))
    if options.json:
        print(json.dumps(result))
    return 0


if __name__ == "__main__":
    sys.exit(main())

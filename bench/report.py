# SPDX-License-Identifier: MIT
"""Prints the benchmark figures of one bench/run as a Markdown table, with the targets.

Usage: report.py DIR, where DIR holds keystroke.json (Google Benchmark's JSON output),
srv_pending.txt, srv_hostile.txt and startup.json (the last line that startup.py --json prints).
"""
import json
import os
import re
import subprocess
import sys
import time

STARTUP_TARGET = 0.35  # start-up time, as a share of the peer's
RSS_TARGET = 0.45  # idle resident memory, as a share of the peer's
CALCOLA_TARGET_US = 20.0


def machine():
    model = "unknown processor"
    with open("/proc/cpuinfo") as cpuinfo:
        for line in cpuinfo:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    cpus = subprocess.run(["nproc"], capture_output=True, text=True).stdout.strip()
    return "%s CPUs, %s, Linux %s" % (cpus, model, os.uname().release)


def keystroke_medians(path):
    with open(path) as f:
        data = json.load(f)
    medians = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") == "median":
            scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[b["time_unit"]]
            medians[b["run_name"]] = b["real_time"] * scale
    return medians


def srv_figures(path):
    with open(path) as f:
        text = f.read()
    found = {}
    for variant in ("waiting", "spinning"):
        match = re.search(r"%s event pass:\s+([0-9.]+) CPU s per wall s" % variant, text)
        if match:
            found[variant] = float(match.group(1))
    seconds = re.search(r"srv_pending: (\d+) s", text)
    return found, seconds.group(1) if seconds else "?"


def verdict(ok):
    return "pass" if ok else "**miss**"


def main():
    folder = sys.argv[1]
    rows = []
    with open(os.path.join(folder, "startup.json")) as f:
        startup = json.load(f)
    ours, peer = startup["maskora"], startup["ipqalc"]
    ratio = ours["startup_ms"] / peer["startup_ms"]
    rows.append(("Start-up, launch to mapped window, median of %d" % ours["runs"],
                 "%.0f ms" % ours["startup_ms"], "%.0f ms" % peer["startup_ms"],
                 "%.2f" % ratio, "≤ %.2f × peer" % STARTUP_TARGET,
                 verdict(ratio <= STARTUP_TARGET)))
    ratio = ours["rss_mib"] / peer["rss_mib"]
    rows.append(("Idle RSS 3 s after mapping, median of %d" % ours["runs"],
                 "%.1f MiB" % ours["rss_mib"], "%.1f MiB" % peer["rss_mib"], "%.2f" % ratio,
                 "≤ %.2f × peer" % RSS_TARGET, verdict(ratio <= RSS_TARGET)))
    references = [("ipqalc-nogl", "peer with QT_XCB_GL_INTEGRATION=none"),
                  ("empty-qt6", "empty Qt 6 window, no text")]
    for name, label in references:
        if name in startup:
            ref = startup[name]
            rows.append(("Reference: %s" % label,
                         "%.0f ms, %.1f MiB" % (ref["startup_ms"], ref["rss_mib"]), "",
                         "%.2f, %.2f (Maskora / it)" % (ours["startup_ms"] / ref["startup_ms"],
                                                        ours["rss_mib"] / ref["rss_mib"]),
                         "", "information"))

    keys = keystroke_medians(os.path.join(folder, "keystroke.json"))
    described = [
        ("EvaluateSubnet", "EvaluateSubnet alone", None),
        ("Calcola", "Calcola on the real window, run by the mask list's click",
         CALCOLA_TARGET_US),
        ("WheelStep", "Wheel step in an octet field (MouseWheel)", None),
        ("UpKeyWithRepaint", "Up key through Qt's event path, with repaint", None),
    ]
    for name, label, target in described:
        if name not in keys:
            rows.append((label, "not measured", "", "", "", "**miss**"))
            continue
        us = keys[name]
        rows.append((label + ", median of 5", "%.2f µs" % us, "", "",
                     "≤ %.0f µs" % target if target else "",
                     verdict(us <= target) if target else ""))

    srv, seconds = srv_figures(os.path.join(folder, "srv_pending.txt"))
    if "waiting" in srv:
        spin = srv.get("spinning")
        rows.append(("Pending SRV request, CPU s per wall s over %s s" % seconds,
                     "%.4f" % srv["waiting"],
                     "%.4f (spinning wait)" % spin if spin is not None else "",
                     "%.4f" % (srv["waiting"] / spin) if spin else "", "", ""))
    else:
        rows.append(("Pending SRV request", "not measured", "", "", "", "**miss**"))

    hostile = os.path.join(folder, "srv_hostile.txt")
    with open(hostile) as f:
        for line in f:
            match = re.match(
                r"\| (endless [^|]+?) \| (\d+) KiB \| ([+-]\d+) KiB \| (\d+) ms \|", line)
            if match:
                rows.append(("SRV request against an %s: peak memory over idle, time to give up"
                             % match.group(1), "%s KiB, %s ms" % (match.group(2), match.group(4)),
                             "", "%s KiB over a well-formed answer" % match.group(3), "", ""))

    print("Maskora benchmarks, %s" % time.strftime("%Y-%m-%d %H:%M %Z"))
    print("Machine: %s; peer: ipqalc (Debian package), both on Xvfb" % machine())
    print()
    print("| Figure | Maskora | Peer | Ratio | Target | Result |")
    print("|---|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    return 0


if __name__ == "__main__":
    sys.exit(main())

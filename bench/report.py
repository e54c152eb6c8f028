# SPDX-License-Identifier: MIT
"""Prints the benchmark figures of one bench/run as a Markdown table, with the targets.

Usage: report.py DIR, where DIR holds keystroke.json (Google Benchmark's JSON output),
srv_pending.txt, srv_hostile.txt, and startup.json, cli_call.json, cli_stream.json and
paste_memory.json (the last line that startup.py, cli_call.py, cli_stream.py and paste_memory.py
print with --json).
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
CALL_CPU_TARGET = 1.0  # processor time of one --json call, as a share of ipcalc-ng's
CALL_RSS_TARGET = 1.0  # its peak memory, as a share of ipcalc-ng's
STREAM_RATE_TARGET = 1_000_000  # lines per second on one processor
STREAM_RSS_SPREAD_MIB = 1.0  # the peak memory may differ by this much between input sizes
# What a pasted text may add to the window program's peak memory, in bytes per pasted byte: the
# toolkit's own copies (the X transfer and its UTF-16 text) are about three.
PASTE_BYTES_PER_BYTE = 4.0


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


def cell(text):
    return str(text).replace("|", "\\|").replace("\n", " ")


def millions(lines):
    lines = int(lines)
    return "%g M" % (lines / 1e6) if lines >= 100000 else "%d" % lines


def call_rows(call):
    """One --json call of Maskora against ipcalc-ng: processor time and peak memory."""
    ours, peer = call.get("maskora", {}), call.get("ipcalc-ng", {})
    label = "One call `--json %s`: %s, median of %d alternating with the peer's"
    rows = []
    for key, unit, what, target in (("cpu_ms", "ms", "processor time (user+sys)",
                                     CALL_CPU_TARGET),
                                    ("rss_mib", "MiB", "peak memory (max RSS)",
                                     CALL_RSS_TARGET)):
        failed = ours.get("error") or peer.get("error")
        if failed:
            rows.append((label % (ours.get("address", "?"), what, ours.get("calls", 0)),
                         cell(ours.get("error", "")), cell(peer.get("error", "")), "",
                         "≤ %.2f × peer" % target, "**miss**"))
            continue
        ratio = ours[key] / peer[key]
        rows.append((label % (ours["address"], what, ours["calls"]),
                     "%.2f %s" % (ours[key], unit), "%.2f %s" % (peer[key], unit),
                     "%.2f" % ratio, "≤ %.2f × peer" % target, verdict(ratio <= target)))
    floor = call.get("floor")
    if floor and "error" not in floor:
        rows.append(("Reference: `true` started the same way (the cost of any process)",
                     "%.2f ms, %.2f MiB" % (floor["cpu_ms"], floor["rss_mib"]), "", "", "",
                     "information"))
    return rows


def stream_rows(stream):
    """Maskora reading addresses from its standard input: lines per second and peak memory."""
    sizes = stream["sizes"]
    rate_label = ("Stream `--json -`, %s random addresses, one processor: lines per second"
                  % millions(sizes[0]))
    rss_label = ("Stream `--json -`: peak memory (max RSS) for %s lines"
                 % " and ".join(millions(n) for n in sizes))
    rate_target = "≥ {:,} /s".format(STREAM_RATE_TARGET)
    rss_target = "the same within %g MiB" % STREAM_RSS_SPREAD_MIB
    if "lines_per_s" not in stream:
        why = "%s: %s" % (stream["status"], stream.get("detail", ""))
        return [(rate_label, cell(why), "", "", rate_target, "**miss**"),
                (rss_label, cell(stream["status"]), "", "", rss_target, "**miss**")]
    rows = []
    failed = stream["status"] != "measured"
    rate = "{:,.0f} /s (best of {})".format(stream["lines_per_s"], stream["rate_runs"])
    if stream["rate_cut"]:
        rate += ", cut short by the %g s cap" % stream["cap_s"]
    if failed:
        rate += "; " + cell(stream.get("detail", ""))
    rows.append((rate_label, rate, "", "", rate_target,
                 verdict(not failed and not stream["rate_cut"]
                         and stream["lines_per_s"] >= STREAM_RATE_TARGET)))
    peaks = stream["peak_mib"]
    shown = []
    for size in sizes:
        key = str(size)
        if key not in peaks:
            shown.append("%s: not run" % millions(size))
        elif key in stream["cut"]:
            shown.append("%.2f MiB (cut short by the %g s cap after ~%s lines)"
                         % (peaks[key], stream["cap_s"], millions(stream["cut"][key])))
        else:
            shown.append("%.2f MiB" % peaks[key])
    complete = [peaks[str(n)] for n in sizes if str(n) in peaks and str(n) not in stream["cut"]]
    if len(complete) == len(sizes) and not failed:
        spread = max(complete) - min(complete)
        rows.append((rss_label, ", ".join(shown), "", "%+.2f MiB" % (complete[-1] - complete[0]),
                     rss_target, verdict(spread <= STREAM_RSS_SPREAD_MIB)))
    else:
        rows.append((rss_label, ", ".join(shown), "", "", rss_target, "**miss**"))
    return rows


def paste_rows(paste):
    """A large clipboard pasted into an octet field: the rise of the window's peak memory."""
    rows = []
    size = paste["bytes"]
    for name, what in (("digits", "digits"), ("dotted", '"1." repeated')):
        label = "Ctrl+V of %g MB of %s into an octet field: peak memory rise" % (size / 1e6, what)
        target = "≤ %g bytes per pasted byte" % PASTE_BYTES_PER_BYTE
        if name not in paste:
            rows.append((label, "not measured", "", "", target, "**miss**"))
            continue
        before, after = paste[name]["before_mib"], paste[name]["after_mib"]
        per_byte = (after - before) * 1024 * 1024 / size
        rows.append((label, "%.1f MiB (%.1f to %.1f MiB)" % (after - before, before, after), "",
                     "%.1f bytes per byte" % per_byte, target,
                     verdict(per_byte <= PASTE_BYTES_PER_BYTE)))
    return rows


def main():
    folder = sys.argv[1]
    rows = []
    with open(os.path.join(folder, "startup.json")) as f:
        startup = json.load(f)
    ours, peer = startup["maskora"], startup["ipqalc"]
    ratio = ours["startup_ms"] / peer["startup_ms"]
    rows.append(("Start-up through the command users run, launch to mapped window, median of %d"
                 % ours["runs"],
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

    with open(os.path.join(folder, "cli_call.json")) as f:
        call = json.load(f)
    rows.extend(call_rows(call))
    with open(os.path.join(folder, "cli_stream.json")) as f:
        stream = json.load(f)
    rows.extend(stream_rows(stream))

    with open(os.path.join(folder, "paste_memory.json")) as f:
        rows.extend(paste_rows(json.load(f)))

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
    print("Machine: %s; peers (Debian packages): ipqalc for the window, on Xvfb, and"
          " ipcalc-ng for the command line" % machine())
    print()
    print("| Figure | Maskora | Peer | Ratio | Target | Result |")
    print("|---|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")
    print()
    print("Commands measured: start-up `%s` against `%s`; one call `%s` against `%s`;"
          " stream `%s` pinned to processor %d, input from seed %d."
          % (startup["maskora"].get("command", "?"), startup["ipqalc"].get("command", "?"),
             call.get("maskora", {}).get("command", "?"),
             call.get("ipcalc-ng", {}).get("command", "?"), stream["command"], stream["cpu"],
             stream["seed"]))
    return 0


if __name__ == "__main__":
    sys.exit(main())

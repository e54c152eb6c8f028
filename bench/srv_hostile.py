#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Peak memory over idle and time to give up of one public-address request through the
libcurl client, against servers on 127.0.0.1 whose answers never end: an endless header
section and an endless status line (sent as fast as the client reads, without limit), with a
well-formed answer for reference. Each case runs in a fresh process, several times; the
medians are printed.

Usage: srv_hostile.py PATH/TO/srv_hostile [runs, default 5]
"""

import os
import re
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "sources"))
from test_servers import (FixedServer, HostileServer, find_tool, make_ca,  # noqa: E402
                          make_server_cert, response_with_head_of)

CASES = [
    ("well-formed answer (reference)", "fixed"),
    ("endless header section", "headers"),
    ("endless status line", "status"),
]
# The client must give up long before this; the server never ends the answer by itself.
UNBOUNDED = 1 << 62
TIMEOUT = 180


def main():
    program = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    openssl = find_tool("openssl")
    with tempfile.TemporaryDirectory(prefix="maskora-bench-") as folder:
        ca = make_ca(openssl, folder, "ca")
        cert = make_server_cert(openssl, folder, "server", ca, "IP:127.0.0.1")
        servers = {"fixed": FixedServer(cert, response_with_head_of(200)),
                   "headers": HostileServer(cert, "headers", cap=UNBOUNDED),
                   "status": HostileServer(cert, "status", cap=UNBOUNDED)}
        env = {k: v for k, v in os.environ.items()
               if k.lower() not in ("https_proxy", "all_proxy", "no_proxy")}
        print(f"srv_hostile: median of {runs} runs, one process each")
        print("| Answer | Peak memory over idle | Over the well-formed answer | Time to give up |"
              " Result |")
        print("|---|---|---|---|---|")
        reference = None
        for label, name in CASES:
            url = f"https://127.0.0.1:{servers[name].port}/homepage/zurarudo/scriptremoteip.asp?Rnd=1"
            peaks, times, results = [], [], set()
            for _ in range(runs):
                out = subprocess.run([program, url, ca[1]], env=env, capture_output=True,
                                     text=True, timeout=TIMEOUT, check=True).stdout
                fields = dict(re.findall(r"(\w+)=(\S+)", out))
                peaks.append(int(fields["peak_over_idle_kib"]))
                times.append(float(fields["give_up_ms"]))
                results.add(fields["result"])
            peak = statistics.median(peaks)
            reference = peak if reference is None else reference
            # What the server had pushed into the connection when the client closed it.
            sent = getattr(servers[name], "sent", [])
            note = f" (server wrote {statistics.median(sent) / 1024:.0f} KiB)" if sent else ""
            print(f"| {label} | {peak:.0f} KiB | {peak - reference:+.0f} KiB | "
                  f"{statistics.median(times):.0f} ms | {'/'.join(sorted(results))}{note} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())

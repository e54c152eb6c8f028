#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Runs a test program against a throwaway nginx and hostile servers on 127.0.0.1.

Makes a CA and certificates with openssl, starts nginx with its own prefix in a temporary
folder (one HTTPS server per scenario, each on a free port), the servers of test_servers.py
(answers that never end, a listener that never answers, a CONNECT proxy), runs the program
with the ports, the CA and the proxy's log in its environment, prints what the proxy was
asked, and stops nginx again by its process id.

Usage: with_nginx.py PROGRAM [ARGS...]
"""

import http.server
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time

from test_servers import (ConnectProxy, FixedServer, HostileServer, SilentListener, fail,
                          find_tool, free_ports, make_ca, make_server_cert,
                          response_with_head_of, run)

HERE = os.path.dirname(os.path.abspath(__file__))
DEPLOY_CONF = os.path.join(HERE, "..", "..", "deploy", "nginx-maskora.conf")
SCRIPT_PATH = "/homepage/zurarudo/scriptremoteip.asp"
SLOW_SECONDS = 3
SLOW_BODY = b"203.0.113.9"
BODY_LIMIT = 64 * 1024
HEADER_LIMIT = 64 * 1024
# A chain of redirects: /hop<n> sends to /hop<n-1>, and /hop0 answers.
HOPS = 8
PROGRAM_TIMEOUT = 600


def shipped_location():
    """The script's location block exactly as deploy/ ships it."""
    with open(DEPLOY_CONF) as f:
        text = f.read()
    match = re.search(r"location = " + re.escape(SCRIPT_PATH) + r" \{[^}]*\}", text)
    if not match:
        fail(f"no location for {SCRIPT_PATH} in {DEPLOY_CONF}")
    return match.group(0)


class SlowHandler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        time.sleep(SLOW_SECONDS)
        try:
            self.send_response(200)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", str(len(SLOW_BODY)))
            self.end_headers()
            self.wfile.write(SLOW_BODY)
        except (BrokenPipeError, ConnectionResetError):
            pass  # the client gave the request up, as a closed window does

    def log_message(self, *args):
        pass


def wait_until_listening(ports, nginx, deadline):
    for port in ports:
        while True:
            if nginx.poll() is not None:
                fail(f"nginx exited with {nginx.returncode} before it listened")
            try:
                with socket.create_connection(("127.0.0.1", port), timeout=1):
                    break
            except OSError:
                if time.monotonic() > deadline:
                    fail(f"nginx does not listen on 127.0.0.1:{port}")
                time.sleep(0.05)


def stop(nginx):
    if nginx.poll() is None:
        os.kill(nginx.pid, signal.SIGTERM)
        try:
            nginx.wait(timeout=10)
        except subprocess.TimeoutExpired:
            os.kill(nginx.pid, signal.SIGKILL)
            nginx.wait()


def main():
    if len(sys.argv) < 2:
        fail("usage: with_nginx.py PROGRAM [ARGS...]")
    nginx_path, openssl = find_tool("nginx"), find_tool("openssl")

    folder = tempfile.mkdtemp(prefix="maskora-nginx-")
    # nginx's workers drop root rights and must still reach the static bodies.
    os.chmod(folder, 0o755)
    backend = http.server.ThreadingHTTPServer(("127.0.0.1", 0), SlowHandler)
    backend.daemon_threads = True
    threading.Thread(target=backend.serve_forever, daemon=True).start()
    nginx = None
    try:
        ca = make_ca(openssl, folder, "ca")
        stranger = make_ca(openssl, folder, "unknown-ca")
        good = make_server_cert(openssl, folder, "server", ca, "IP:127.0.0.1,DNS:localhost")
        unknown = make_server_cert(openssl, folder, "stranger", stranger,
                                   "IP:127.0.0.1,DNS:localhost")
        misnamed = make_server_cert(openssl, folder, "misnamed", ca, "DNS:other.invalid")
        for name, size in (("limit", BODY_LIMIT), ("over", BODY_LIMIT + 1)):
            with open(os.path.join(folder, f"{name}.txt"), "wb") as f:
                f.write(b"1.2.3.4" + b"x" * (size - 7))
            os.chmod(os.path.join(folder, f"{name}.txt"), 0o644)

        names = ["SCRIPT", "REDIRECT", "CHAIN", "NOTFOUND", "PROXYAUTH", "EMPTY", "LIMIT", "OVER",
                 "SLOW", "UNKNOWNCA", "MISNAMED", "INSECURE", "PLAIN", "CLOSED", "PAC", "TLS12"]
        # Listening before the free ports are picked, so that nginx gets none of theirs.
        hostile = {f"ENDLESS{mode.upper()}": HostileServer(good, mode)
                   for mode in ("headers", "status", "body")}
        silent = SilentListener()
        fixed = {"HEADERSATLIMIT": FixedServer(good, response_with_head_of(HEADER_LIMIT)),
                 "HEADERSOVERLIMIT": FixedServer(good, response_with_head_of(HEADER_LIMIT + 1))}
        proxy = ConnectProxy(os.path.join(folder, "proxy.log"))
        ports = dict(zip(names, free_ports(len(names))))
        script = shipped_location()

        def https(name, body, cert=good):
            return (f"server {{\n listen 127.0.0.1:{ports[name]} ssl;\n"
                    f" ssl_certificate {cert[0]};\n ssl_certificate_key {cert[1]};\n"
                    f" {body}\n}}\n")

        def script_answers(directives):
            return (f"location = {SCRIPT_PATH} {{ default_type text/plain; {directives} }}")

        # Redirects name the host as the client did: an address or "localhost".
        servers = [
            https("SCRIPT", script),
            https("REDIRECT", script_answers(
                f"return 302 https://$host:{ports['SCRIPT']}$request_uri;")),
            https("CHAIN", " ".join(
                f"location = /hop{n} {{ return 302 https://$host:$server_port/hop{n - 1}; }}"
                for n in range(1, HOPS + 1)) +
                ' location = /hop0 { default_type text/plain; return 200 "127.0.0.1"; }'),
            https("NOTFOUND", script_answers('return 404 "Pagina non trovata.\\n";')),
            https("PROXYAUTH", script_answers('return 407 "Serve la password del proxy.\\n";')),
            https("EMPTY", script_answers('return 200 "";')),
            https("LIMIT", script_answers(f"alias {folder}/limit.txt;")),
            https("OVER", script_answers(f"alias {folder}/over.txt;")),
            https("SLOW", script_answers(
                f"proxy_pass http://127.0.0.1:{backend.server_address[1]};"
                " proxy_read_timeout 60s;")),
            https("UNKNOWNCA", script, unknown),
            https("MISNAMED", script, misnamed),
            https("INSECURE", script_answers(
                f"return 302 http://$host:{ports['PLAIN']}$request_uri;")),
            f"server {{\n listen 127.0.0.1:{ports['PLAIN']};\n {script}\n}}\n",
            https("TLS12", script + "\n ssl_protocols TLSv1.2;"),
            # A proxy configuration script that names the proxy for every URL.
            f"server {{\n listen 127.0.0.1:{ports['PAC']};\n location = /proxy.pac {{"
            " default_type application/x-ns-proxy-autoconfig; return 200 'function"
            f" FindProxyForURL(url, host) {{ return \"PROXY 127.0.0.1:{proxy.port}\"; }}'; }}\n}}\n",
        ]
        temp_paths = "".join(f" {kind}_temp_path {folder}/{kind}_temp;\n"
                             for kind in ("client_body", "proxy", "fastcgi", "uwsgi", "scgi"))
        conf = os.path.join(folder, "nginx.conf")
        with open(conf, "w") as f:
            f.write(f"worker_processes 1;\npid {folder}/nginx.pid;\n"
                    f"error_log {folder}/error.log warn;\n"
                    "events { worker_connections 64; }\n"
                    f"http {{\n access_log off;\n{temp_paths}" + "".join(servers) + "}\n")

        run(nginx_path, "-t", "-q", "-p", folder, "-c", conf, "-e", f"{folder}/error.log")
        nginx = subprocess.Popen([nginx_path, "-p", folder, "-c", conf, "-e",
                                  f"{folder}/error.log", "-g", "daemon off;"])
        wait_until_listening([p for n, p in ports.items() if n != "CLOSED"], nginx,
                             time.monotonic() + 15)

        ports.update({name: server.port for name, server in {**hostile, **fixed}.items()})
        ports["SILENT"] = silent.port
        # The program sets its own proxy where a test asks for one.
        env = {k: v for k, v in os.environ.items()
               if k.lower() not in ("https_proxy", "http_proxy", "all_proxy", "no_proxy")}
        env.update(MASKORA_TEST_CA=ca[1], MASKORA_TEST_PROXY_PORT=str(proxy.port),
                   MASKORA_TEST_PROXY_LOG=proxy.log_path)
        env.update({f"MASKORA_TEST_PORT_{name}": str(port) for name, port in ports.items()})
        result = subprocess.run(sys.argv[1:], env=env, timeout=PROGRAM_TIMEOUT)
        with open(proxy.log_path) as log:
            for line in log:
                print(f"with_nginx: the proxy on 127.0.0.1:{proxy.port} was asked: {line}",
                      end="")
        if result.returncode != 0:
            with open(os.path.join(folder, "error.log")) as log:
                sys.stderr.write(log.read())
        return result.returncode
    except subprocess.CalledProcessError as error:
        fail(f"{' '.join(error.cmd)} failed:\n{error.stderr.decode(errors='replace')}")
    finally:
        if nginx is not None:
            stop(nginx)
        backend.shutdown()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())

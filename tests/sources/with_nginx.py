#!/usr/bin/env python3
"""Runs a test program against a throwaway nginx on 127.0.0.1.

Makes a CA and certificates with openssl, starts nginx with its own prefix in a temporary
folder (one HTTPS server per scenario, each on a free port), runs the program with the ports
and the CA in its environment, and stops nginx again by its process id.

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

HERE = os.path.dirname(os.path.abspath(__file__))
DEPLOY_CONF = os.path.join(HERE, "..", "..", "deploy", "nginx-maskora.conf")
SCRIPT_PATH = "/homepage/zurarudo/scriptremoteip.asp"
SLOW_SECONDS = 3
SLOW_BODY = b"203.0.113.9"
BODY_LIMIT = 64 * 1024
PROGRAM_TIMEOUT = 300


def fail(message):
    print(f"with_nginx: {message}", file=sys.stderr)
    sys.exit(2)


def find_tool(name):
    path = shutil.which(name) or shutil.which(name, path="/usr/sbin:/usr/bin:/sbin:/bin")
    if not path:
        fail(f"{name} is missing; install the Debian packages nginx-light and openssl")
    return path


def free_ports(count):
    """Distinct ports that nothing listens on at the moment."""
    holders = []
    for _ in range(count):
        s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        s.bind(("127.0.0.1", 0))
        holders.append(s)
    ports = [s.getsockname()[1] for s in holders]
    for s in holders:
        s.close()
    return ports


def run(*command):
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)


def make_ca(openssl, folder, name):
    key, cert = os.path.join(folder, f"{name}.key"), os.path.join(folder, f"{name}.pem")
    run(openssl, "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
        "-nodes", "-keyout", key, "-out", cert, "-days", "2", "-subj", f"/CN=Maskora test {name}",
        "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    return key, cert


def make_server_cert(openssl, folder, name, ca, san):
    key, csr = os.path.join(folder, f"{name}.key"), os.path.join(folder, f"{name}.csr")
    cert, ext = os.path.join(folder, f"{name}.pem"), os.path.join(folder, f"{name}.ext")
    with open(ext, "w") as f:
        f.write(f"subjectAltName={san}\nbasicConstraints=CA:FALSE\n"
                "keyUsage=critical,digitalSignature\nextendedKeyUsage=serverAuth\n")
    cn = san.split(",")[0].split(":", 1)[1]
    run(openssl, "req", "-new", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
        "-nodes", "-keyout", key, "-out", csr, "-subj", f"/CN={cn}")
    run(openssl, "x509", "-req", "-in", csr, "-CA", ca[1], "-CAkey", ca[0], "-CAcreateserial",
        "-out", cert, "-days", "2", "-extfile", ext)
    return cert, key


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

        names = ["SCRIPT", "REDIRECT", "NOTFOUND", "EMPTY", "LIMIT", "OVER", "SLOW", "UNKNOWNCA",
                 "MISNAMED", "INSECURE", "PLAIN", "CLOSED"]
        ports = dict(zip(names, free_ports(len(names))))
        script = shipped_location()

        def https(name, body, cert=good):
            return (f"server {{\n listen 127.0.0.1:{ports[name]} ssl;\n"
                    f" ssl_certificate {cert[0]};\n ssl_certificate_key {cert[1]};\n"
                    f" {body}\n}}\n")

        def script_answers(directives):
            return (f"location = {SCRIPT_PATH} {{ default_type text/plain; {directives} }}")

        servers = [
            https("SCRIPT", script),
            https("REDIRECT", script_answers(
                f"return 302 https://127.0.0.1:{ports['SCRIPT']}$request_uri;")),
            https("NOTFOUND", script_answers('return 404 "Pagina non trovata.\\n";')),
            https("EMPTY", script_answers('return 200 "";')),
            https("LIMIT", script_answers(f"alias {folder}/limit.txt;")),
            https("OVER", script_answers(f"alias {folder}/over.txt;")),
            https("SLOW", script_answers(
                f"proxy_pass http://127.0.0.1:{backend.server_address[1]};"
                " proxy_read_timeout 60s;")),
            https("UNKNOWNCA", script, unknown),
            https("MISNAMED", script, misnamed),
            https("INSECURE", script_answers(
                f"return 302 http://127.0.0.1:{ports['PLAIN']}$request_uri;")),
            f"server {{\n listen 127.0.0.1:{ports['PLAIN']};\n {script}\n}}\n",
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

        env = dict(os.environ, MASKORA_TEST_CA=ca[1])
        env.update({f"MASKORA_TEST_PORT_{name}": str(port) for name, port in ports.items()})
        result = subprocess.run(sys.argv[1:], env=env, timeout=PROGRAM_TIMEOUT)
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

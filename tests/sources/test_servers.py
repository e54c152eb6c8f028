# SPDX-License-Identifier: MIT
"""Servers on 127.0.0.1 that the HTTP client's tests and benchmarks run against.

A throwaway certificate authority, hostile HTTPS servers that never end a part of their
response, a listener that never answers, and a CONNECT proxy that logs what it was asked.
Every server connects to nothing but 127.0.0.1 and stops with the process (daemon threads).
"""

import os
import select
import shutil
import socket
import ssl
import subprocess
import sys
import threading
import time

CHUNK = 64 * 1024
REQUEST_HEAD_LIMIT = 16 * 1024
# Hostile modes: what is sent first, then the piece that is repeated without end.
HOSTILE = {
    "headers": (b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n",
                b"X-Filler: " + b"a" * 54 + b"\r\n"),
    "status": (b"HTTP/1.1 200 ", b"O" * 64),
    "body": (b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n"
             b"203.0.113.7", b"x" * 64),
}


def fail(message):
    print(f"test_servers: {message}", file=sys.stderr)
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
    """(certificate, key) for the subject alternative names san, signed by ca."""
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


def read_head(conn):
    """The request head, up to the empty line; what a client sends is small."""
    data = b""
    while b"\r\n\r\n" not in data and len(data) < REQUEST_HEAD_LIMIT:
        piece = conn.recv(4096)
        if not piece:
            break
        data += piece
    return data


def serve(listener, handle):
    def accept_loop():
        while True:
            try:
                conn, _ = listener.accept()
            except OSError:
                return
            threading.Thread(target=handle, args=(conn,), daemon=True).start()
    threading.Thread(target=accept_loop, daemon=True).start()


def listen():
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    s.bind(("127.0.0.1", 0))
    s.listen(16)
    return s


class HostileServer:
    """An HTTPS server whose answer never ends the part that mode names: it sends as fast as
    the client reads, up to cap bytes, then holds the connection open for hold seconds, so a
    client without a bound of its own waits for its time-out. sent lists each connection's
    byte count once it has ended."""

    def __init__(self, cert, mode, cap=8 * 1024 * 1024, hold=150):
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(*cert)
        self.first, piece = HOSTILE[mode]
        self.chunk = piece * (CHUNK // len(piece))
        self.cap, self.hold = cap, hold
        self.sent = []
        self.listener = listen()
        self.port = self.listener.getsockname()[1]
        serve(self.listener, self.handle)

    def handle(self, raw):
        sent = 0
        try:
            with self.context.wrap_socket(raw, server_side=True) as conn:
                read_head(conn)
                conn.sendall(self.first)
                while sent < self.cap:
                    conn.sendall(self.chunk)
                    sent += len(self.chunk)
                conn.settimeout(self.hold)
                conn.recv(1)
        except (OSError, ssl.SSLError):
            pass
        finally:
            self.sent.append(sent)


def response_with_head_of(size, body=b"127.0.0.1"):
    """A complete response whose status line and header lines, the empty line included,
    take exactly size bytes."""
    head = (b"HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n"
            b"Content-Length: %d\r\n" % len(body))
    filler = b"X-Filler: " + b"a" * 1000 + b"\r\n"
    while len(head) + len(filler) + 2 <= size:
        head += filler
    rest = size - len(head) - 2
    if rest > 0:
        head += b"X-Last: " + b"b" * (rest - 10) + b"\r\n"
    head += b"\r\n"
    assert len(head) == size, (len(head), size)
    return head + body


class FixedServer:
    """An HTTPS server that answers every request with the same bytes, then closes."""

    def __init__(self, cert, response):
        self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        self.context.load_cert_chain(*cert)
        self.response = response
        self.listener = listen()
        self.port = self.listener.getsockname()[1]
        serve(self.listener, self.handle)

    def handle(self, raw):
        try:
            with self.context.wrap_socket(raw, server_side=True) as conn:
                read_head(conn)
                conn.sendall(self.response)
        except (OSError, ssl.SSLError):
            pass


class SilentListener:
    """Accepts connections in the kernel's backlog and never says a word."""

    def __init__(self):
        self.listener = listen()
        self.port = self.listener.getsockname()[1]


class ConnectProxy:
    """An HTTP proxy that only tunnels (CONNECT) to 127.0.0.1 and writes one line per request
    to log_path: "CONNECT host:port"."""

    def __init__(self, log_path):
        self.log_path = log_path
        self.lock = threading.Lock()
        self.listener = listen()
        self.port = self.listener.getsockname()[1]
        open(log_path, "w").close()
        serve(self.listener, self.handle)

    def handle(self, client):
        with client:
            head = read_head(client)
            request = head.split(b"\r\n", 1)[0].decode("latin-1")
            with self.lock, open(self.log_path, "a") as log:
                log.write(request.rsplit(" ", 1)[0] + "\n")
            method, _, target = request.partition(" ")
            host, _, port = target.split(" ")[0].rpartition(":")
            if method != "CONNECT" or host not in ("127.0.0.1", "localhost") or \
                    not port.isdigit():
                client.sendall(b"HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\n\r\n")
                return
            try:
                upstream = socket.create_connection(("127.0.0.1", int(port)), timeout=10)
            except OSError:
                client.sendall(b"HTTP/1.1 502 Bad Gateway\r\nContent-Length: 0\r\n\r\n")
                return
            with upstream:
                client.sendall(b"HTTP/1.1 200 Connection established\r\n\r\n")
                self.pipe(client, upstream)

    @staticmethod
    def pipe(a, b):
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            ready, _, _ = select.select([a, b], [], [], 1)
            for source in ready:
                data = source.recv(CHUNK)
                if not data:
                    return
                (b if source is a else a).sendall(data)

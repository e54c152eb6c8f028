# SPDX-License-Identifier: MIT
"""Runs the built program from a terminal without a display: the answers of --help, --version,
--print and --json, streams through real pipes, --split and --range, and the one-line errors
with exit status 2 that open no window.

Usage: command_line.py PATH_TO_MASKORA PATH_TO_FORM1_JSON VERSION
"""
import json
import os
import signal
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from screen import load_description  # noqa: E402


class Failure(Exception):
    pass


def run(program, *arguments, stdout=subprocess.PIPE):
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    return subprocess.run([program, *arguments], env=env, stdout=stdout,
                          stderr=subprocess.PIPE, text=True, timeout=20)


def expect(result, status, what):
    if result.returncode != status:
        raise Failure("%s: exit %d, wanted %d; stderr %r" % (what, result.returncode, status,
                                                              result.stderr))


def result_labels(description):
    """Each result field's name with the caption of the label before it, in the window's
    order."""
    labels, caption = [], None
    for key, control in description["controls"].items():
        if control["kind"] == "label":
            caption = control["caption"].strip()
        elif control["kind"] == "result":
            labels.append((key, caption))
    return labels


def check(program, description, version):
    for option in ("--help", "-h"):
        answer = run(program, option)
        expect(answer, 0, option)
        for word in ("--print", "--json", "--split", "--range", "--help", "--version", "ADDRESS"):
            if word not in answer.stdout:
                raise Failure("%s does not mention %s: %r" % (option, word, answer.stdout))
    answer = run(program, "--version")
    expect(answer, 0, "--version")
    if answer.stdout != "maskora %s\n" % version:
        raise Failure("--version answered %r" % answer.stdout)

    # The results for 10.1.2.3/8, labelled as the window labels them.
    wanted = {"txtStato": "Valido", "txtTipo": "Privato", "txtClasse": "A - ( 8 ) 255.0.0.0",
              "txtBroadcast": "10.255.255.255", "txtHosts": "16.777.214",
              "txtNetwork": "10.0.0.0"}
    for arguments in (["--print", "10.1.2.3/8"], ["10.1.2.3", "255.0.0.0", "--print"]):
        answer = run(program, *arguments)
        expect(answer, 0, " ".join(arguments))
        lines = answer.stdout.splitlines()
        shown = [(label, line[len(label):].strip()) for (_, label), line
                 in zip(result_labels(description), lines) if line.startswith(label)]
        if shown != [(label, wanted[key]) for key, label in result_labels(description)]:
            raise Failure("%s printed %r" % (" ".join(arguments), answer.stdout))
    answer = run(program, "--json", "10.1.2.3 255.255.0.0")
    expect(answer, 0, "--json")
    printed = json.loads(answer.stdout)
    if (printed["address"], printed["prefix"], printed["mask"], printed["network"],
            printed["hosts"]) != ("10.1.2.3", 16, "255.255.0.0", "10.1.0.0", "65.534"):
        raise Failure("--json printed %r" % answer.stdout)

    check_streams(program)

    # Errors: one line on standard error, nothing on standard output, exit 2. Without a display
    # a window would have given exit 1.
    for arguments in (["10.1.2"], ["256.1.2.3/8"], ["--print", "1.2.3.4/33"],
                      ["1.2.3.4/255.0.255.0"], ["--print"], ["--json"], ["--bogus"],
                      ["-platform", "xcb"], ["1.2.3.4.5"], ["--split", "7", "10.0.0.0/8"],
                      ["--range", "10.0.0.9-10.0.0.1"], ["--print", "\x1b]0;x\x07\n" * 1000]):
        answer = run(program, *arguments)
        expect(answer, 2, " ".join(arguments))
        if answer.stdout or answer.stderr.count("\n") != 1 or \
                not answer.stderr.startswith("maskora: "):
            raise Failure("%s: stdout %r, stderr %r" % (" ".join(arguments), answer.stdout,
                                                        answer.stderr))
    answer = run(program, "10.1.2.3/8")
    expect(answer, 1, "an address without a display")
    with open("/dev/full", "w") as full:
        expect(run(program, "--help", stdout=full), 1, "--help into a full disk")


def check_streams(program):
    # Every prefix of a few addresses through one stream: each line is a JSON object that a
    # real parser reads, whose numbers agree with its texts.
    addresses = ["0.0.0.0", "10.1.2.3", "127.0.0.1", "172.16.255.255", "192.168.1.10",
                 "224.0.0.1", "255.255.255.255"]
    lines = ["%s/%d" % (a, p) for a in addresses for p in range(33)]
    answer = subprocess.run([program, "--json", "-"], input="\r\n".join(lines) + "\r\n",
                            capture_output=True, text=True, timeout=20)
    expect(answer, 0, "--json - with every prefix")
    objects = [json.loads(line) for line in answer.stdout.splitlines()]
    if len(objects) != len(lines):
        raise Failure("%d answers for %d lines" % (len(objects), len(lines)))
    for line, o in zip(lines, objects):
        size = 2 ** (32 - o["prefix"])
        usable = size - 2 if o["prefix"] <= 30 else size
        if (o["addresses"], o["usable_hosts"]) != (size, usable) or \
                "%s/%d" % (o["address"], o["prefix"]) != line:
            raise Failure("%s answered %r" % (line, o))

    # A reader that goes away after one line: the program ends at once, saying nothing, also
    # when it inherits SIGPIPE ignored (as Python ignores it).
    with tempfile.TemporaryFile("w+") as big:
        big.write("10.1.2.3/8\n" * 200000)
        big.seek(0)
        for arguments, source in ((["--json", "-"], big), (["--split", "32", "0.0.0.0/0"], None)):
            child = subprocess.Popen([program, *arguments], stdin=source, restore_signals=False,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            child.stdout.readline()
            child.stdout.close()
            try:
                child.wait(timeout=10)
            except subprocess.TimeoutExpired:
                child.kill()
                raise Failure("%s went on after its reader had gone" % " ".join(arguments))
            errors = child.stderr.read()
            if child.returncode not in (-signal.SIGPIPE, 141) or errors:
                raise Failure("%s ended with %d, saying %r" % (" ".join(arguments),
                                                               child.returncode, errors))


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    try:
        check(os.path.abspath(sys.argv[1]), load_description(sys.argv[2]), sys.argv[3])
    except (Failure, subprocess.SubprocessError) as error:
        print("command line: FAILED: %s" % error, file=sys.stderr)
        return 1
    print("command line: passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())

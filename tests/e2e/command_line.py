"""The program's own answers, with no display at all: --help and --version, and their
short forms -h and -v, print on standard output, nothing on standard error, and end with
status 0, wherever they stand among GLUT's arguments; an answer that cannot be written ends with status 1; every other
argument is GLUT's, which then fails for want of a display as it would without them."""

import os
import subprocess
import sys

from e2elib import check, game_environment, log

STAGE = sys.argv[1]
PROGRAM = os.path.join(STAGE, "slot-machine")


def run_program(*args, stdout=subprocess.PIPE):
    env = game_environment()
    env.pop("DISPLAY", None)
    result = subprocess.run([PROGRAM, *args], stdin=subprocess.DEVNULL, stdout=stdout, stderr=subprocess.PIPE,
                            env=env, timeout=30)
    out = result.stdout.decode(errors="replace") if result.stdout is not None else ""
    return result.returncode, out, result.stderr.decode(errors="replace")


def main():
    status, version, err = run_program("--version")
    check((status, err) == (0, "") and version.startswith("slot-machine ") and version.count("\n") == 1,
          f"--version: status {status}, out {version!r}, err {err!r}")
    log(f"--version: {version.strip()!r}, status 0")

    status, out, err = run_program("-display", ":999", "--help", "-iconic")
    lines = out.splitlines()
    check((status, err) == (0, "") and lines[0].startswith("Usage: slot-machine") and "  Space " in out,
          f"--help: status {status}, err {err!r}, out:\n{out}")
    log(f"--help among GLUT's arguments: {len(lines)} lines, status 0")

    for short, long_out in (("-v", version), ("-h", out)):
        status, short_out, err = run_program("-iconic", short)
        check((status, err, short_out) == (0, "", long_out),
              f"{short}: status {status}, err {err!r}, out {short_out!r}")
    log("-v and -h answer as --version and --help, status 0")

    with open("/dev/full", "w") as full:
        status, _, err = run_program("--help", stdout=full)
    check(status == 1, f"--help into a full device ended with status {status}")
    log("--help into a full device: status 1")

    status, out, err = run_program("-display", ":999")
    check(status != 0 and ":999" in err and out == "", f"-display :999 alone: status {status}, out {out!r}, err {err!r}")
    log(f"-display :999 goes to GLUT, which says: {err.strip().splitlines()[0]!r}")
    log("command_line: passed")


if __name__ == "__main__":
    try:
        main()
    except Exception as failure:  # noqa: BLE001 - any failure is the test's
        log(f"command_line: FAILED: {failure}")
        sys.exit(1)

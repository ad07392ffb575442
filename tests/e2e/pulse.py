"""A PulseAudio server of a test's own, to play the game on: a null sink recorded from its
monitor with parec, a private socket, and signals to hang it, resume it or kill it."""

import os
import shutil
import signal
import subprocess
import tempfile
import threading
import time

from e2elib import _die_with_parent, check, run_tool, wait_for

RATE = 44100
CHUNK = RATE // 20  # frames parec's output is looked at in: 50 ms
HEARD = 0.02  # a peak above this, as a fraction of full scale, is the game heard (its sounds peak at 0.1 to 0.24)


class SoundServer:
    """A PulseAudio server with one null sink, `slot`, listening on a socket in a folder of
    its own; what reaches the sink is read from its monitor by parec while it runs. The
    server can be started again (on the same socket) after it was killed."""

    def __init__(self):
        self.folder = folder = tempfile.mkdtemp(prefix="slot-pulse-")
        self.socket = os.path.join(folder, "native")
        self.config = os.path.join(folder, "server.pa")
        with open(self.config, "w") as f:
            f.write("load-module module-null-sink sink_name=slot rate=44100 channels=2\n"
                    f"load-module module-native-protocol-unix socket={self.socket} auth-anonymous=1\n"
                    "set-default-sink slot\n")
        self.proc = None
        self.watcher = None
        self.recorder = None
        self.streams = []  # arrival times of the playback streams the server was given
        self.peaks = []  # (arrival time, peak) of each chunk recorded
        self.lock = threading.Lock()
        # The server's own files stay in the folder; no X display for it to publish on.
        self.env = {k: v for k, v in os.environ.items() if k != "DISPLAY"}
        self.env.update(HOME=folder, XDG_CONFIG_HOME=os.path.join(folder, "config"),
                        XDG_RUNTIME_DIR=os.path.join(folder, "runtime"),
                        PULSE_RUNTIME_PATH=os.path.join(folder, "runtime"), PULSE_STATE_PATH=os.path.join(folder, "state"))
        self.client_env = dict(self.env, PULSE_SERVER=f"unix:{self.socket}")

    def start(self):
        """Starts the server and its recorder; returns once both run, the time the server
        was started."""
        launched = time.monotonic()
        with open(os.path.join(self.folder, "server.log"), "ab") as log_file:
            self.proc = subprocess.Popen(
                ["pulseaudio", "--system=false", "-n", "-F", self.config, "--daemonize=no", "--exit-idle-time=-1",
                 "--use-pid-file=no", "--log-target=stderr"], env=self.env, stdin=subprocess.DEVNULL,
                stdout=log_file, stderr=log_file, preexec_fn=_die_with_parent)

        def answers():
            check(self.proc.poll() is None, f"the sound server ended with status {self.proc.poll()}")
            return run_tool("pactl", "info", env=self.client_env)[0] == 0

        wait_for(answers, 30, "the sound server to answer")
        answered = time.monotonic()
        self.watcher = subprocess.Popen(["pactl", "subscribe"], env=self.client_env, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        threading.Thread(target=self._watch, args=(self.watcher,), daemon=True).start()
        # A null sink that nothing plays on renders 2 s at a time, so the recorder hears
        # nothing of about the first 2 s after the server starts: the first chunk waits.
        self.recorder = subprocess.Popen(
            ["parec", "-d", "slot.monitor", "--raw", "--format=s16le", f"--rate={RATE}", "--channels=2",
             "--latency-msec=20"], env=self.client_env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL, preexec_fn=_die_with_parent)
        threading.Thread(target=self._record, args=(self.recorder,), daemon=True).start()
        wait_for(lambda: self.peaks and self.peaks[-1][0] > answered, 30, "the recorder's first sound")
        return launched

    def _record(self, recorder):
        size = CHUNK * 4
        while True:
            data = recorder.stdout.read(size)
            if not data:
                return
            samples = memoryview(data[:len(data) // 2 * 2]).cast("h")
            peak = max(max(samples), -min(samples)) / 32768.0 if len(samples) else 0.0
            with self.lock:
                self.peaks.append((time.monotonic(), peak))

    def _watch(self, watcher):
        for line in watcher.stdout:
            if b"'new' on sink-input" in line:
                with self.lock:
                    self.streams.append(time.monotonic())

    def stream_since(self, since):
        """When the first playback stream after `since` reached the server, or None."""
        with self.lock:
            return next((t for t in self.streams if t > since), None)

    def heard_since(self, since):
        """The arrival time of the first loud chunk after `since`, or None."""
        with self.lock:
            return next((t for t, peak in self.peaks if t > since and peak > HEARD), None)

    def stop(self):
        """SIGSTOP: the server hangs with its socket open."""
        self.proc.send_signal(signal.SIGSTOP)

    def resume(self):
        self.proc.send_signal(signal.SIGCONT)

    def kill(self):
        """SIGKILL, and its clients go with it."""
        self.proc.kill()
        self.proc.wait()
        for client in (self.watcher, self.recorder):
            client.kill()
            client.wait()

    def cleanup(self):
        for proc in (self.watcher, self.recorder, self.proc):
            if proc is not None and proc.poll() is None:
                proc.send_signal(signal.SIGCONT)
                proc.kill()
                proc.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


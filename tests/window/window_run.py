"""What the real-window tests share: the program copied into a scratch folder and started
there (or an installed program started as its menu entry starts it), waiting for X windows,
and the orderly end that must write the save file."""
import os
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from Xlib import X


def wait_for(predicate, seconds, what):
    end = time.time() + seconds
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    sys.exit(f"FAIL: timed out waiting for {what}")


def viewable_windows(d):
    found = []
    for w in d.screen().root.query_tree().children:
        try:
            if w.get_attributes().map_state == X.IsViewable:
                found.append(w)
        except Exception:
            pass
    return found


def named(d, name, ignore=()):
    return [w for w in viewable_windows(d) if w.id not in ignore and w.get_wm_name() == name]


def entry_command(desktop_entry):
    """The command line of a desktop entry's Exec key, without its field codes."""
    with open(desktop_entry, encoding="utf-8") as f:
        for line in f:
            if line.startswith("Exec="):
                return [a for a in shlex.split(line[5:].strip()) if not a.startswith("%")]
    sys.exit(f"FAIL: {desktop_entry} has no Exec line")


class ProgramRun:
    """The program in a scratch folder: with the built data set linked in when `data` is
    given, else an empty DATA folder. With `in_place`, the program runs where it was built,
    on the build's own DATA folder, as a learner starting it from the build would.
    Killed, and the scratch folder removed, on leaving the `with` block."""

    def __init__(self, exe, data=None, in_place=False, desktop_entry=None):
        self.scratch = tempfile.mkdtemp(prefix="sw-window-")
        self.installed = desktop_entry is not None
        if self.installed:
            self.command = entry_command(desktop_entry)
            self.work = os.path.expanduser("~")
        elif in_place:
            self.exe = os.path.abspath(exe)
            self.work = os.path.dirname(self.exe)
            self.command = [self.exe]
        else:
            self.work = self.scratch
            self.exe = os.path.join(self.work, "stonewell")
            shutil.copy(exe, self.exe)
            self.command = [self.exe]
            os.makedirs(os.path.join(self.work, "DATA"))
            if data is not None:
                os.makedirs(os.path.join(self.work, "DATA", "SAVE"))
                for sub in ("IMG", "SOUND", "DATA"):
                    os.symlink(os.path.join(data, sub), os.path.join(self.work, "DATA", sub))
        self.proc = None

    def __enter__(self):
        return self

    def start(self):
        if self.installed:
            # The learner's own folders, as the desktop hands them over.
            env = dict(os.environ, SDL_AUDIODRIVER="dummy")
        else:
            env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(self.scratch, "config"),
                       XDG_DATA_HOME=os.path.join(self.scratch, "share"), SDL_AUDIODRIVER="dummy")
        self.proc = subprocess.Popen(self.command, cwd=self.work, env=env)

    def save_path(self):
        if self.installed:
            data_home = os.environ.get("XDG_DATA_HOME") or os.path.expanduser("~/.local/share")
            return os.path.join(data_home, "stonewell", "setting.dat")
        return os.path.join(self.work, "DATA", "SAVE", "setting.dat")

    def end_orderly(self):
        """A termination request ends the program through its exit processing."""
        self.proc.send_signal(signal.SIGTERM)
        code = self.proc.wait(timeout=15)
        assert code == 0, f"exit code {code}"
        save = self.save_path()
        assert os.path.getsize(save) == 28976, "the exit processing writes the save file"

    def __exit__(self, *exc):
        if self.proc is not None and self.proc.poll() is None:
            self.proc.kill()
        shutil.rmtree(self.scratch, ignore_errors=True)
        return False

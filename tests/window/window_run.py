"""What the real-window tests share: the program started in a scratch folder (or an installed
one as its menu entry starts it), waiting for X windows, and the orderly end."""
import os
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from Xlib import X, XK, protocol
from Xlib.ext import xtest


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
            pass  # closed meanwhile
    return found


def named(d, name, ignore=()):
    return [w for w in viewable_windows(d) if w.id not in ignore and w.get_wm_name() == name]


def type_keys(d, *keys):
    for key in keys:
        code = d.keysym_to_keycode(XK.string_to_keysym(key))
        xtest.fake_input(d, X.KeyPress, code)
        xtest.fake_input(d, X.KeyRelease, code)
        d.sync()
        time.sleep(0.3)


def ask_to_close(d, window, before, seconds=10):
    """The window manager's close request; the question window that opens gets the focus."""
    protocols, delete = d.intern_atom("WM_PROTOCOLS"), d.intern_atom("WM_DELETE_WINDOW")
    window.send_event(protocol.event.ClientMessage(
        window=window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])))
    d.flush()
    ours = before | {window.id}
    question = wait_for(lambda: [w for w in viewable_windows(d) if w.id not in ours and
                                 w.get_geometry().width > 50], seconds, "the close question")[0]
    question.set_input_focus(X.RevertToParent, X.CurrentTime)
    d.sync()


class ProgramRun:
    """The program copied into a scratch folder with an empty DATA folder, or the built data
    set linked in when `data` is given; with `in_place` it runs where it was built, on the
    build's own data, as a learner would. Killed and cleaned up on leaving the `with` block."""

    def __init__(self, exe, data=None, in_place=False, desktop_entry=None):
        self.scratch = tempfile.mkdtemp(prefix="sw-window-")
        self.installed = desktop_entry is not None
        self.proc = None
        if self.installed:
            with open(desktop_entry, encoding="utf-8") as f:
                exec_line = next((l[5:] for l in f if l.startswith("Exec=")), None)
            if exec_line is None:
                sys.exit(f"FAIL: {desktop_entry} has no Exec line")
            self.command = [a for a in shlex.split(exec_line.strip()) if not a.startswith("%")]
            self.work = os.path.expanduser("~")
            return
        self.work = os.path.dirname(os.path.abspath(exe)) if in_place else self.scratch
        self.command = [os.path.abspath(exe) if in_place else os.path.join(self.work, "stonewell")]
        if not in_place:
            shutil.copy(exe, self.command[0])
            os.makedirs(os.path.join(self.work, "DATA"))
            if data is not None:
                os.makedirs(os.path.join(self.work, "DATA", "SAVE"))
                for sub in ("IMG", "SOUND", "DATA"):
                    os.symlink(os.path.join(data, sub), os.path.join(self.work, "DATA", sub))

    def __enter__(self):
        return self

    def start(self):
        env = dict(os.environ, SDL_AUDIODRIVER="dummy")
        if not self.installed:  # else the learner's own folders, as the desktop hands them over
            env.update(XDG_CONFIG_HOME=os.path.join(self.scratch, "config"),
                       XDG_DATA_HOME=os.path.join(self.scratch, "share"))
        self.proc = subprocess.Popen(self.command, cwd=self.work, env=env)

    def end_orderly(self):
        """A termination request ends the program through its exit processing."""
        self.proc.send_signal(signal.SIGTERM)
        code = self.proc.wait(timeout=15)
        assert code == 0, f"exit code {code}"
        if self.installed:
            home = os.environ.get("XDG_DATA_HOME") or os.path.expanduser("~/.local/share")
            save = os.path.join(home, "stonewell", "setting.dat")
        else:
            save = os.path.join(self.work, "DATA", "SAVE", "setting.dat")
        assert os.path.getsize(save) == 28976, "the exit processing writes the save file"

    def __exit__(self, *exc):
        if self.proc is not None and self.proc.poll() is None:
            self.proc.kill()
        shutil.rmtree(self.scratch, ignore_errors=True)
        return False

#!/usr/bin/python3
"""The real window under Xvfb: it opens at 1024 x 768, asks before closing, stays open when
the answer is No, and a termination request still ends it through the exit processing (the
save file is written). Usage: close_question.py PATH-TO-stonewell (DISPLAY must be set)."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from Xlib import X, XK, display, protocol
from Xlib.ext import xtest


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


def wait_for(predicate, seconds, what):
    end = time.time() + seconds
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    sys.exit(f"FAIL: timed out waiting for {what}")


def main():
    exe = sys.argv[1]
    work = tempfile.mkdtemp(prefix="sw-window-")
    proc = None
    try:
        shutil.copy(exe, os.path.join(work, "stonewell"))
        os.makedirs(os.path.join(work, "DATA"))
        env = dict(os.environ, XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_DATA_HOME=os.path.join(work, "share"), SDL_AUDIODRIVER="dummy")
        d = display.Display()
        # Only windows that appear after the start count (another client may share the display).
        before = {w.id for w in viewable_windows(d)}
        proc = subprocess.Popen([os.path.join(work, "stonewell")], env=env)

        main_window = wait_for(lambda: named(d, "Stonewell", before), 15, "the main window")[0]
        geometry = main_window.get_geometry()
        assert (geometry.width, geometry.height) == (1024, 768), geometry

        # The window manager's close request.
        delete = d.intern_atom("WM_DELETE_WINDOW")
        protocols = d.intern_atom("WM_PROTOCOLS")
        event = protocol.event.ClientMessage(window=main_window, client_type=protocols,
                                             data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        main_window.send_event(event)
        d.flush()

        # The question is a new top-level window over the main one.
        ours = before | {main_window.id}
        question = wait_for(lambda: [w for w in viewable_windows(d) if w.id not in ours], 10,
                            "the close question")[0]
        assert proc.poll() is None, "the program must not close before the answer"

        # Enter answers with the default button, No.
        question.set_input_focus(X.RevertToParent, X.CurrentTime)
        d.sync()
        keycode = d.keysym_to_keycode(XK.string_to_keysym("Return"))
        xtest.fake_input(d, X.KeyPress, keycode)
        xtest.fake_input(d, X.KeyRelease, keycode)
        d.sync()
        wait_for(lambda: {w.id for w in viewable_windows(d)} - before == {main_window.id}, 10,
                 "the question to close")
        time.sleep(1.0)
        assert proc.poll() is None, "answering No keeps the program running"

        proc.send_signal(signal.SIGTERM)
        code = proc.wait(timeout=15)
        assert code == 0, f"exit code {code}"
        save = os.path.join(work, "DATA", "SAVE", "setting.dat")
        assert os.path.getsize(save) == 28976, "the exit processing writes the save file"
        print("PASS: window 1024x768, close question answered No, orderly exit")
    finally:
        if proc is not None and proc.poll() is None:
            proc.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()

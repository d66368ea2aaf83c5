#!/usr/bin/python3
"""The real window under Xvfb opens at 1024 x 768, asks before closing, stays open when the
answer is No, and a termination request still ends it through the exit processing.
Usage: close_question.py PATH-TO-stonewell (DISPLAY must be set)."""
import sys
import time

from Xlib import X, XK, display, protocol
from Xlib.ext import xtest

from window_run import ProgramRun, named, viewable_windows, wait_for

with ProgramRun(sys.argv[1]) as run:
    d = display.Display()
    before = {w.id for w in viewable_windows(d)}  # another client may share the display
    run.start()
    main_window = wait_for(lambda: named(d, "Stonewell", before), 15, "the main window")[0]
    geometry = main_window.get_geometry()
    assert (geometry.width, geometry.height) == (1024, 768), geometry

    protocols, delete = d.intern_atom("WM_PROTOCOLS"), d.intern_atom("WM_DELETE_WINDOW")
    main_window.send_event(protocol.event.ClientMessage(
        window=main_window, client_type=protocols, data=(32, [delete, X.CurrentTime, 0, 0, 0])))
    d.flush()
    ours = before | {main_window.id}
    question = wait_for(lambda: [w for w in viewable_windows(d) if w.id not in ours], 10,
                        "the close question")[0]
    assert run.proc.poll() is None, "the program must not close before the answer"

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
    assert run.proc.poll() is None, "answering No keeps the program running"
    run.end_orderly()
    print("PASS: window 1024x768, close question answered No, orderly exit")

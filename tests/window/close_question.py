#!/usr/bin/python3
"""The real window under Xvfb opens at 1024 x 768, asks before closing, stays open when the
answer is No, and a termination request still ends it through the exit processing.
Usage: close_question.py PATH-TO-stonewell (DISPLAY must be set)."""
import sys
import time

from Xlib import display

from window_run import ProgramRun, ask_to_close, named, type_keys, viewable_windows, wait_for

with ProgramRun(sys.argv[1]) as run:
    d = display.Display()
    before = {w.id for w in viewable_windows(d)}  # another client may share the display
    run.start()
    main_window = wait_for(lambda: named(d, "Stonewell", before), 15, "the main window")[0]
    geometry = main_window.get_geometry()
    assert (geometry.width, geometry.height) == (1024, 768), geometry

    ask_to_close(d, main_window, before)
    assert run.proc.poll() is None, "the program must not close before the answer"
    type_keys(d, "Return")  # the default button, No
    wait_for(lambda: {w.id for w in viewable_windows(d)} - before == {main_window.id}, 10,
             "the question to close")
    time.sleep(1.0)
    assert run.proc.poll() is None, "answering No keeps the program running"
    run.end_orderly()
    print("PASS: window 1024x768, close question answered No, orderly exit")

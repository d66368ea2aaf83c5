#!/usr/bin/python3
"""The installed Windows program under wine and Xvfb, as a learner uses it: started, lesson
1-3 played to its end with the wheel, problem 1 of section 1-3 solved by clicks (each screen
compared with the reviewed pictures of the headless cases), the window closed and the close
question answered Yes; the save file is then whole. Started again, the problem list shows
problem 1 solved, and the program closes with Yes once more. DISPLAY and WINEPREFIX must be
set (scripts/windows/install-test does both).
  wine_installed_run.py PROGRAM.EXE SAVE-FILE REFERENCE-DIR
PROGRAM.EXE is the installed program's Windows path, SAVE-FILE the progress file it keeps."""
import os
import shutil
import subprocess
import sys
import time

from Xlib import X, display
from Xlib.ext import xtest

from PIL import Image, ImageChops

from newcomer_run import CHANNEL_TOLERANCE, Window, expect_screen, solve_first_problem
from window_run import ask_to_close, named, type_keys, viewable_windows, wait_for

SAVE_SIZE = 28976
LESSON_PAGES = 17  # lesson 1-3


def start(exe):
    wine = shutil.which("wine64") or shutil.which("wine")
    return subprocess.Popen([wine, exe], env=dict(os.environ, SDL_AUDIODRIVER="dummy"))


def open_window(d, before):
    # wine may take a while to start a program in a new prefix
    wait_for(lambda: named(d, "Stonewell", before), 90, "the main window")
    return Window(d, before)


def wheel(window, button, turns):
    xtest.fake_input(window.d, X.MotionNotify, x=window.left + 500, y=window.top + 400)
    for _ in range(turns):
        xtest.fake_input(window.d, X.ButtonPress, button)
        xtest.fake_input(window.d, X.ButtonRelease, button)
        window.d.sync()
        time.sleep(0.06)


def close_with_yes(d, window, proc, before):
    """The window manager's close, then Yes: the question's default is No, Tab moves to Yes."""
    ask_to_close(d, window.w, before, 15)
    type_keys(d, "Tab", "space")
    if proc.wait(timeout=20) != 0:
        sys.exit(f"FAIL: the program ended with {proc.returncode}")


def lesson_button_finished(window, reference):
    """The main menu as the reference shows it, but for lesson 1-3's button: its finished look."""
    want = Image.open(os.path.join(reference, "main_menu.png")).convert("RGB")
    end = time.time() + 30
    while time.time() < end:
        diff = ImageChops.difference(window.frame(), want).convert("L")
        mask = diff.point(lambda v: 255 if v > CHANNEL_TOLERANCE else 0)
        box = mask.getbbox()
        # Inside the button's box (653..779 x 372..422), and more than stray pixels.
        if box is not None and mask.histogram()[255] > 200 and box[0] >= 650 and \
                box[1] >= 368 and box[2] <= 782 and box[3] <= 426:
            print("ok: main menu with lesson 1-3 finished")
            return
        window.click(360, 400)  # a slow start may have let the first click land on the logo
        time.sleep(1)
    sys.exit("FAIL: the main menu does not show lesson 1-3 finished and nothing else changed")


def main():
    exe, save, reference = sys.argv[1:4]
    if os.path.exists(save):
        os.remove(save)
    d = display.Display()

    before = {w.id for w in viewable_windows(d)}
    proc = start(exe)
    window = open_window(d, before)
    time.sleep(3.5)
    window.click(360, 400)
    expect_screen(window, reference, "main_menu", 30, lambda: window.click(360, 400))
    window.click(715, 397)  # lesson 1-3
    time.sleep(2)
    wheel(window, 5, LESSON_PAGES * 3 + 10)  # a turn finishes a page's typing or turns it
    time.sleep(2)
    wheel(window, 4, 30)  # turns left over scrolled the menu: back to its top
    time.sleep(1)
    solve_first_problem(window, reference)
    close_with_yes(d, window, proc, before)
    if not os.path.exists(save) or os.path.getsize(save) != SAVE_SIZE:
        sys.exit(f"FAIL: no whole save file at {save}")
    print("ok: lesson and problem done, closed with Yes, progress saved")

    before = {w.id for w in viewable_windows(d)}
    proc = start(exe)
    window = open_window(d, before)
    time.sleep(3.5)
    window.click(360, 400)  # はじめる
    lesson_button_finished(window, reference)
    window.click(853, 398)  # section 1-3's problems
    expect_screen(window, reference, "list_one_solved")
    close_with_yes(d, window, proc, before)
    print("PASS: the installed program kept the lesson and the problem across a restart")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""A newcomer's first minutes in the real window under Xvfb: the title, the main menu, the
problem list of section 1-3 and its first problem, read and solved. Each screen the window
shows is compared with the reviewed picture the headless end-to-end cases hold for it, so the
real window is known to draw what the headless program draws. The progress is saved at the
end.
Usage: newcomer_run.py [--in-place] PATH-TO-stonewell BUILT-DATA-DIR REFERENCE-DIR
       newcomer_run.py --installed DESKTOP-ENTRY REFERENCE-DIR
       newcomer_run.py --installed-again DESKTOP-ENTRY
(DISPLAY must be set). --installed starts an installed program as its menu entry does, with
the user's own data and settings folders; --installed-again only starts it, waits for the
title and ends it, so that the package test can see the progress survive a second run. With --in-place the program runs where it was built, on the build's
own data and save folder, as a learner would: the test command does that once on a build
without progress, so that the suite is known to pass after the program has been used."""
import os
import sys
import tempfile
import time

from PIL import Image, ImageChops
from Xlib import X, display
from Xlib.ext import xtest

from window_run import ProgramRun, named, wait_for

# As the end-to-end cases compare: a channel off by more than 24 makes a pixel differ, and
# at most 0.01 % of the pixels may.
CHANNEL_TOLERANCE = 24
MOST_DIFFERING = int(1024 * 768 * 0.0001)


class Window:
    def __init__(self, d, before):
        self.d = d
        self.w = wait_for(lambda: named(d, "Stonewell", before), 20, "the main window")[0]
        origin = self.w.translate_coords(d.screen().root, 0, 0)
        self.left, self.top = -origin.x, -origin.y

    def frame(self):
        image = self.w.get_image(0, 0, 1024, 768, X.ZPixmap, 0xFFFFFFFF)
        return Image.frombytes("RGB", (1024, 768), image.data, "raw", "BGRX")

    def click(self, x, y):
        xtest.fake_input(self.d, X.MotionNotify, x=self.left + x, y=self.top + y)
        self.d.sync()
        time.sleep(0.1)
        xtest.fake_input(self.d, X.ButtonPress, 1)
        self.d.sync()
        time.sleep(0.08)
        xtest.fake_input(self.d, X.ButtonRelease, 1)
        self.d.sync()


def differing(a, b):
    diff = ImageChops.difference(a, b).split()
    mask = None
    for channel in diff:
        over = channel.point(lambda v: 255 if v > CHANNEL_TOLERANCE else 0)
        mask = over if mask is None else ImageChops.lighter(mask, over)
    return mask.histogram()[255]


def expect_screen(window, reference, name, seconds=15, retry=None):
    want = Image.open(os.path.join(reference, name + ".png")).convert("RGB")
    last = [None]

    def shows():
        last[0] = differing(window.frame(), want)
        return last[0] <= MOST_DIFFERING

    end = time.time() + seconds
    next_retry = time.time() + 3
    while time.time() < end:
        if shows():
            print(f"ok: {name}")
            return
        if retry is not None and time.time() > next_retry:
            retry()  # a slow start may have let the first click land on the logo
            next_retry = time.time() + 3
        time.sleep(0.2)
    window.frame().save(os.path.join(tempfile.gettempdir(), f"newcomer-{name}.got.png"))
    sys.exit(f"FAIL: the window does not show {name}: {last[0]} pixels differ")


def main():
    args = sys.argv[1:]
    in_place = args[:1] == ["--in-place"]
    entry = None
    if args[:1] == ["--installed-again"]:
        with ProgramRun(None, desktop_entry=args[1]) as run:
            d = display.Display()
            before = {w.id for w in d.screen().root.query_tree().children}
            run.start()
            Window(d, before)
            time.sleep(4)
            run.end_orderly()
        print("PASS: started and ended again")
        return
    if args[:1] == ["--installed"]:
        entry, reference = args[1:3]
        exe = data = None
    else:
        exe, data, reference = args[1:4] if in_place else args[0:3]
    with ProgramRun(exe, data, in_place, entry) as run:
        d = display.Display()
        before = {w.id for w in d.screen().root.query_tree().children}
        run.start()
        window = Window(d, before)

        time.sleep(3.5)  # the logo's two seconds and the title's fade-in
        window.click(360, 400)  # はじめる (where the menu has no button)
        expect_screen(window, reference, "main_menu", 30, lambda: window.click(360, 400))
        window.click(853, 398)  # section 1-3's problems
        expect_screen(window, reference, "list_after_reset")
        window.click(100, 240)  # problem 1
        expect_screen(window, reference, "problem_question_hint")
        window.click(500, 500)  # the question window closes
        time.sleep(0.5)
        for x, y in ((265, 239), (217, 287), (313, 287), (265, 335)):  # the four liberties
            window.click(x, y)
            time.sleep(0.3)
        expect_screen(window, reference, "problem_correct_explained")

        run.end_orderly()
        print("PASS: title, main menu, problem list and a solved problem in the real window")


if __name__ == "__main__":
    main()

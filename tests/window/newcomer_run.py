#!/usr/bin/python3
"""A newcomer's first minutes in the real window under Xvfb: title, main menu, the problem
list of section 1-3 and its first problem, solved. Each screen is compared with the reviewed
picture of the headless end-to-end cases, so the real window draws what the headless program
draws. The window is 1024 x 768 and asks before closing; answered No, it stays open, and a
termination request ends it through the exit processing, which saves the progress. DISPLAY
must be set.
  newcomer_run.py [--in-place] PATH-TO-stonewell BUILT-DATA-DIR REFERENCE-DIR
  newcomer_run.py --installed DESKTOP-ENTRY REFERENCE-DIR
  newcomer_run.py --installed-again DESKTOP-ENTRY
--in-place runs the program where it was built, on the build's own data and save folder, as a
learner would; --installed starts an installed program as its menu entry does, with the
user's own folders; --installed-again only starts it, waits for the title and ends it, so the
package test sees the progress survive a second run."""
import os
import sys
import tempfile
import time

from PIL import Image, ImageChops
from Xlib import X, display
from Xlib.ext import xtest

from window_run import ProgramRun, ask_to_close, named, type_keys, viewable_windows, wait_for

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


def expect_screen(window, reference, name, seconds=15, retry=None):
    want = Image.open(os.path.join(reference, name + ".png")).convert("RGB")
    differing = None
    end, next_retry = time.time() + seconds, time.time() + 3
    while time.time() < end:
        diff = ImageChops.difference(window.frame(), want).split()
        masks = [c.point(lambda v: 255 if v > CHANNEL_TOLERANCE else 0) for c in diff]
        mask = ImageChops.lighter(ImageChops.lighter(masks[0], masks[1]), masks[2])
        differing = mask.histogram()[255]
        if differing <= MOST_DIFFERING:
            print(f"ok: {name}")
            return
        if retry is not None and time.time() > next_retry:
            retry()  # a slow start may have let the first click land on the logo
            next_retry = time.time() + 3
        time.sleep(0.2)
    window.frame().save(os.path.join(tempfile.gettempdir(), f"newcomer-{name}.got.png"))
    sys.exit(f"FAIL: the window does not show {name}: {differing} pixels differ")


def solve_first_problem(window, reference):
    """From the main menu: section 1-3's problem list, its problem 1 solved by clicks."""
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


def main():
    args = sys.argv[1:]
    mode = args.pop(0) if args[0].startswith("--") else None
    if mode == "--installed-again":
        run = ProgramRun(None, desktop_entry=args[0])
    elif mode == "--installed":
        run, reference = ProgramRun(None, desktop_entry=args[0]), args[1]
    else:
        run, reference = ProgramRun(args[0], args[1], mode == "--in-place"), args[2]
    with run:
        d = display.Display()
        before = {w.id for w in d.screen().root.query_tree().children}
        run.start()
        window = Window(d, before)
        if mode == "--installed-again":
            time.sleep(4)
            run.end_orderly()
            print("PASS: started and ended again")
            return

        time.sleep(3.5)  # the logo's two seconds and the title's fade-in
        window.click(360, 400)  # はじめる (where the menu has no button)
        expect_screen(window, reference, "main_menu", 30, lambda: window.click(360, 400))
        solve_first_problem(window, reference)
        geometry = window.w.get_geometry()
        assert (geometry.width, geometry.height) == (1024, 768), geometry
        ask_to_close(d, window.w, before)
        assert run.proc.poll() is None, "the program must not close before the answer"
        type_keys(d, "Return")  # the default button, No
        wait_for(lambda: {w.id for w in viewable_windows(d)} - before == {window.w.id}, 10,
                 "the question to close")
        time.sleep(1.0)
        assert run.proc.poll() is None, "answering No keeps the program running"
        run.end_orderly()
        print("PASS: title, main menu, problem list, a solved problem, close answered No")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""The web page in headless Chromium, against the native build; run in the
folder that holds data/:

  page_test.py frames PAGE_DIR WEB_REFERENCE
      one lockstep frame of each part and of the end picture, read from the
      page's canvas and compared with the native lockstep frame at the same
      show time (identical, or where and by how much they differ)
  page_test.py playback PAGE_DIR DEMOBENCH
      the show played with its sound allowed without a click: it reaches the
      end picture, a key ends it, and its console lines are the native
      show's, in order
  page_test.py skips PAGE_DIR DEMOBENCH
      the scaling button skips nothing; a key, a click, a touch and a key
      skip the four parts one by one; a click ends the end picture; the
      console's lines are the native show's

Status 0 when it holds, 1 when not, 77 (skipped) without a page or
Chromium.
"""
import base64
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from browser import Browser, PageServer  # noqa: E402

FPS = 30
# The canvas's bytes, R, G, B, A row by row, as base64.
CANVAS_BYTES = """(() => {
  const canvas = document.getElementById("zov-canvas");
  const bytes = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
  let text = "";
  for (let i = 0; i < bytes.length; i += 8192)
    text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
  return btoa(text);
})()"""


def fail(text):
    print(text)
    return 1


def frames(page_dir, reference):
    listed = subprocess.run([reference, "frames", str(FPS)], capture_output=True, text=True, check=True).stdout
    wanted = re.findall(r"^at (\S+) (\d+)$", listed, re.M)
    if len(wanted) < 2:
        return fail("no frames to compare: " + listed)
    faults = 0
    with PageServer(page_dir) as server, Browser() as browser, tempfile.TemporaryDirectory() as scratch:
        for name, frame in wanted:
            page = browser.open(server.url("?lockstep&fps=%d&frame=%s" % (FPS, frame)))
            state = page.wait_for("['done', 'failed'].includes(zov.state) && zov.state", 120)
            if state != "done":
                faults += fail("%s frame %s: the page is %s; %s" % (name, frame, state or "still loading",
                                                                   [text for _, text in page.console][-3:]))
                page.close()
                continue
            path = os.path.join(scratch, "frame.rgba")
            with open(path, "wb") as out:
                out.write(base64.b64decode(page.evaluate(CANVAS_BYTES)))
            page.close()
            compared = subprocess.run([reference, "compare", str(FPS), frame, path], capture_output=True, text=True)
            lines = [line for line in compared.stdout.splitlines() if line.startswith("frame ")]
            print("%-8s %s" % (name, lines[-1] if lines else compared.stdout + compared.stderr))
            faults += compared.returncode != 0
    return 1 if faults else 0


def native_lines(demobench):
    """The show's lines of a native run, before demobench's table."""
    out = subprocess.run([demobench, "--data", "."], capture_output=True, text=True, check=True).stdout
    return out.split("\n\n")[0].split("\n")


def playback(page_dir, demobench):
    expected = native_lines(demobench)
    with PageServer(page_dir) as server, Browser(["--autoplay-policy=no-user-gesture-required"]) as browser:
        page = browser.open(server.url())
        if not page.wait_for("zov.state === 'playing'", 60):
            return fail("the show did not start without a click: %s" % page.evaluate("zov.state"))
        started = time.monotonic()
        state = page.wait_for("['end picture', 'over', 'failed'].includes(zov.state) && zov.state", 300, 0.5)
        took = time.monotonic() - started
        heard = page.evaluate("zov.audioContext ? zov.audioContext.currentTime : 0")
        print("the end picture after %.1f s of play, %.1f s of sound" % (took, heard))
        if state != "end picture":
            return fail("the show is %s, not on the end picture" % (state or page.evaluate("zov.state")))
        page.press_key()
        if page.wait_for("zov.state === 'over' && zov.state", 10) != "over":
            return fail("a key did not end the end picture: %s" % page.evaluate("zov.state"))
        lines = [text for kind, text in page.console if kind == "log"]
        problems = [text for kind, text in page.console if kind in ("error", "warning")]
    if problems:
        return fail("the page complained:\n  " + "\n  ".join(problems))
    if lines != expected:
        print("the console's lines differ from the native show's:")
        for i in range(max(len(lines), len(expected))):
            got = lines[i] if i < len(lines) else "(none)"
            want = expected[i] if i < len(expected) else "(none)"
            print("%s %3d %r%s" % (" " if got == want else "!", i + 1, got, "" if got == want else " not %r" % want))
        return 1
    print("%d console lines, as the native show prints them" % len(lines))
    return 0


def skips(page_dir, demobench):
    expected = native_lines(demobench)
    with PageServer(page_dir) as server, Browser(["--autoplay-policy=no-user-gesture-required"]) as browser:
        page = browser.open(server.url())
        if not page.wait_for("zov.state === 'playing' && zov.part === 0", 60):
            return fail("the show did not start: %s" % page.evaluate("zov.state"))
        # The page's own button changes the scaling and skips nothing.
        x, y = page.evaluate("(r => [r.x + r.width / 2, r.y + r.height / 2])"
                             "(document.getElementById('zov-scaling').getBoundingClientRect())")
        page.click(x, y)
        time.sleep(0.5)
        if page.evaluate("[zov.part, document.body.classList.contains('smooth')]") != [0, True]:
            return fail("the scaling button: %s" % page.evaluate("[zov.part, document.body.className]"))
        presses = [("a key", page.press_key), ("a click", page.click), ("a touch", page.touch), ("a key", page.press_key)]
        for part, (name, press) in enumerate(presses):
            if name == "a key":
                press()
            else:
                press(512, 384)
            after = part + 1 if part + 1 < len(presses) else -1
            if page.wait_for("zov.part === %d" % after, 20) is None:
                return fail("%s in part %d left the page on part %s" % (name, part + 1, page.evaluate("zov.part")))
        if page.evaluate("zov.state") != "end picture":
            return fail("the last part gave way to %s, not the end picture" % page.evaluate("zov.state"))
        page.click(512, 384)
        if page.wait_for("zov.state === 'over'", 10) is None:
            return fail("a click did not end the end picture: %s" % page.evaluate("zov.state"))
        lines = [text for kind, text in page.console if kind == "log"]
    if lines != expected:
        return fail("the console's lines differ from the native show's: %s" % lines)
    print("a key, a click, a touch and a key skipped the four parts; a click ended the end picture")
    return 0


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("frames", "playback", "skips"):
        print(__doc__)
        return 2
    command, page_dir, tool = sys.argv[1:]
    if not os.path.isfile(os.path.join(page_dir, "zov.wasm")):
        print("no web page in %s (scripts/web-build.sh makes it)" % page_dir)
        return 77
    if not shutil.which("chromium"):
        print("no chromium (scripts/deps.sh web installs it)")
        return 77
    return {"frames": frames, "playback": playback, "skips": skips}[command](page_dir, tool)


if __name__ == "__main__":
    sys.exit(main())

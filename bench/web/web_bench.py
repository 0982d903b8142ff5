#!/usr/bin/env python3
"""The web page's figures, measured in one run on this machine:

  - what it costs to serve: each file of the page folder as it stands and
    gzipped (level 6, a common server setting; level 9 beside it);
  - the first frame after the click on "click to start" in headless
    Chromium: clicked as soon as the page is there (loading included), and
    once it is ready;
  - the timedemo: native demobench's whole-show frames per second and the
    page's (?timedemo), in turns, each taken best of ROUNDS, and their
    ratio.

Usage: bench/web/web_bench.py [BUILD_DIR [WEB_BUILD_DIR [ROUNDS]]]
       (defaults: build, build-web, 3)
"""
import gzip
import json
import os
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "web"))
from browser import Browser, PageServer  # noqa: E402


def sizes(page_dir):
    print("served size (bytes):")
    totals = [0, 0, 0]
    for name in sorted(os.listdir(page_dir)):
        with open(os.path.join(page_dir, name), "rb") as f:
            data = f.read()
        row = [len(data), len(gzip.compress(data, 6)), len(gzip.compress(data, 9))]
        totals = [a + b for a, b in zip(totals, row)]
        print("  %-12s %9d  gzip -6 %9d  gzip -9 %9d" % (name, *row))
    print("  %-12s %9d  gzip -6 %9d  gzip -9 %9d  (%.2f MB with gzip -6)" % ("all", *totals, totals[1] / 1e6))


def first_frames(page_dir, rounds):
    with PageServer(page_dir) as server, Browser() as browser:
        for when, ready in (("while it loads", "zov.state === 'loading'"), ("once ready", "zov.state === 'ready'")):
            times = []
            for _ in range(rounds):
                page = browser.open(server.url())
                page.wait_for(ready, 60, 0.005)
                page.click(512, 384)
                page.wait_for("zov.firstFrameMs !== null", 60, 0.01)
                shown, clicked, ready_at = page.evaluate("[zov.firstFrameMs, zov.startedAt, zov.stateTimes.ready]")
                if (clicked < ready_at) != (when == "while it loads"):
                    raise RuntimeError("the click came %s the page was ready" % ("after" if clicked > ready_at else "before"))
                times.append(shown)
                page.close()
            print("first frame after the click, clicked %s: %s ms (median %.0f)" %
                  (when, ", ".join("%.0f" % t for t in times), statistics.median(times)))


def native_fps(build_dir):
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run([os.path.join(build_dir, "bin", "demobench"), "--json", out.name],
                       cwd=os.path.join(build_dir, "bin"), stdout=subprocess.DEVNULL, check=True)
        return json.load(open(out.name))["show"]["fps"]


def web_fps(page_dir):
    with PageServer(page_dir) as server, Browser() as browser:
        page = browser.open(server.url("?timedemo"))
        if page.wait_for("['done', 'failed'].includes(zov.state) && zov.state", 600, 0.2) != "done":
            raise RuntimeError("the page's timedemo did not finish")
        return page.evaluate("zov.result")["show"]["fps"]


def main():
    build_dir = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    page_dir = os.path.abspath(os.path.join(sys.argv[2] if len(sys.argv) > 2 else "build-web", "page"))
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    sizes(page_dir)
    first_frames(page_dir, rounds)
    # In turns, so that both meet the same load of a shared machine.
    native, web = [], []
    for _ in range(rounds):
        native.append(native_fps(build_dir))
        web.append(web_fps(page_dir))
    print("timedemo, whole show: native %s fps, web %s fps" %
          (", ".join("%.0f" % f for f in native), ", ".join("%.0f" % f for f in web)))
    print("best of %d: native %.0f fps, web %.0f fps: the web at %.0f%% of native" %
          (rounds, max(native), max(web), 100 * max(web) / max(native)))


if __name__ == "__main__":
    main()

"""Headless Chromium driven through its DevTools protocol over a pipe (no
websockets needed), and a page server: what the web tests and benchmarks
use to open the page, click, press keys, read its console and its state.

    with PageServer(page_dir) as server, Browser() as browser:
        page = browser.open(server.url("?lockstep&fps=30&frame=100"))
        page.wait_for("zov.state === 'done'", 60)
        pixels = page.evaluate("...")
"""
import json
import os
import shutil
import subprocess
import tempfile
import time

CHROMIUM_FLAGS = [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
    "--disable-backgrounding-occluded-windows", "--window-size=1024,768",
]


class PageServer:
    """python3 -m http.server on 127.0.0.1, on a port the system picks."""

    def __init__(self, directory):
        self.directory = directory
        self.process = None
        self.port = None

    def __enter__(self):
        self.process = subprocess.Popen(
            ["python3", "-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", self.directory],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        # "Serving HTTP on 127.0.0.1 port 41234 (http://127.0.0.1:41234/) ..."
        line = self.process.stdout.readline()
        words = line.split()
        if "port" not in words:
            self.process.kill()
            raise RuntimeError("the page server did not start: " + line)
        self.port = int(words[words.index("port") + 1])
        return self

    def url(self, query=""):
        return "http://127.0.0.1:%d/%s" % (self.port, query)

    def __exit__(self, *exc):
        self.process.kill()
        self.process.wait()


class Browser:
    """One headless Chromium; its DevTools messages are JSON texts ending in
    a NUL byte, written to its fd 3 and read from its fd 4."""

    def __init__(self, extra_flags=()):
        self.extra_flags = list(extra_flags)
        self.profile = None
        self.process = None
        self.next_id = 0
        self.buffer = b""
        self.pages = {}

    def __enter__(self):
        self.profile = tempfile.mkdtemp(prefix="zov-chromium-")
        to_browser, self.commands = os.pipe()
        self.replies, from_browser = os.pipe()

        def pipes():
            os.dup2(to_browser, 3)
            os.dup2(from_browser, 4)

        self.process = subprocess.Popen(
            ["chromium"] + CHROMIUM_FLAGS + self.extra_flags +
            ["--user-data-dir=" + self.profile, "--remote-debugging-pipe", "about:blank"],
            pass_fds=(3, 4), preexec_fn=pipes, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser)
        os.close(from_browser)
        return self

    def __exit__(self, *exc):
        try:
            self.send("Browser.close")
        except OSError:
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self.commands)
        os.close(self.replies)
        shutil.rmtree(self.profile, ignore_errors=True)

    def send(self, method, params=None, session=None):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        data = json.dumps(message).encode() + b"\0"
        while data:
            data = data[os.write(self.commands, data):]
        return self.next_id

    def receive(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.replies, 1 << 20)
            if not chunk:
                raise RuntimeError("Chromium closed its DevTools pipe")
            self.buffer += chunk
        text, _, self.buffer = self.buffer.partition(b"\0")
        message = json.loads(text)
        page = self.pages.get(message.get("sessionId"))
        if page and "method" in message:
            page.event(message)
        return message

    def call(self, method, params=None, session=None):
        wanted = self.send(method, params, session)
        while True:
            message = self.receive()
            if message.get("id") == wanted:
                if "error" in message:
                    raise RuntimeError("%s: %s" % (method, message["error"]))
                return message.get("result", {})

    def open(self, url):
        target = self.call("Target.createTarget", {"url": "about:blank"})["targetId"]
        session = self.call("Target.attachToTarget", {"targetId": target, "flatten": True})["sessionId"]
        page = Page(self, session, target)
        self.pages[session] = page
        self.call("Runtime.enable", session=session)
        self.call("Page.enable", session=session)
        self.call("Page.navigate", {"url": url}, session=session)
        return page


class Page:
    def __init__(self, browser, session, target):
        self.browser = browser
        self.session = session
        self.target = target
        self.console = []  # (type, text) in the order the page wrote them

    def event(self, message):
        if message["method"] == "Runtime.consoleAPICalled":
            params = message["params"]
            text = " ".join(str(arg.get("value", arg.get("description", ""))) for arg in params["args"])
            self.console.append((params["type"], text))

    def evaluate(self, expression):
        result = self.browser.call("Runtime.evaluate", {"expression": expression, "returnByValue": True},
                                   self.session)
        if "exceptionDetails" in result:
            raise RuntimeError("%s: %s" % (expression, result["exceptionDetails"].get("text")))
        return result["result"].get("value")

    def wait_for(self, expression, seconds, every=0.1):
        """The value of expression once it is truthy; None after seconds."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            value = self.evaluate("typeof zov === 'object' && (%s)" % expression)
            if value:
                return value
            time.sleep(every)
        return None

    def click(self, x, y):
        for kind in ("mousePressed", "mouseReleased"):
            self.browser.call("Input.dispatchMouseEvent",
                              {"type": kind, "x": x, "y": y, "button": "left", "clickCount": 1}, self.session)

    def touch(self, x, y):
        self.browser.call("Input.dispatchTouchEvent", {"type": "touchStart", "touchPoints": [{"x": x, "y": y}]},
                          self.session)
        self.browser.call("Input.dispatchTouchEvent", {"type": "touchEnd", "touchPoints": []}, self.session)

    def press_key(self, key=" ", code="Space", key_code=32):
        for kind in ("keyDown", "keyUp"):
            self.browser.call("Input.dispatchKeyEvent",
                              {"type": kind, "key": key, "code": code, "windowsVirtualKeyCode": key_code},
                              self.session)

    def close(self):
        self.browser.call("Target.closeTarget", {"targetId": self.target})
        del self.browser.pages[self.session]

"""One browser session with the same interface in Chromium, Firefox and WebKitGTK, for the page's tests.

Chromium (headless) and WebKitGTK (on an Xvfb of its own) are driven by Selenium through their WebDriver
servers; Firefox (headless) by Puppeteer through WebDriver BiDi, in a Node process (firefox_bridge.mjs)
spoken to in JSON lines. All input is real: the browser makes trusted key, mouse and touch events.

    ENGINES                      ("chromium", "firefox", "webkit")
    WAIT_SECONDS                 the bound of every wait; a browser that stops answering fails instead
    StaticServer(folder)         context manager serving a folder on a free port of 127.0.0.1; .url
    Unsupported                  raised by a session for what its engine cannot do; a unittest.SkipTest,
                                 so that a test case meeting it is reported as skipped with the reason
    open_session(engine, width=1024, height=768, scale=1, touch=False) -> Session
        A fresh browser with its own profile; its viewport is width x height CSS pixels at `scale`
        device pixels per CSS pixel; with touch=True the page sees a touch screen (navigator.
        maxTouchPoints 5, `pointer: coarse`) and gets touch events. Close it with .close() or use it
        as a context manager. WebKitGTK raises Unsupported for a scale that is not a whole number
        and for touch=True (its driver turns touch input into mouse input).

    Session
        .engine                  one of ENGINES
        .open(url)               navigates and waits for the load event
        .run(script, *args)      runs `script` as the body of a function (arguments[i], `return`, a
                                 returned promise is awaited) and gives back its JSON value (return
                                 plain data, never an element: engines differ on those)
        .wait_for(script, *args, seconds=WAIT_SECONDS)
                                 runs the script until its value is truthy and gives back that value;
                                 raises TimeoutError after `seconds`
        .point(target, text=None) -> (x, y)
                                 the centre, in CSS pixels of the viewport, of a target: an (x, y) stays
                                 as it is; a CSS selector names the first shown element that matches it
                                 (and, with `text`, whose trimmed text content is `text`)
        .key_down(key), .key_up(key)
                                 one key by its DOM `key` name ("ArrowUp", "ArrowRight", "a", ...)
        .keys(*keys, hold=False) presses all the keys in order, then releases them unless `hold`, in one
                                 input sequence: no driver round trip between a press and its release
                                 that a loaded machine could stretch over a player's tick
        .type(text)              presses and releases each character in turn, into the focused element
        .mouse_move(target), .mouse_down(target), .mouse_up(target)
                                 the left button, at a target (see point)
        .click(target, text=None)
        .drag(target, dx, dy)    presses at a target, moves by (dx, dy) CSS pixels, releases there
        .touch_start(finger, target), .touch_move(finger, target), .touch_end(finger)
                                 one finger (any hashable name) of a touch screen; fingers already down
                                 stay down, so two touch_start calls hold two fingers at once;
                                 WebKitGTK raises Unsupported
        .tap(target, text=None)  one finger down and up on a target
        .screenshot(target=None) -> PNG bytes of the viewport in device pixels, or of the box of the
                                 element named by a CSS selector
        .set_viewport(width, height, scale=None)
                                 resizes the viewport (and changes the device pixel ratio) without
                                 reload; the page gets its resize event. WebKitGTK raises Unsupported
                                 for a new scale (its ratio is fixed when it starts) and for a size
                                 its browser window cannot take (less than about 450 px wide)
        .visit_other_tab()       opens another tab, which takes the focus and hides the page, closes it
                                 and comes back to the page
        .process_ids()           the browser's processes, for measuring their CPU time
        .driver                  Chromium and WebKitGTK only: the Selenium WebDriver, for what only
                                 one engine offers (the benchmark uses Chromium's DevTools protocol)
"""
import base64
import functools
import http.server
import io
import json
import os
import pathlib
import select
import shutil
import subprocess
import tempfile
import threading
import time
import unittest

from PIL import Image

ENGINES = ("chromium", "firefox", "webkit")
# Every wait of the tests and tools is bounded by this many seconds.
WAIT_SECONDS = 10
# A browser that stops answering a command fails it after this long instead of hanging the run.
COMMAND_SECONDS = WAIT_SECONDS * 3
HERE = pathlib.Path(__file__).resolve().parent


class Unsupported(unittest.SkipTest):
    """What the engine cannot do; a test case that meets it is skipped, with this reason."""


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm",
                      ".webmanifest": "application/manifest+json"}

    def log_message(self, *args):
        pass


class StaticServer:
    """Serves a folder as any static web host would, on a free port of 127.0.0.1."""

    def __init__(self, folder):
        handler = functools.partial(_QuietHandler, directory=str(folder))
        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)

    @property
    def url(self):
        return f"http://127.0.0.1:{self._server.server_address[1]}/"

    def __enter__(self):
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._server.shutdown()
        self._server.server_close()
        self._thread.join(WAIT_SECONDS)


def _found(*names):
    for name in names:
        path = shutil.which(name)
        if path:
            return path
    raise RuntimeError(f"none of {', '.join(names)} is installed (see tools/packages.sh)")


def _descendants(root):
    """Process ids under `root` (not itself), from /proc."""
    parents = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            parents[int(pid)] = int(pathlib.Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError):
            continue
    found, frontier = [], [root]
    while frontier:
        children = [pid for pid, parent in parents.items() if parent in frontier]
        found += children
        frontier = children
    return found


# The centre of the first shown element matching a selector (and a text), in CSS pixels of the viewport.
_CENTRE = """
const [selector, text] = arguments;
const element = [...document.querySelectorAll(selector)].find((e) =>
    e.getClientRects().length > 0 && (text === null || e.textContent.trim() === text));
if (!element) return null;
const box = element.getBoundingClientRect();
return [box.left + box.width / 2, box.top + box.height / 2];
"""
_BOX = """
const box = document.querySelector(arguments[0]).getBoundingClientRect();
return [box.left, box.top, box.width, box.height, devicePixelRatio];
"""


class Session:
    """What every engine offers, built on the few commands each engine implements (see the module's doc)."""

    engine = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def wait_for(self, script, *args, seconds=WAIT_SECONDS):
        deadline = time.monotonic() + seconds
        while True:
            value = self.run(script, *args)
            if value:
                return value
            if time.monotonic() > deadline:
                raise TimeoutError(f"still false after {seconds} s in {self.engine}: {script.strip()}")
            time.sleep(0.02)

    def point(self, target, text=None):
        if not isinstance(target, str):
            return tuple(target)
        centre = self.run(_CENTRE, target, text)
        if centre is None:
            raise LookupError(f"nothing shown matches {target!r}" + (f" with the text {text!r}" if text else ""))
        return tuple(centre)

    def type(self, text):
        for character in text:
            self.key_down(character)
            self.key_up(character)

    def click(self, target, text=None):
        where = self.point(target, text)
        self.mouse_down(where)
        self.mouse_up(where)

    def drag(self, target, dx, dy):
        x, y = self.point(target)
        self.mouse_down((x, y))
        self.mouse_move((x + dx / 2, y + dy / 2))
        self.mouse_up((x + dx, y + dy))

    def tap(self, target, text=None):
        where = self.point(target, text)
        self.touch_start("tap", where)
        self.touch_end("tap")

    def screenshot(self, target=None):
        png = self._screenshot()
        if target is None:
            return png
        left, top, width, height, ratio = self.run(_BOX, target)
        picture = Image.open(io.BytesIO(png))
        box = tuple(round(v * ratio) for v in (left, top, left + width, top + height))
        out = io.BytesIO()
        picture.crop(box).save(out, "PNG")
        return out.getvalue()


class _SeleniumSession(Session):
    """Chromium and WebKitGTK: W3C WebDriver through Selenium."""

    def __init__(self, driver, service_pid):
        from selenium.webdriver.common.action_chains import ActionChains
        from selenium.webdriver.common.actions.action_builder import ActionBuilder
        from selenium.webdriver.common.keys import Keys

        self._actions, self._builder = ActionChains, ActionBuilder
        self._special = {"ArrowUp": Keys.ARROW_UP, "ArrowDown": Keys.ARROW_DOWN, "ArrowLeft": Keys.ARROW_LEFT,
                         "ArrowRight": Keys.ARROW_RIGHT, "Enter": Keys.ENTER, "Escape": Keys.ESCAPE,
                         "Tab": Keys.TAB, "Backspace": Keys.BACKSPACE, " ": Keys.SPACE}
        self.driver = driver
        self._service_pid = service_pid
        driver.set_page_load_timeout(COMMAND_SECONDS)
        driver.set_script_timeout(COMMAND_SECONDS)

    def open(self, url):
        self.driver.get(url)

    def run(self, script, *args):
        return self.driver.execute_script(script, *args)

    def _key(self, key):
        return self._special.get(key, key)

    def key_down(self, key):
        self._actions(self.driver).key_down(self._key(key)).perform()

    def key_up(self, key):
        self._actions(self.driver).key_up(self._key(key)).perform()

    def keys(self, *keys, hold=False):
        chain = self._actions(self.driver)
        for key in keys:
            chain.key_down(self._key(key))
        for key in () if hold else keys:
            chain.key_up(self._key(key))
        chain.perform()

    def _mouse(self, target, press=None):
        x, y = self.point(target)
        builder = self._builder(self.driver)
        builder.pointer_action.move_to_location(int(x), int(y))
        if press == "down":
            builder.pointer_action.pointer_down()
        elif press == "up":
            builder.pointer_action.pointer_up()
        builder.perform()

    def drag(self, target, dx, dy):
        # One action sequence: between two, the driver lets the page's pointer capture go.
        x, y = self.point(target)
        builder = self._builder(self.driver)
        pointer = builder.pointer_action
        pointer.move_to_location(int(x), int(y)).pointer_down()
        pointer.move_to_location(int(x + dx / 2), int(y + dy / 2)).move_to_location(int(x + dx), int(y + dy))
        pointer.pointer_up()
        builder.perform()

    def mouse_move(self, target):
        self._mouse(target)

    def mouse_down(self, target):
        self._mouse(target, "down")

    def mouse_up(self, target):
        self._mouse(target, "up")

    def _screenshot(self):
        return self.driver.get_screenshot_as_png()

    def visit_other_tab(self):
        original = self.driver.current_window_handle
        self.driver.switch_to.new_window("tab")
        self.driver.close()
        self.driver.switch_to.window(original)

    def process_ids(self):
        return _descendants(self._service_pid)

    def close(self):
        self.driver.quit()


class ChromiumSession(_SeleniumSession):
    """Headless Chromium; viewport, device pixel ratio and touch through its DevTools protocol."""

    engine = "chromium"

    def __init__(self, width, height, scale, touch):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        from selenium.webdriver.remote.remote_connection import RemoteConnection

        RemoteConnection.set_timeout(COMMAND_SECONDS)
        self._profile = tempfile.mkdtemp(prefix="glouto-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = _found("chromium", "chromium-browser", "google-chrome")
        # The window is larger than any viewport a test asks for: the viewport is set inside it.
        for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", f"--user-data-dir={self._profile}", "--window-size=2000,2000"):
            options.add_argument(flag)
        service = Service(_found("chromedriver"))
        super().__init__(webdriver.Chrome(service=service, options=options), service.process.pid)
        self._touches = {}
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": touch, "maxTouchPoints": 5})
        self.set_viewport(width, height, scale)

    def set_viewport(self, width, height, scale=None):
        self._scale = scale or self._scale
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": self._scale, "mobile": False})

    def touch_start(self, finger, target):
        # The protocol names each finger still down by a number that stays while it is down.
        number = min(set(range(len(self._touches) + 1)) - {n for n, _ in self._touches.values()})
        self._touches[finger] = (number, self.point(target))
        self._touch_event("touchStart")

    def touch_move(self, finger, target):
        self._touches[finger] = (self._touches[finger][0], self.point(target))
        self._touch_event("touchMove")

    def touch_end(self, finger):
        self._touch_event("touchEnd", {finger: self._touches.pop(finger)})

    def _touch_event(self, kind, fingers=None):
        # Starts and moves list every finger down; an end lists the finger lifted.
        points = [{"x": x, "y": y, "id": number} for number, (x, y) in (fingers or self._touches).values()]
        self.driver.execute_cdp_cmd("Input.dispatchTouchEvent", {"type": kind, "touchPoints": points})

    def close(self):
        try:
            super().close()
        finally:
            shutil.rmtree(self._profile, ignore_errors=True)


class _Xvfb:
    """An X server of the session's own, since WebKitGTK has no headless mode and CI has no display."""

    def __init__(self):
        read, write = os.pipe()
        # Large enough for the tallest viewport a test asks for, at three device pixels per CSS pixel.
        self._process = subprocess.Popen(
            [_found("Xvfb"), "-displayfd", str(write), "-screen", "0", "3200x3200x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        self._window_manager = None
        try:
            # The whole line: Xvfb dies of a broken pipe if the reader leaves before its newline.
            answer = b""
            while not answer.endswith(b"\n"):
                if not select.select([read], [], [], WAIT_SECONDS)[0]:
                    raise RuntimeError("Xvfb did not start")
                answer += os.read(read, 16) or b"\n"
            self.display = ":" + answer.decode().strip()
            # A window manager gives the focus to a new window and back, as on a player's desktop.
            self._window_manager = subprocess.Popen(
                [_found("openbox"), "--sm-disable"], env={**os.environ, "DISPLAY": self.display},
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            deadline = time.monotonic() + WAIT_SECONDS
            while b"window id" not in subprocess.run(
                    [_found("xprop"), "-display", self.display, "-root", "_NET_SUPPORTING_WM_CHECK"],
                    capture_output=True).stdout:
                if time.monotonic() > deadline:
                    raise RuntimeError("openbox did not start")
                time.sleep(0.05)
        except BaseException:
            self.close()
            raise
        finally:
            os.close(read)

    def close(self):
        if self._window_manager:
            self._window_manager.terminate()
            self._window_manager.wait(WAIT_SECONDS)
        self._process.terminate()
        try:
            self._process.wait(WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            self._process.kill()
            self._process.wait(WAIT_SECONDS)


class WebKitSession(_SeleniumSession):
    """WebKitGTK's MiniBrowser on an Xvfb of its own; GTK on X11 scales by whole device pixels only."""

    engine = "webkit"

    def __init__(self, width, height, scale, touch):
        from selenium import webdriver
        from selenium.webdriver.remote.remote_connection import RemoteConnection
        from selenium.webdriver.webkitgtk.options import Options
        from selenium.webdriver.webkitgtk.service import Service

        if scale != int(scale):
            raise Unsupported(f"WebKitGTK on X11 cannot show {scale} device pixels per CSS pixel, only whole ones")
        if touch:
            raise Unsupported("WebKitGTK cannot pretend to have a touch screen")
        RemoteConnection.set_timeout(COMMAND_SECONDS)
        self._scale = scale
        self._xvfb = _Xvfb()
        try:
            options = Options()
            options.binary_location = str(next(pathlib.Path("/usr/lib").glob("*/webkit2gtk-4.*/MiniBrowser")))
            options.add_argument("--automation")
            env = {**os.environ, "DISPLAY": self._xvfb.display, "GDK_SCALE": str(int(scale)),
                   "GDK_BACKEND": "x11"}
            self._service = Service(_found("WebKitWebDriver"), env=env)
            self._service.start()
            driver = webdriver.Remote(command_executor=self._service.service_url, options=options)
            super().__init__(driver, self._service.process.pid)
            self.set_viewport(width, height)
        except BaseException:
            self._xvfb.close()
            raise

    def set_viewport(self, width, height, scale=None):
        if scale not in (None, self._scale):
            raise Unsupported("WebKitGTK's device pixel ratio is set when it starts, on its X server")
        # The window holds more than the page: grow it by what the viewport lacks. The page hears of
        # a new size a little after the window has it.
        self.driver.set_window_rect(0, 0, width, height)
        inner = self._settled_viewport([width, height])
        if inner != [width, height]:
            self.driver.set_window_rect(0, 0, 2 * width - inner[0], 2 * height - inner[1])
            inner = self._settled_viewport([width, height])
        if inner != [width, height]:
            raise Unsupported(f"MiniBrowser's window cannot show a {width}x{height} page, only {inner[0]}x{inner[1]}")

    def _settled_viewport(self, wanted):
        """The viewport once it is `wanted`, or once it has kept one size for half a second."""
        seen, deadline = [], time.monotonic() + WAIT_SECONDS
        while time.monotonic() < deadline:
            seen.append(self.run("return [innerWidth, innerHeight]"))
            if seen[-1] == wanted or seen[-5:] == [seen[-1]] * 5:
                break
            time.sleep(0.1)
        return seen[-1]

    def touch_start(self, finger, target):
        raise Unsupported("WebKitGTK's driver has no touch input")

    touch_move = touch_start

    def touch_end(self, finger):
        raise Unsupported("WebKitGTK's driver has no touch input")

    def close(self):
        try:
            super().close()
        finally:
            self._service.stop()
            self._xvfb.close()


class FirefoxSession(Session):
    """Headless Firefox ESR driven by Puppeteer through WebDriver BiDi, in a Node process of its own."""

    engine = "firefox"

    def __init__(self, width, height, scale, touch):
        bridge = HERE / "firefox_bridge.mjs"
        if not (HERE / "node_modules" / "puppeteer-core").is_dir():
            raise RuntimeError(f"puppeteer-core is missing: run `npm ci` in {HERE}")
        self._node = subprocess.Popen([_found("node"), str(bridge)], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                      cwd=HERE, env={k: v for k, v in os.environ.items() if k != "NODE_PATH"})
        self._view = {"width": width, "height": height, "scale": scale, "touch": touch}
        try:
            self._pid = self._ask("launch", executable=_found("firefox-esr", "firefox"), **self._view)
        except BaseException:
            self._stop_node()
            raise

    def _ask(self, op, **request):
        self._node.stdin.write((json.dumps({"op": op, **request}) + "\n").encode())
        self._node.stdin.flush()
        if not select.select([self._node.stdout], [], [], COMMAND_SECONDS)[0]:
            raise TimeoutError(f"Firefox did not answer {op} within {COMMAND_SECONDS} s")
        line = self._node.stdout.readline()
        if not line:
            raise RuntimeError(f"the Firefox bridge ended during {op}")
        answer = json.loads(line)
        if "error" in answer:
            raise RuntimeError(f"Firefox, {op}: {answer['error']}")
        return answer["value"]

    def open(self, url):
        self._ask("open", url=url, timeout=COMMAND_SECONDS * 1000)

    def run(self, script, *args):
        return self._ask("run", script=script, args=list(args))

    def key_down(self, key):
        self._ask("keyDown", key=key)

    def key_up(self, key):
        self._ask("keyUp", key=key)

    def keys(self, *keys, hold=False):
        self._ask("keys", keys=list(keys), hold=hold)

    def mouse_move(self, target):
        x, y = self.point(target)
        self._ask("mouse", action="move", x=x, y=y)

    def mouse_down(self, target):
        x, y = self.point(target)
        self._ask("mouse", action="down", x=x, y=y)

    def mouse_up(self, target):
        x, y = self.point(target)
        self._ask("mouse", action="up", x=x, y=y)

    def touch_start(self, finger, target):
        x, y = self.point(target)
        self._ask("touchStart", finger=str(finger), x=x, y=y)

    def touch_move(self, finger, target):
        x, y = self.point(target)
        self._ask("touchMove", finger=str(finger), x=x, y=y)

    def touch_end(self, finger):
        self._ask("touchEnd", finger=str(finger))

    def _screenshot(self):
        return base64.b64decode(self._ask("screenshot"))

    def set_viewport(self, width, height, scale=None):
        self._view.update(width=width, height=height, scale=scale or self._view["scale"])
        self._ask("viewport", **self._view)

    def visit_other_tab(self):
        self._ask("visitOtherTab")

    def process_ids(self):
        return [self._pid] + _descendants(self._pid)

    def _stop_node(self):
        try:
            self._node.wait(WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            self._node.kill()
            self._node.wait(WAIT_SECONDS)

    def close(self):
        try:
            self._ask("close")
        finally:
            self._node.stdin.close()
            self._stop_node()


def open_session(engine, width=1024, height=768, scale=1, touch=False):
    sessions = {"chromium": ChromiumSession, "firefox": FirefoxSession, "webkit": WebKitSession}
    return sessions[engine](width, height, scale, touch)

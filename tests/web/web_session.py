"""A page folder served on 127.0.0.1 and a headless Chromium driven through WebDriver."""
import functools
import http.server
import shutil
import tempfile
import threading

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.remote.remote_connection import RemoteConnection

# Every wait of the tests and tools is bounded by this many seconds.
WAIT_SECONDS = 10


# A browser that stops answering fails its command after this long instead of hanging the run.
RemoteConnection.set_timeout(WAIT_SECONDS * 3)


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


def chromium_path():
    for name in ("chromium", "chromium-browser", "google-chrome"):
        found = shutil.which(name)
        if found:
            return found
    raise RuntimeError("no Chromium found: install the chromium package")


class Browser:
    """A fresh headless Chromium with its own profile; the network beyond 127.0.0.1 stays closed."""

    def __init__(self, width=1024, height=768, scale=1):
        self.profile = tempfile.mkdtemp(prefix="glouto-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = chromium_path()
        for flag in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", f"--user-data-dir={self.profile}",
                     f"--window-size={width},{height}", f"--force-device-scale-factor={scale}"):
            options.add_argument(flag)
        self.driver = webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)
        self.driver.set_page_load_timeout(WAIT_SECONDS * 3)
        self.driver.set_script_timeout(WAIT_SECONDS * 3)

    def emulate(self, width, height, ratio, touch=False):
        """A screen of that many CSS pixels and device pixels per CSS pixel; with touch, a phone's or
        tablet's touch screen and nothing else to point with."""
        self.driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride", {
            "width": width, "height": height, "deviceScaleFactor": ratio, "mobile": touch})
        self.driver.execute_cdp_cmd("Emulation.setTouchEmulationEnabled", {"enabled": touch, "maxTouchPoints": 5})

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        try:
            self.driver.quit()
        finally:
            shutil.rmtree(self.profile, ignore_errors=True)

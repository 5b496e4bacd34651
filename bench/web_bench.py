#!/usr/bin/python3 -B
"""The browser build's costs: download size, time to the first frame with the board against a static
page of the same pictures in the same places, and CPU while the game runs untouched.

Usage: web_bench.py <page folder> [--runs N] [--seconds S]
"""
import argparse
import gzip
import os
import pathlib
import shutil
import statistics
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests" / "web"))
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.support.ui import WebDriverWait  # noqa: E402

from web_session import WAIT_SECONDS, Browser, StaticServer  # noqa: E402

# Records, in the page's own clock (0 = navigation), the frame after the one in which every picture
# of the main window's client had arrived. The same probe runs in both pages.
BOARD_PROBE = """
(() => {
    const look = () => {
        const pictures = [...document.querySelectorAll('.window[data-form="Form1"] .client img')];
        if (pictures.length > 0 && pictures.every((p) => p.complete && p.naturalWidth > 0))
            requestAnimationFrame(() => { window.boardFrame = performance.now(); });
        else
            requestAnimationFrame(look);
    };
    requestAnimationFrame(look);
})();
"""


def download_sizes(folder):
    sizes = []
    for path in sorted(p for p in folder.rglob("*") if p.is_file()):
        data = path.read_bytes()
        sizes.append((str(path.relative_to(folder)), len(data), len(gzip.compress(data, 9, mtime=0))))
    return sizes


def snapshot_static_page(browser, url, folder):
    """The game's own page as it first shows the board, frozen: its markup with no script at all."""
    driver = browser.driver
    driver.get(url)
    wait(driver, lambda d: d.execute_script("return window.boardFrame !== undefined"))
    html = driver.execute_script("""
        const copy = document.documentElement.cloneNode(true);
        copy.querySelectorAll('script').forEach((s) => s.remove());
        return '<!DOCTYPE html>\\n' + copy.outerHTML;
    """)
    (folder / "static.html").write_text(html, encoding="utf-8")


def wait(driver, condition):
    return WebDriverWait(driver, WAIT_SECONDS, poll_frequency=0.01).until(condition)


def first_board_frame_ms(browser, url):
    driver = browser.driver
    driver.get("about:blank")
    driver.get(url)
    return wait(driver, lambda d: d.execute_script("return window.boardFrame"))


def profile_cpu_seconds(profile):
    """CPU time so far of the renderers and of all processes of one Chromium profile."""
    renderer = everything = 0.0
    tick = os.sysconf("SC_CLK_TCK")
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            cmdline = pathlib.Path(f"/proc/{pid}/cmdline").read_bytes().decode(errors="replace")
            fields = pathlib.Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if profile not in cmdline:
            continue
        seconds = (int(fields[11]) + int(fields[12])) / tick
        everything += seconds
        if "--type=renderer" in cmdline:
            renderer += seconds
    return renderer, everything


def idle_cpu(browser, url, seconds, attempts=5):
    """Shares of one core over `seconds` of a game left alone; retried when the monster ends it early."""
    driver = browser.driver
    for _ in range(attempts):
        driver.get(url)
        wait(driver, lambda d: d.execute_script("return window.boardFrame !== undefined"))
        time.sleep(2)
        before, before_all = profile_cpu_seconds(browser.profile)
        started = time.monotonic()
        time.sleep(seconds)
        after, after_all = profile_cpu_seconds(browser.profile)
        elapsed = time.monotonic() - started
        if not driver.find_elements(By.CSS_SELECTOR, ".messagebox"):
            return 100 * (after - before) / elapsed, 100 * (after_all - before_all) / elapsed
    raise RuntimeError(f"the monster caught the idle character in each of {attempts} tries")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder", type=pathlib.Path)
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--seconds", type=float, default=30)
    args = parser.parse_args()

    sizes = download_sizes(args.folder)
    print(f"{'file':32} {'bytes':>9} {'gzip -9':>9}")
    for name, raw, packed in sizes:
        print(f"{name:32} {raw:9} {packed:9}")
    print(f"{'everything':32} {sum(s[1] for s in sizes):9} {sum(s[2] for s in sizes):9}")

    with tempfile.TemporaryDirectory() as scratch:
        folder = pathlib.Path(scratch) / "site"
        shutil.copytree(args.folder, folder)
        with StaticServer(folder) as server, Browser() as browser:
            browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": BOARD_PROBE})
            # Every navigation is a first visit: nothing comes from the cache.
            browser.driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
            snapshot_static_page(browser, server.url, folder)
            game, static = [], []
            for _ in range(args.runs):
                game.append(first_board_frame_ms(browser, server.url))
                static.append(first_board_frame_ms(browser, server.url + "static.html"))
            game_ms, static_ms = statistics.median(game), statistics.median(static)
            print(f"first frame with the board, median of {args.runs}: game {game_ms:.1f} ms, "
                  f"static page {static_ms:.1f} ms, ratio {game_ms / static_ms:.2f}")
            browser.driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": False})
            renderer, everything = idle_cpu(browser, server.url, args.seconds)
            print(f"CPU of the untouched game over {args.seconds:.0f} s: page (renderer) {renderer:.2f} % of a core, "
                  f"all of Chromium {everything:.2f} %")


if __name__ == "__main__":
    main()

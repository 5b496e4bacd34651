#!/usr/bin/python3 -B
"""Takes the README's phone screenshot of the page: docs/screenshots/web_phone.png.

The built site in headless Chromium as a phone held upright (390x844 CSS pixels, 3 device pixels
each, a touch screen), one step taken with a tap on the pad's right arrow, the whole screen saved.

Usage: tools/web_screenshot.py [SITE_FOLDER]
    SITE_FOLDER defaults to build/web/site (cmake --preset web && cmake --build --preset web).
    GLOUTO_SCREENSHOT_DIR overrides where the picture goes, as for tools/screenshot.sh.
Needs what the page's tests need: Chromium, its driver, Selenium and Pillow (tools/packages.sh).
"""
import io
import os
import pathlib
import sys

REPO = pathlib.Path(__file__).resolve().parent.parent
sys.path.insert(0, str(REPO / "tests" / "web"))

from PIL import Image  # noqa: E402
from web_session import StaticServer, open_session  # noqa: E402

MAIN = '.window[data-form="Form1"]'


def main():
    site = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else REPO / "build" / "web" / "site")
    if not (site / "index.html").is_file():
        sys.exit(f"error: no site in {site}: build the web preset first")
    out = pathlib.Path(os.environ.get("GLOUTO_SCREENSHOT_DIR", REPO / "docs" / "screenshots")) / "web_phone.png"
    with StaticServer(site) as server, open_session("chromium", 390, 844, 3, touch=True) as session:
        session.open(server.url)
        session.wait_for(f"return document.querySelector('{MAIN}')?.checkVisibility()")
        session.wait_for("return [...document.images].filter((i) => i.closest('.window')).every((i) => i.complete)")
        session.tap('#pad [aria-label="droite"]')
        # The step shows with its point: the first pellet is one step to the right.
        session.wait_for(f"return document.querySelector('{MAIN} .client .label').innerText.trim().endsWith(': 1')")
        Image.open(io.BytesIO(session.screenshot())).save(out, optimize=True)
    print(f"wrote {out}")


if __name__ == "__main__":
    main()

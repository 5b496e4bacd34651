#!/usr/bin/python3 -B
"""The page on other screens: fit and sharpness at each size, the touch screens' pad and targets, offline start.

Usage: test_screens.py <chromium|firefox|webkit> <folder of the test page> [unittest arguments]
"""
import io
import pathlib
import re
import shutil
import tempfile
import time
import unittest

from PIL import Image

from test_page import BEAT_MS, ENGINE, FORM1, FORM2, FORM3, PAGE, STEP_TWIPS, PageTest, picture, px, shows
from web_session import StaticServer, open_session

# Width and height in CSS pixels, device pixels per CSS pixel, touch screen: a laptop at 150 %,
# WebKitGTK's narrowest window, phones held upright and sideways, a tablet.
LAPTOP_150 = (1280, 650, 1.5, False)
NARROW = (450, 844, 3, False)
PHONES = [(390, 844, 3, True), (360, 640, 2, True), (844, 390, 3, True)]
TABLET = (768, 1024, 2, True)

# Where things are, in CSS pixels of the viewport, and how many device pixels show one picture pixel.
LAYOUT = f"""
    const box = (node) => {{ const r = node.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; }};
    const client = document.querySelector('{FORM1} .client');
    const pad = document.getElementById('pad');
    return {{viewport: [0, 0, document.documentElement.clientWidth, document.documentElement.clientHeight],
             window: box(document.querySelector('{FORM1}')), client: box(client),
             label: box(client.querySelector('.label')), pad: pad.hidden ? null : box(pad),
             factor: client.getBoundingClientRect().width * devicePixelRatio / client.offsetWidth}};
"""
# An element's box in device pixels, and its width and height in its own pixels.
DEVICE_BOX = """
    const element = document.querySelector(arguments[0]);
    const r = element.getBoundingClientRect();
    return [r.left * devicePixelRatio, r.top * devicePixelRatio, r.width * devicePixelRatio / element.offsetWidth,
            element.offsetWidth, element.offsetHeight];
"""
CHARACTER = f"{FORM1} .picturebox:not([hidden])"
PAD = "#pad button"
# Taps 19 px off the centre of each control a finger works in a window, on screen, with its text, the
# close box last (it closes the menu). While window.keep is set, a click stops and its control is kept.
TAPS = """return [...document.querySelector(arguments[0]).querySelectorAll('.menutitle, .menuitem, .closebox, .button')]
    .filter((e) => e.checkVisibility()).reverse().map((e) => [e.textContent, e.getBoundingClientRect()]).flatMap(([text, r]) =>
    [[0, 19], [0, -19], [19, 0], [-19, 0]].map(([x, y]) => [text, r.x + r.width / 2 + x, r.y + r.height / 2 + y]))
    .filter(([, x, y]) => x >= 0 && y >= 0 && x < innerWidth && y < innerHeight)"""
KEEP = """window.sameDocument = true; document.addEventListener('click', (e) => {
    if (window.keep) e.stopPropagation(), window.kept = e.target.closest('.reach')?.parentNode || e.target; }, true)"""
KEPT = "return kept.closest(arguments[0]) && kept.matches('.menutitle, .menuitem, .closebox, .button') && kept.textContent === arguments[1]"
# A window whole on screen, and at its design size or larger.
READABLE = """const w = document.querySelector(arguments[0]), r = w.getBoundingClientRect();
    return r.width / w.offsetWidth > 0.99 && r.x >= 0 && r.y >= 0 && r.right <= innerWidth && r.bottom <= innerHeight"""


def inside(inner, outer):
    slack = 0.01
    return (inner[0] >= outer[0] - slack and inner[1] >= outer[1] - slack
            and inner[2] <= outer[2] + slack and inner[3] <= outer[3] + slack)


def overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


class ScreenTest(PageTest):
    # (width, height, ratio, touch) of the screen the page first opens on.
    screen = (1024, 768, 1, False)

    @classmethod
    def setUpClass(cls):
        cls.server = StaticServer(PAGE).__enter__()
        cls.session = None

    @classmethod
    def tearDownClass(cls):
        try:
            cls.close_session()
        finally:
            cls.server.__exit__(None, None, None)

    @classmethod
    def close_session(cls):
        if cls.session:
            cls.session.close()
            cls.session = None

    def setUp(self):
        self.open_on(*self.screen)

    def open_on(self, width, height, ratio, touch):
        """A fresh browser on that screen, with the page loaded: touch screens are set when it starts."""
        self.close_session()
        type(self).session = open_session(ENGINE, width, height, ratio, touch)
        PageTest.setUp(self)
        if touch:
            # Not every browser tells a page of its touch screen before it is touched.
            self.session.tap((1, 1))
            self.session.wait_for("return !document.getElementById('pad').hidden")

    def layout(self):
        return self.session.run(LAYOUT)

    def on_screen(self, selector):
        """An element's pixels as the screen shows them, and how many device pixels show each of its own."""
        left, top, factor, width, height = self.session.run(DEVICE_BOX, selector)
        screen = Image.open(io.BytesIO(self.session.screenshot())).convert("RGB")
        return screen.crop([round(v) for v in (left, top, left + width * factor, top + height * factor)]), max(1, round(factor))

    # The board in picture pixels, whatever the scale.
    def board(self):
        shown, whole = self.on_screen(f"{FORM1} .client")
        return shown.resize((shown.width // whole, shown.height // whole), Image.NEAREST)

    def assert_main_window_whole_and_crisp(self):
        layout = self.layout()
        self.assertTrue(inside(layout["window"], layout["viewport"]), layout)
        self.assertTrue(inside(layout["client"], layout["viewport"]), layout)
        # The score label's first line starts within the client that shows it.
        self.assertTrue(inside(layout["label"][:2] * 2, layout["client"]), layout)
        if layout["pad"]:
            self.assertTrue(inside(layout["pad"], layout["viewport"]), layout)
            self.assertFalse(overlap(layout["pad"], layout["window"]), layout)
            # Nine tenths or more of the room above or beside the pad.
            pad, window = layout["pad"], layout["window"]
            room = (pad[0], pad[3]) if pad[0] > 0 else (pad[2], pad[1])
            self.assertGreaterEqual(max((window[2] - window[0]) / room[0], (window[3] - window[1]) / room[1]), 0.9, layout)
        # Whole device pixels per picture pixel, each picture pixel a sharp square of them, or on a
        # touch screen a fractional scale, never smoothed: no colour the picture does not have.
        shown, whole = self.on_screen(CHARACTER)
        character = picture("character_right")
        if layout["pad"] and abs(layout["factor"] - whole) > 1e-3:
            self.assertLessEqual(set(shown.crop((1, 1, shown.width - 1, shown.height - 1)).getdata()), set(character.getdata()))
        else:
            self.assertTrue(shows(shown, character.resize((character.width * whole, character.height * whole),
                                                          Image.NEAREST), 0, 0), f"not sharp at {layout['factor']}")
        return layout

    def arrow(self, name):
        return f'{PAD}[aria-label="{name}"]'


class Fit(ScreenTest):
    def test_main_window_whole_and_crisp_on_each_screen(self):
        for screen in (LAPTOP_150, NARROW, *PHONES, TABLET):
            with self.subTest(screen=screen):
                self.open_on(*screen)
                layout = self.assert_main_window_whole_and_crisp()
                self.assertEqual(layout["pad"] is not None, screen[3])

    def test_refits_on_resize_without_reload(self):
        self.session.run("window.sameDocument = true")
        for width, height in ((768, 1024), (640, 400), (900, 600), (1024, 768)):
            self.session.set_viewport(width, height)
            # Browsers tell a page of a resize at their next frame: the fit follows within the wait.
            self.session.wait_for(f"""
                const r = document.querySelector('{FORM1}').getBoundingClientRect();
                return document.documentElement.clientWidth === {width} && r.left >= 0 && r.top >= 0
                    && r.right <= {width} && r.bottom <= document.documentElement.clientHeight;""")
        # Where whole device pixels fit, the page is back to them.
        self.session.wait_for(f"const c = document.querySelector('{FORM1} .client');"
                              "return c.getBoundingClientRect().width * devicePixelRatio === c.offsetWidth")
        self.assert_main_window_whole_and_crisp()
        self.assertTrue(self.session.run("return window.sameDocument === true"))

    def test_windows_dragged_to_the_edges_stay_reachable(self):
        self.choose("commandes")
        viewport = self.layout()["viewport"]
        for form in (FORM2, FORM1):
            for corner in ((viewport[2] - 1, viewport[3] - 1), (0, 0)):
                x, y = self.session.point(f"{form} .caption")
                self.session.drag(f"{form} .caption", corner[0] - x, corner[1] - y)
                box = self.session.run(
                    f"const r = document.querySelector('{form}').getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]")
                self.assertTrue(inside(box, viewport), (form, corner, box))
        self.assert_main_window_whole_and_crisp()


class Touch(ScreenTest):
    # Sideways, whole device pixels per picture pixel: the board reads back pixel by pixel.
    screen = PHONES[2]

    def test_pad_and_a_tap_on_droite_makes_one_step_and_eats_the_first_pellet(self):
        self.assertEqual(sorted(self.session.run(
            f"return [...document.querySelectorAll('{PAD}')].filter((b) => b.checkVisibility() && !b.textContent.trim())"
            ".map((b) => b.getAttribute('aria-label'))")), ["bas", "droite", "gauche", "haut"])
        self.session.tap(self.arrow("droite"))
        self.release_clock()
        self.wait_for_score(1)
        time.sleep(3 * BEAT_MS / 1000)
        self.assertTrue(self.character_at(50 + STEP_TWIPS, 50))
        self.assertEqual(self.score(), "nombres de points: 1")
        self.assertEqual(self.session.run("return [scrollX, scrollY, visualViewport.scale]"), [0, 0, 1])

    def test_two_fingers_on_two_arrows_move_diagonally(self):
        self.session.touch_start(1, self.arrow("bas"))
        self.session.touch_start(2, self.arrow("droite"))
        self.session.touch_end(1)
        self.session.touch_end(2)
        self.release_clock()
        self.until(lambda: self.character_at(50 + STEP_TWIPS, 50 + STEP_TWIPS), "no diagonal step")
        self.assertEqual(self.score(), "nombres de points: 0")

    def test_a_held_touch_walks_until_lifted(self):
        self.release_clock()
        self.session.touch_start(1, self.arrow("bas"))
        self.wait_for_score(2)
        self.session.touch_end(1)
        time.sleep(BEAT_MS / 1000)
        settled = self.character_top()
        time.sleep(3 * BEAT_MS / 1000)
        self.assertEqual(self.character_top(), settled)

    def test_fingers_work_each_target_read_the_small_windows_and_cannot_zoom_the_game(self):
        for width, height, ratio, touch in PHONES:
            with self.subTest(screen=(width, height, ratio)):
                self.open_on(width, height, ratio, touch)
                s = self.session
                s.run(KEEP)
                # A pinch on the board, a title bar or the pad zooms nothing; the menu of a long press is held back.
                for x, y in (s.point(f"{FORM1} .client"), s.point(f"{FORM1} .caption"), s.point(PAD)):
                    s.touch_start(1, (x - 10, y)), s.touch_start(2, (x + 10, y))
                    for spread in (30, 50, 70):
                        s.touch_move(1, (x - spread, y)), s.touch_move(2, (x + spread, y))
                    s.touch_end(1), s.touch_end(2)
                self.assertEqual(s.run("""return [visualViewport.scale, sameDocument, document.querySelector(arguments[0])
                    .dispatchEvent(new MouseEvent('contextmenu', {bubbles: true, cancelable: true}))]""", CHARACTER), [1, True, False])
                # Each window opened by taps on the main window's menu, the game-over box by a capture.
                for form, opening in ((FORM1, [None]), (FORM2, [None, "commandes"]), (FORM3, [None, "a propos"]), (".messagebox", [])):
                    s.run("window.keep = false")
                    for item in opening:
                        s.tap(f"{FORM1} .menuitem" if item else f"{FORM1} .menutitle", item)
                    if not opening:
                        self.release_clock()
                    s.wait_for(f"keep = true; return document.querySelector('{form}')?.checkVisibility()", seconds=30)
                    self.assertTrue(form == FORM1 or s.run(READABLE, form), form)
                    for text, x, y in s.run(TAPS, form):
                        s.tap((x, y))
                        self.assertTrue(s.run(KEPT, form, text), (form, text, x, y))

    def test_menus_and_buttons_work_by_tap(self):
        self.session.tap(f"{FORM1} .menutitle")
        self.session.tap(f"{FORM1} .menuitem", "commandes")
        self.session.wait_for(f"return document.querySelector('{FORM2}')?.checkVisibility()")
        self.session.tap(f"{FORM2} .button")
        self.session.wait_for(f"return !document.querySelector('{FORM2}')?.checkVisibility()")


class NoTouch(ScreenTest):
    def test_no_pad_without_a_touch_screen(self):
        self.assertEqual(self.session.run(f"return [...document.querySelectorAll('{PAD}')].filter((b) => b.checkVisibility()).length"), 0)


class Offline(ScreenTest):
    def test_after_one_visit_the_game_starts_and_plays_with_the_server_stopped(self):
        self.session.wait_for("return navigator.serviceWorker.controller !== null")
        self.server.__exit__(None, None, None)
        try:
            self.session.open(self.server.url)
            self.session.wait_for(f"return document.querySelector('{FORM1}')?.checkVisibility()")
            self.session.keys("ArrowRight")
            self.release_clock()
            self.wait_for_score(1)
        finally:
            type(self).server = StaticServer(PAGE).__enter__()

    def test_a_new_version_served_runs_from_the_next_start(self):
        with tempfile.TemporaryDirectory() as folder:
            site = pathlib.Path(folder) / "site"
            shutil.copytree(PAGE, site)
            with StaticServer(site) as server:
                self.session.open(server.url)
                self.session.wait_for("return navigator.serviceWorker.controller !== null")
                # Another build: another style, so another worker with another version.
                with open(site / "desktop.css", "a") as style:
                    style.write("\n:root { --build: 2; }\n")
                worker = (site / "worker.js").read_text()
                (site / "worker.js").write_text(re.sub(r'(const VERSION = "[^"]*)"', r'\1-2"', worker))
                self.session.open(server.url)
                self.session.wait_for("return caches.keys().then((names) => names.join() === names.find((n) => n.endsWith('-2')))")
                self.session.open(server.url)
                self.assertIn("--build: 2", self.session.run("return fetch('desktop.css').then((r) => r.text())"))

    def test_another_page_of_the_host_is_the_hosts_while_the_host_answers(self):
        with tempfile.TemporaryDirectory() as folder:
            site = pathlib.Path(folder) / "site"
            shutil.copytree(PAGE, site)
            (site / "other.html").write_text('<!DOCTYPE html><meta charset="utf-8"><title>autre page</title>')
            with StaticServer(site) as server:
                self.session.open(server.url)
                self.session.wait_for("return navigator.serviceWorker.controller !== null")
                self.session.open(server.url + "other.html")
                self.assertEqual(self.session.run("return document.title"), "autre page")

    def test_manifest_names_a_standalone_app_with_its_192_and_512_pixel_icons(self):
        manifest = self.session.run("""
            const link = document.querySelector('link[rel="manifest"]');
            return fetch(link.href).then((r) => r.json()).then(async (manifest) => {
                for (const icon of manifest.icons) {
                    const image = new Image();
                    image.src = new URL(icon.src, link.href);
                    await image.decode();
                    icon.drawn = image.naturalWidth + 'x' + image.naturalHeight;
                }
                return manifest;
            });""")
        self.assertEqual(manifest["display"], "standalone")
        self.assertTrue(manifest["name"])
        drawn = {icon["sizes"]: icon["drawn"] for icon in manifest["icons"] if icon["type"] == "image/png"}
        self.assertEqual((drawn.get("192x192"), drawn.get("512x512")), ("192x192", "512x512"))


if __name__ == "__main__":
    unittest.main(verbosity=2)

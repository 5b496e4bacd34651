#!/usr/bin/python3 -B
"""The page on other screens: fit and sharpness at each size, the touch screens' arrow pad, offline start.

Usage: test_screens.py <folder of the test page>
"""
import time
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.actions import interaction
from selenium.webdriver.common.actions.action_builder import ActionBuilder
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from pixels import bmp_rgb, screenshot_region
from test_page import BEAT_MS, PAGE, PICTURES, STEP_TWIPS, PageTest
from web_session import WAIT_SECONDS, Browser, StaticServer

# Width, height and device pixels per CSS pixel: a zoomed laptop, a phone both ways, a tablet.
LAPTOP_150 = (1280, 650, 1.5)
PHONE_PORTRAIT = (390, 844, 3)
PHONE_LANDSCAPE = (844, 390, 3)
TABLET = (768, 1024, 2)

# Where things are on the page, in CSS pixels of the viewport.
LAYOUT = """
    const box = (node) => { const r = node.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; };
    const main = document.querySelector('.window[data-form="Form1"]');
    const client = main.querySelector('.client');
    const pad = document.getElementById('pad');
    return {viewport: [0, 0, document.documentElement.clientWidth, document.documentElement.clientHeight],
            window: box(main), client: box(client), label: box(client.querySelector('.label')),
            pad: pad.hidden ? null : box(pad), ratio: devicePixelRatio,
            devicePixelsPerPicturePixel: client.getBoundingClientRect().width * devicePixelRatio / client.offsetWidth};
"""


def inside(inner, outer):
    slack = 0.01
    return (inner[0] >= outer[0] - slack and inner[1] >= outer[1] - slack
            and inner[2] <= outer[2] + slack and inner[3] <= outer[3] + slack)


def overlap(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def scaled(rows, factor):
    return [[pixel for pixel in row for _ in range(factor)] for row in rows for _ in range(factor)]


class ScreenTest(PageTest):
    # (width, height, ratio, touch) of the screen the page opens on.
    screen = (1024, 768, 1, False)

    def setUp(self):
        self.browser.emulate(*self.screen)
        super().setUp()

    def open_on(self, width, height, ratio, touch):
        self.browser.emulate(width, height, ratio, touch)
        PageTest.setUp(self)

    def on_screen(self, element):
        """The element's pixels as the screen shows them, and how many device pixels show each of its own."""
        box = self.driver.execute_script(
            "const r = arguments[0].getBoundingClientRect(); return [r.left * devicePixelRatio, r.top * devicePixelRatio,"
            " r.width * devicePixelRatio / arguments[0].offsetWidth, arguments[0].offsetWidth, arguments[0].offsetHeight]",
            element)
        factor = round(box[2])
        return screenshot_region(self.driver.get_screenshot_as_png(), round(box[0]), round(box[1]),
                                 box[3] * factor, box[4] * factor), factor

    # The board in picture pixels, for the checks of the game's own page tests.
    def board(self):
        rows, factor = self.on_screen(self.client())
        return [row[::factor] for row in rows[::factor]]

    def layout(self):
        return self.driver.execute_script(LAYOUT)

    def assert_main_window_whole_and_crisp(self):
        layout = self.layout()
        self.assertTrue(inside(layout["window"], layout["viewport"]), layout)
        # The score label's first line, within the client that shows it.
        self.assertTrue(inside(layout["label"][:2] * 2, layout["client"]), layout)
        self.assertTrue(inside(layout["client"], layout["viewport"]), layout)
        if layout["pad"]:
            self.assertTrue(inside(layout["pad"], layout["viewport"]), layout)
            self.assertFalse(overlap(layout["pad"], layout["window"]), layout)
        factor = layout["devicePixelsPerPicturePixel"]
        self.assertAlmostEqual(factor, round(factor), places=3, msg=layout)
        shown, whole = self.on_screen(self.driver.find_element(By.CSS_SELECTOR, ".picturebox:not([hidden])"))
        self.assertTrue(shown == scaled(bmp_rgb(PICTURES / "character_right.bmp"), whole), f"blurred at {factor}")
        return layout

    def touch(self, *names, hold=False):
        """One finger on each named arrow of the pad, all in the same instant; lifted unless held."""
        builder = ActionBuilder(self.driver)
        for index, name in enumerate(names):
            finger = builder.add_pointer_input(interaction.POINTER_TOUCH, f"finger{index}")
            finger.create_pointer_move(duration=0, origin=self.arrow(name))
            finger.create_pointer_down()
            if not hold:
                finger.create_pointer_up(0)
        builder.perform()

    def arrow(self, name):
        return self.driver.find_element(By.CSS_SELECTOR, f'#pad button[aria-label="{name}"]')


class Fit(ScreenTest):
    def test_main_window_whole_and_crisp_on_each_screen(self):
        for screen in (LAPTOP_150 + (False,), PHONE_PORTRAIT + (True,), PHONE_LANDSCAPE + (True,), TABLET + (True,)):
            with self.subTest(screen=screen):
                self.open_on(*screen)
                layout = self.assert_main_window_whole_and_crisp()
                self.assertEqual(layout["pad"] is not None, screen[3])

    def test_refits_on_resize_without_reload(self):
        self.open_on(*LAPTOP_150, False)
        self.driver.execute_script("window.sameDocument = true")
        for screen in (TABLET, (900, 600, 1), LAPTOP_150):
            self.browser.emulate(*screen)
            self.until(lambda d: inside(self.layout()["window"], self.layout()["viewport"]))
            self.assert_main_window_whole_and_crisp()
        self.assertTrue(self.driver.execute_script("return window.sameDocument === true"))

    def test_windows_dragged_to_the_edges_stay_reachable(self):
        self.open_on(*LAPTOP_150, False)
        self.choose("commandes")
        viewport = self.layout()["viewport"]
        for form in ("Form2", "Form1"):
            for corner in ((viewport[2] - 1, viewport[3] - 1), (0, 0)):
                bar = self.window(form).find_element(By.CSS_SELECTOR, ".titlebar")
                drag = ActionBuilder(self.driver)
                drag.pointer_action.move_to(bar, 5, 0).pointer_down().move_to_location(*corner).pointer_up()
                drag.perform()
                with self.subTest(form=form, corner=corner):
                    self.assertTrue(inside(self.driver.execute_script(
                        "const r = arguments[0].getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]",
                        self.window(form)), viewport))
        self.assert_main_window_whole_and_crisp()


class NoTouch(ScreenTest):
    def test_no_pad_without_a_touch_screen(self):
        self.assertFalse(self.driver.find_element(By.ID, "pad").is_displayed())
        self.assertEqual([b for b in self.driver.find_elements(By.CSS_SELECTOR, "button") if b.is_displayed()
                          and b.accessible_name in ("haut", "bas", "gauche", "droite")], [])


class Touch(ScreenTest):
    screen = PHONE_PORTRAIT + (True,)

    def test_pad_names_and_a_tap_on_droite_makes_one_step_and_eats_the_first_pellet(self):
        self.assertEqual(sorted(b.accessible_name for b in self.driver.find_elements(By.CSS_SELECTOR, "#pad button")),
                         ["bas", "droite", "gauche", "haut"])
        self.touch("droite")
        self.release_clock()
        self.until(lambda d: self.score() == "nombres de points: 1")
        time.sleep(3 * BEAT_MS / 1000)
        self.assertTrue(self.character_at(50 + STEP_TWIPS, 50))
        self.assertEqual(self.score(), "nombres de points: 1")
        self.assertEqual(self.driver.execute_script("return [scrollX, scrollY, visualViewport.scale]"), [0, 0, 1])

    def test_two_fingers_on_two_arrows_move_diagonally(self):
        self.touch("bas", "droite")
        self.release_clock()
        self.until(lambda d: self.character_at(50 + STEP_TWIPS, 50 + STEP_TWIPS))
        self.assertEqual(self.score(), "nombres de points: 0")

    def test_a_held_touch_walks_until_lifted(self):
        self.release_clock()
        self.touch("bas", hold=True)
        self.until(lambda d: self.score() == "nombres de points: 2")
        ActionBuilder(self.driver).clear_actions()
        self.until(lambda d: "pressed" not in self.arrow("bas").get_attribute("class"))
        settled = self.character_top()
        time.sleep(3 * BEAT_MS / 1000)
        self.assertEqual(self.character_top(), settled)

    def test_menus_and_buttons_work_by_tap(self):
        def tap(element):
            builder = ActionBuilder(self.driver)
            finger = builder.add_pointer_input(interaction.POINTER_TOUCH, "finger")
            finger.create_pointer_move(duration=0, origin=element)
            finger.create_pointer_down()
            finger.create_pointer_up(0)
            builder.perform()

        tap(self.window("Form1").find_element(By.CSS_SELECTOR, ".menutitle"))
        tap(next(i for i in self.window("Form1").find_elements(By.CSS_SELECTOR, ".menuitem") if i.text == "commandes"))
        self.until(lambda d: self.window("Form2"))
        tap(self.window("Form2").find_element(By.CSS_SELECTOR, ".button"))
        self.until(lambda d: self.window("Form2") is None)


class Offline(unittest.TestCase):
    def until(self, driver, condition):
        return WebDriverWait(driver, WAIT_SECONDS, poll_frequency=0.05).until(condition)

    def test_after_one_visit_the_game_starts_and_plays_with_the_server_stopped(self):
        with Browser() as browser:
            driver = browser.driver
            with StaticServer(PAGE) as server:
                driver.get(server.url)
                self.until(driver, lambda d: d.execute_script("return navigator.serviceWorker.controller !== null"))
            driver.refresh()
            self.until(driver, lambda d: d.find_elements(By.CSS_SELECTOR, '.window[data-form="Form1"]'))
            ActionChains(driver).key_down(Keys.ARROW_RIGHT).key_up(Keys.ARROW_RIGHT).perform()
            driver.execute_script("gloutoTest.release()")
            self.until(driver, lambda d: d.find_element(By.CSS_SELECTOR, ".label").text == "nombres de points: 1")

    def test_manifest_names_a_standalone_app_with_its_192_and_512_pixel_icons(self):
        with StaticServer(PAGE) as server, Browser() as browser:
            browser.driver.get(server.url)
            manifest = browser.driver.execute_async_script("""
                const done = arguments[arguments.length - 1];
                const link = document.querySelector('link[rel="manifest"]');
                fetch(link.href).then((r) => r.json()).then(async (manifest) => {
                    for (const icon of manifest.icons) {
                        const image = new Image();
                        image.src = new URL(icon.src, link.href);
                        await image.decode();
                        icon.drawn = image.naturalWidth + 'x' + image.naturalHeight;
                    }
                    done(manifest);
                }, (error) => done(String(error)));""")
        self.assertEqual(manifest["display"], "standalone")
        self.assertTrue(manifest["name"])
        sizes = {icon["sizes"]: icon["drawn"] for icon in manifest["icons"] if icon["type"] == "image/png"}
        self.assertEqual(sizes.get("192x192"), "192x192")
        self.assertEqual(sizes.get("512x512"), "512x512")


if __name__ == "__main__":
    unittest.main(verbosity=2)

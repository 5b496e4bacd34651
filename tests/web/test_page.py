#!/usr/bin/python3 -B
"""The game's page in headless Chromium: windows, start state by pixels, keys, menus, lifetimes and capture.

Usage: test_page.py <folder of the test page>
"""
import pathlib
import sys
import time
import unittest

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import WebDriverWait

from pixels import bmp_rgb, png_rgb, region
from web_session import WAIT_SECONDS, Browser, StaticServer

PAGE = pathlib.Path(sys.argv.pop(1) if len(sys.argv) > 1 else "build/web/tests/web/site")
PICTURES = PAGE / "pictures"
SITE = "http://glouto.example.org"
# One grid step and the player's beat, in whole pixels and milliseconds.
STEP_TWIPS, BEAT_MS = 620, 250


def px(twips):
    return int(twips / 15 + 0.5)


class PageTest(unittest.TestCase):
    # Device pixels per CSS pixel of the test's screen.
    scale = 1

    @classmethod
    def setUpClass(cls):
        cls.server = StaticServer(PAGE).__enter__()
        cls.browser = Browser(scale=cls.scale).__enter__()
        cls.driver = cls.browser.driver

    @classmethod
    def tearDownClass(cls):
        cls.browser.__exit__(None, None, None)
        cls.server.__exit__(None, None, None)

    # Part of the address after the page's, for a test that opens it another way.
    fragment = ""

    def setUp(self):
        self.driver.get(self.server.url + self.fragment)
        self.until(lambda d: self.window("Form1"))
        self.until(lambda d: d.execute_script(
            "return [...document.images].filter(i => i.closest('.window')).every(i => i.complete)"))

    def until(self, condition, seconds=WAIT_SECONDS):
        return WebDriverWait(self.driver, seconds, poll_frequency=0.02).until(condition)

    def window(self, form):
        found = self.driver.find_elements(By.CSS_SELECTOR, f'.window[data-form="{form}"]')
        return found[0] if found and found[0].is_displayed() else None

    def windows(self, form):
        return self.driver.find_elements(By.CSS_SELECTOR, f'.window[data-form="{form}"]')

    def choose(self, caption):
        form1 = self.window("Form1")
        form1.find_element(By.CSS_SELECTOR, ".menutitle").click()
        item = next(i for i in form1.find_elements(By.CSS_SELECTOR, ".menuitem") if i.text == caption)
        item.click()

    def release_clock(self):
        self.driver.execute_script("gloutoTest.release()")

    def keys(self, *keys, hold=False):
        chain = ActionChains(self.driver)
        for key in keys:
            chain.key_down(key)
        if not hold:
            for key in keys:
                chain.key_up(key)
        chain.perform()

    def client(self, form="Form1"):
        return self.window(form).find_element(By.CSS_SELECTOR, ".client")

    def board(self):
        return png_rgb(self.client().screenshot_as_png)

    def shows(self, rows, picture, left_twips, top_twips):
        expected = bmp_rgb(PICTURES / f"{picture}.bmp")
        return region(rows, px(left_twips), px(top_twips), len(expected[0]), len(expected)) == expected

    def character_at(self, left_twips, top_twips, facing="right"):
        return self.shows(self.board(), f"character_{facing}", left_twips, top_twips)

    def character_top(self):
        return self.driver.execute_script(
            "return [...document.querySelectorAll('.picturebox')].slice(0, 4).find(p => !p.hidden).getBoundingClientRect().top")

    def score(self):
        return self.client().find_elements(By.CSS_SELECTOR, ".label")[0].text

    def game_over_box(self):
        boxes = self.driver.find_elements(By.CSS_SELECTOR, ".messagebox")
        return boxes if boxes else None


class Windows(PageTest):
    def test_captions_client_sizes_and_menu(self):
        self.assertEqual(self.window("Form1").find_element(By.CSS_SELECTOR, ".caption").get_attribute("textContent"),
                         " " * 79 + "GLOUTO" + " " * 55 + SITE)
        self.assertEqual(self.client().size, {"width": 762, "height": 524})
        self.window("Form1").find_element(By.CSS_SELECTOR, ".menutitle").click()
        entries = self.window("Form1").find_elements(By.CSS_SELECTOR, ".menuitem, .separator")
        self.assertEqual([e.get_attribute("className") for e in entries].count("separator"), 1)
        self.assertEqual([e.text for e in entries], ["commandes", "a propos", "liens internet", "", "quitter"])
        entries[0].click()
        self.assertEqual(self.window("Form2").find_element(By.CSS_SELECTOR, ".caption").text, "commandes")
        self.assertEqual(self.client("Form2").size, {"width": 284, "height": 229})
        self.choose("a propos")
        form3 = self.window("Form3")
        self.assertEqual(form3.find_element(By.CSS_SELECTOR, ".caption").text, "A propos")
        self.assertEqual(self.client("Form3").size, {"width": 311, "height": 172})
        self.assertEqual(form3.find_element(By.CSS_SELECTOR, "input").get_attribute("value"), SITE)

    def test_each_window_once_in_front_and_liens_internet_does_nothing(self):
        self.choose("commandes")
        self.choose("a propos")
        self.choose("commandes")
        self.assertEqual(len(self.windows("Form2")), 1)
        self.assertIn("active", self.window("Form2").get_attribute("className"))
        z = {form: int(self.window(form).value_of_css_property("z-index")) for form in ("Form1", "Form2", "Form3")}
        self.assertEqual(max(z, key=z.get), "Form2")
        before = len(self.driver.find_elements(By.CSS_SELECTOR, ".window"))
        self.choose("liens internet")
        self.assertEqual(len(self.driver.find_elements(By.CSS_SELECTOR, ".window")), before)

    def test_quitter_keeps_the_program_while_the_about_window_is_open(self):
        self.choose("a propos")
        typed = self.window("Form3").find_element(By.CSS_SELECTOR, "input")
        typed.send_keys("xyz")
        self.choose("quitter")
        self.assertIsNone(self.window("Form1"))
        launcher = self.driver.find_element(By.ID, "launcher")
        self.assertFalse(launcher.is_displayed())
        self.window("Form3").find_element(By.CSS_SELECTOR, ".closebox").click()
        self.until(lambda d: launcher.is_displayed())
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, ".window"), [])
        # Launching anew starts a fresh program.
        launcher.click()
        self.until(lambda d: self.window("Form1"))

    def test_small_window_moves_by_its_title_bar_and_its_picture_button_shows_the_pressed_picture(self):
        self.choose("commandes")
        form2 = self.window("Form2")
        before = form2.location
        ActionChains(self.driver).drag_and_drop_by_offset(form2.find_element(By.CSS_SELECTOR, ".titlebar"), 40, 30).perform()
        self.assertEqual(form2.location, {"x": before["x"] + 40, "y": before["y"] + 30})
        up = form2.find_element(By.XPATH, './/button[img[contains(@src, "arrow_up_pressed")]]')
        ActionChains(self.driver).click_and_hold(up).perform()
        shown = [i.get_attribute("src").rsplit("/", 1)[1] for i in up.find_elements(By.TAG_NAME, "img") if i.is_displayed()]
        ActionChains(self.driver).release().perform()
        self.assertEqual(shown, ["arrow_up_pressed.bmp"])
        self.assertEqual(self.score(), "")

    def test_key_help_lines_lie_under_the_arrow_buttons(self):
        self.choose("commandes")
        # Each line starts on an arrow button. Once the lines take the pointer, what a point hits
        # first is what is painted on top there.
        on_top = self.driver.execute_script("""
            const form = document.querySelector('.window[data-form="Form2"]');
            const overlay = form.querySelector('.lines');
            overlay.style.pointerEvents = 'visiblePainted';
            const origin = overlay.getBoundingClientRect();
            return [...overlay.querySelectorAll('line')].map((line) => {
                const [x1, y1, x2, y2] = ['x1', 'y1', 'x2', 'y2'].map((end) => line[end].baseVal.value);
                const hit = document.elementFromPoint(origin.left + x1 + (x2 - x1) / 10, origin.top + y1 + (y2 - y1) / 10);
                return hit.closest('.picturebutton') ? 'button' : hit.tagName;
            });""")
        self.assertEqual(on_top, ["button"] * 4)


class Play(PageTest):
    def test_start_state_by_pixels(self):
        rows = self.board()
        self.assertTrue(self.shows(rows, "character_right", 50, 50))
        pellets = [(990, 330), (1610, 330), (2230, 330), (2850, 330), (370, 990), (370, 1610), (370, 2230),
                   (370, 2850), (375, 3465), (370, 4095), (370, 4710), (370, 5325), (990, 5325), (1610, 5325),
                   (2230, 5325)]
        self.assertEqual([p for p in pellets if not self.shows(rows, "pellet", *p)], [])
        self.assertTrue(self.shows(rows, "monster", 4390, 3150))

    def test_a_refused_key_then_a_step_eats_a_pellet_and_the_score_follows(self):
        # Row 0 refuses up: the tap is consumed and nothing moves.
        self.keys(Keys.ARROW_UP)
        self.assertTrue(self.driver.execute_script("return gloutoTest.lastKeyPrevented"))
        self.release_clock()
        self.until(lambda d: self.score() == "nombres de points: 0")
        time.sleep(2 * BEAT_MS / 1000)
        self.assertTrue(self.character_at(50, 50))
        self.keys(Keys.ARROW_RIGHT)
        self.until(lambda d: self.score() == "nombres de points: 1")
        rows = self.board()
        self.assertTrue(self.shows(rows, "character_right", 50 + STEP_TWIPS, 50))
        self.assertFalse(self.shows(rows, "pellet", 990, 330))
        self.assertEqual(self.driver.execute_script("return scrollY"), 0)

    def test_two_keys_in_one_tick_move_diagonally(self):
        self.keys(Keys.ARROW_DOWN, Keys.ARROW_RIGHT)
        self.release_clock()
        self.until(lambda d: self.character_at(50 + STEP_TWIPS, 50 + STEP_TWIPS))
        self.assertEqual(self.score(), "nombres de points: 0")

    def test_a_held_key_walks_and_is_let_go_when_the_page_loses_focus(self):
        self.release_clock()
        self.keys(Keys.ARROW_DOWN, hold=True)
        self.until(lambda d: self.score() == "nombres de points: 2")
        original = self.driver.current_window_handle
        # Another tab takes the focus and hides the page, as another program would.
        self.driver.switch_to.new_window("tab")
        self.driver.close()
        self.driver.switch_to.window(original)
        time.sleep(BEAT_MS / 1000)
        settled = self.character_top()
        time.sleep(3 * BEAT_MS / 1000)
        self.assertEqual(self.character_top(), settled)
        ActionChains(self.driver).key_up(Keys.ARROW_DOWN).perform()


class Capture(PageTest):
    def test_one_box_modal_to_every_window_then_form1_is_unloaded(self):
        self.choose("commandes")
        self.release_clock()
        box = self.until(lambda d: self.game_over_box())
        time.sleep(0.5)
        self.assertEqual(len(self.driver.find_elements(By.CSS_SELECTOR, ".messagebox")), 1)
        box = box[0]
        self.assertEqual(box.find_element(By.CSS_SELECTOR, ".caption").text, "Tu t'est fait manger ^^")
        self.assertEqual(box.find_element(By.CSS_SELECTOR, ".prompt").get_attribute("textContent"),
                         "Niark Niark !!!!!! GAME OVER !!!!!!    points:0")
        self.assertEqual(len(box.find_elements(By.CSS_SELECTOR, ".stopicon")), 1)
        self.assertEqual([b.text for b in box.find_elements(By.CSS_SELECTOR, ".boxbuttons button")], ["OK"])
        self.assertEqual(self.driver.execute_script(
            "return [...document.querySelectorAll('.window[data-form]')].every(w => w.inert)"), True)
        # A click on the key-help window's button goes nowhere while the box is open.
        ActionChains(self.driver).move_to_element(self.window("Form2").find_element(By.CSS_SELECTOR, ".button")).click().perform()
        self.assertIsNotNone(self.window("Form2"))
        self.assertIsNotNone(self.window("Form1"))
        box.find_element(By.CSS_SELECTOR, ".boxbuttons button").click()
        self.until(lambda d: self.window("Form1") is None)
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, ".messagebox"), [])
        self.assertFalse(self.driver.find_element(By.ID, "launcher").is_displayed())
        self.window("Form2").find_element(By.CSS_SELECTOR, ".button").click()
        self.until(lambda d: self.driver.find_element(By.ID, "launcher").is_displayed())


class RuntimeErrors(PageTest):
    fragment = "#overflow"

    def test_is_reported_in_a_stop_box_and_ends_the_program(self):
        self.release_clock()
        box = self.until(lambda d: self.game_over_box())[0]
        self.assertEqual(box.find_element(By.CSS_SELECTOR, ".caption").text, "glouto")
        self.assertEqual(box.find_element(By.CSS_SELECTOR, ".prompt").get_attribute("textContent"),
                         "Erreur d'exécution '6':\n\nDépassement de capacité")
        self.assertEqual(len(box.find_elements(By.CSS_SELECTOR, ".stopicon")), 1)
        box.find_element(By.CSS_SELECTOR, ".boxbuttons button").click()
        self.until(lambda d: self.driver.find_element(By.ID, "launcher").is_displayed())
        self.assertEqual(self.driver.find_elements(By.CSS_SELECTOR, ".window"), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)

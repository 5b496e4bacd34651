#!/usr/bin/python3 -B
"""The game's page in a real browser: windows, start state by pixels, keys, menus, lifetimes and capture.

Usage: test_page.py <chromium|firefox|webkit> <folder of the test page> [unittest arguments]
"""
import io
import pathlib
import sys
import time
import unittest

from PIL import Image

from sources import SITE, STEP_TWIPS, timer_ms
from web_session import ENGINES, WAIT_SECONDS, StaticServer, open_session

ENGINE = sys.argv.pop(1) if len(sys.argv) > 1 and sys.argv[1] in ENGINES else "chromium"
PAGE = pathlib.Path(sys.argv.pop(1) if len(sys.argv) > 1 else "build/web/tests/web/site")
PICTURES = PAGE / "pictures"


# The player's beat.
BEAT_MS = timer_ms("Timer1")
FORM1, FORM2, FORM3 = ('.window[data-form="Form%d"]' % n for n in (1, 2, 3))

# Facts of the first shown element matching a selector, or null when none is shown.
SHOWN = "return [...document.querySelectorAll(arguments[0])].some((e) => e.checkVisibility())"
GONE = "return ![...document.querySelectorAll(arguments[0])].some((e) => e.checkVisibility())"
TEXT = "const e = document.querySelector(arguments[0]); return e && e.innerText.trim()"
TEXT_CONTENT = "const e = document.querySelector(arguments[0]); return e && e.textContent"
SIZE = "const box = document.querySelector(arguments[0]).getBoundingClientRect(); return [box.width, box.height]"
COUNT = "return document.querySelectorAll(arguments[0]).length"


def px(twips):
    return int(twips / 15 + 0.5)


def picture(name):
    return Image.open(PICTURES / f"{name}.bmp").convert("RGB")


def shows(image, expected, left, top):
    """Whether `image` holds the picture `expected` with its top left corner at (left, top)."""
    return image.crop((left, top, left + expected.width, top + expected.height)).tobytes() == expected.tobytes()


class PageTest(unittest.TestCase):
    # Device pixels per CSS pixel of the test's screen.
    scale = 1
    # Part of the address after the page's, for a test that opens it another way.
    fragment = ""

    @classmethod
    def setUpClass(cls):
        cls.server = StaticServer(PAGE).__enter__()
        try:
            cls.session = open_session(ENGINE, scale=cls.scale)
        except BaseException:
            cls.server.__exit__(None, None, None)
            raise

    @classmethod
    def tearDownClass(cls):
        try:
            cls.session.close()
        finally:
            cls.server.__exit__(None, None, None)

    def setUp(self):
        self.session.open(self.server.url + self.fragment)
        self.session.wait_for(SHOWN, FORM1)
        self.session.wait_for(
            "return [...document.images].filter((i) => i.closest('.window')).every((i) => i.complete)")

    def shown(self, selector):
        return self.session.run(SHOWN, selector)

    def text(self, selector):
        return self.session.run(TEXT, selector)

    def count(self, selector):
        return self.session.run(COUNT, selector)

    def choose(self, caption):
        self.session.click(f"{FORM1} .menutitle")
        self.session.click(f"{FORM1} .menuitem", caption)

    def release_clock(self):
        self.session.run("gloutoTest.release()")

    def board(self):
        return Image.open(io.BytesIO(self.session.screenshot(f"{FORM1} .client"))).convert("RGB")

    def character_at(self, left_twips, top_twips, facing="right"):
        return shows(self.board(), picture(f"character_{facing}"), px(left_twips), px(top_twips))

    def character_top(self):
        return self.character_box()[1]

    def character_box(self):
        """Left and top of the shown character picture, in CSS pixels of the viewport."""
        return self.session.run(
            "const box = [...document.querySelectorAll('.picturebox')].slice(0, 4).find(p => !p.hidden)"
            ".getBoundingClientRect(); return [box.left, box.top]")

    def score(self):
        return self.text(f"{FORM1} .client .label")

    def wait_for_score(self, points):
        self.session.wait_for(f"return document.querySelector('{FORM1} .client .label').innerText.trim() === arguments[0]",
                              f"nombres de points: {points}")

    def until(self, condition, message):
        deadline = time.monotonic() + WAIT_SECONDS
        while not condition():
            self.assertLess(time.monotonic(), deadline, message)
            time.sleep(0.02)


class Windows(PageTest):
    def test_captions_client_sizes_and_menu(self):
        self.assertEqual(self.session.run(TEXT_CONTENT, f"{FORM1} .caption"),
                         " " * 79 + "GLOUTO" + " " * 55 + SITE)
        self.assertEqual(self.session.run(SIZE, f"{FORM1} .client"), [762, 524])
        self.session.click(f"{FORM1} .menutitle")
        entries = self.session.run(f"""return [...document.querySelectorAll('{FORM1} :is(.menuitem, .separator)')]
            .map((e) => [e.className, e.innerText.trim()])""")
        self.assertEqual([kind for kind, _ in entries].count("separator"), 1)
        self.assertEqual([text for _, text in entries], ["commandes", "a propos", "liens internet", "", "quitter"])
        self.session.click(f"{FORM1} .menuitem", "commandes")
        self.assertEqual(self.text(f"{FORM2} .caption"), "commandes")
        self.assertEqual(self.session.run(SIZE, f"{FORM2} .client"), [284, 229])
        self.choose("a propos")
        self.assertEqual(self.text(f"{FORM3} .caption"), "A propos")
        self.assertEqual(self.session.run(SIZE, f"{FORM3} .client"), [311, 172])
        self.assertEqual(self.session.run(f"return document.querySelector('{FORM3} input').value"), SITE)

    def test_each_window_once_in_front_and_liens_internet_does_nothing(self):
        self.choose("commandes")
        self.choose("a propos")
        self.choose("commandes")
        self.assertEqual(self.count(FORM2), 1)
        self.assertTrue(self.session.run(f"return document.querySelector('{FORM2}').classList.contains('active')"))
        z = self.session.run("""return Object.fromEntries([...document.querySelectorAll('.window[data-form]')]
            .map((w) => [w.dataset.form, Number(getComputedStyle(w).zIndex)]))""")
        self.assertEqual(max(z, key=z.get), "Form2")
        before = self.count(".window")
        self.choose("liens internet")
        self.assertEqual(self.count(".window"), before)

    def test_quitter_keeps_the_program_while_the_about_window_is_open(self):
        self.choose("a propos")
        self.session.click(f"{FORM3} input")
        self.session.type("xyz")
        self.choose("quitter")
        self.assertFalse(self.shown(FORM1))
        self.assertFalse(self.shown("#launcher"))
        self.session.click(f"{FORM3} .closebox")
        self.session.wait_for(SHOWN, "#launcher")
        self.assertEqual(self.count(".window"), 0)
        # Launching anew starts a fresh program.
        self.session.click("#launcher")
        self.session.wait_for(SHOWN, FORM1)

    def test_small_window_moves_by_its_title_bar_and_its_picture_button_shows_the_pressed_picture(self):
        self.choose("commandes")
        where = f"const box = document.querySelector('{FORM2}').getBoundingClientRect(); return [box.left, box.top]"
        left, top = self.session.run(where)
        self.session.drag(f"{FORM2} .titlebar", 40, 30)
        self.assertEqual(self.session.run(where), [left + 40, top + 30])
        up = f'{FORM2} button:has(img[src*="arrow_up_pressed"])'
        self.session.mouse_down(up)
        shown = self.session.run(f"""return [...document.querySelectorAll('{up} img')]
            .filter((i) => i.checkVisibility()).map((i) => i.src.split('/').pop())""")
        self.session.mouse_up(up)
        self.assertEqual(shown, ["arrow_up_pressed.bmp"])
        self.assertEqual(self.score(), "")

    def test_key_help_lines_lie_under_the_arrow_buttons(self):
        self.choose("commandes")
        # Each line starts on an arrow button. Once the lines take the pointer, what a point hits
        # first is what is painted on top there.
        on_top = self.session.run(f"""
            const overlay = document.querySelector('{FORM2} .lines');
            overlay.style.pointerEvents = 'visiblePainted';
            const origin = overlay.getBoundingClientRect();
            return [...overlay.querySelectorAll('line')].map((line) => {{
                const [x1, y1, x2, y2] = ['x1', 'y1', 'x2', 'y2'].map((end) => line[end].baseVal.value);
                const hit = document.elementFromPoint(origin.left + x1 + (x2 - x1) / 10, origin.top + y1 + (y2 - y1) / 10);
                return hit.closest('.picturebutton') ? 'button' : hit.tagName;
            }});""")
        self.assertEqual(on_top, ["button"] * 4)


class Play(PageTest):
    def test_start_state_by_pixels(self):
        board = self.board()
        self.assertTrue(shows(board, picture("character_right"), px(50), px(50)))
        pellets = [(990, 330), (1610, 330), (2230, 330), (2850, 330), (370, 990), (370, 1610), (370, 2230),
                   (370, 2850), (375, 3465), (370, 4095), (370, 4710), (370, 5325), (990, 5325), (1610, 5325),
                   (2230, 5325)]
        pellet = picture("pellet")
        self.assertEqual([p for p in pellets if not shows(board, pellet, px(p[0]), px(p[1]))], [])
        self.assertTrue(shows(board, picture("monster"), px(4390), px(3150)))

    def test_a_refused_key_then_a_step_eats_a_pellet_and_the_score_follows(self):
        # Row 0 refuses up: the tap is consumed and nothing moves.
        self.session.keys("ArrowUp")
        self.assertTrue(self.session.run("return gloutoTest.lastKeyPrevented"))
        self.release_clock()
        self.wait_for_score(0)
        time.sleep(2 * BEAT_MS / 1000)
        self.assertTrue(self.character_at(50, 50))
        self.session.keys("ArrowRight")
        self.wait_for_score(1)
        board = self.board()
        self.assertTrue(shows(board, picture("character_right"), px(50 + STEP_TWIPS), px(50)),
                        f"the character is not one step right; its box is at {self.character_box()}")
        self.assertFalse(shows(board, picture("pellet"), px(990), px(330)))
        self.assertEqual(self.session.run("return scrollY"), 0)

    def test_two_keys_in_one_tick_move_diagonally(self):
        self.session.keys("ArrowDown", "ArrowRight")
        self.release_clock()
        self.until(lambda: self.character_at(50 + STEP_TWIPS, 50 + STEP_TWIPS), "no diagonal step")
        self.assertEqual(self.score(), "nombres de points: 0")

    def test_a_held_key_walks_and_is_let_go_when_the_page_loses_focus(self):
        self.release_clock()
        self.session.keys("ArrowDown", hold=True)
        self.wait_for_score(2)
        # Another tab takes the focus and hides the page, as another program would.
        self.session.visit_other_tab()
        time.sleep(BEAT_MS / 1000)
        settled = self.character_top()
        time.sleep(3 * BEAT_MS / 1000)
        self.assertEqual(self.character_top(), settled)
        self.session.key_up("ArrowDown")


class Capture(PageTest):
    def test_one_box_modal_to_every_window_then_form1_is_unloaded(self):
        self.choose("commandes")
        # The menu left open when the monster strikes: the box closes it, and one click on OK is enough.
        self.session.click(f"{FORM1} .menutitle")
        self.release_clock()
        self.session.wait_for(SHOWN, ".messagebox")
        self.assertFalse(self.shown(f"{FORM1} .dropdown"))
        time.sleep(0.5)
        self.assertEqual(self.count(".messagebox"), 1)
        self.assertEqual(self.text(".messagebox .caption"), "Tu t'est fait manger ^^")
        self.assertEqual(self.session.run(TEXT_CONTENT, ".messagebox .prompt"),
                         "Niark Niark !!!!!! GAME OVER !!!!!!    points:0")
        self.assertEqual(self.count(".messagebox .stopicon"), 1)
        self.assertEqual(self.session.run(
            "return [...document.querySelectorAll('.messagebox .boxbuttons button')].map((b) => b.innerText.trim())"),
            ["OK"])
        self.assertTrue(self.session.run("return [...document.querySelectorAll('.window[data-form]')].every(w => w.inert)"))
        # A click on the key-help window's button goes nowhere while the box is open.
        self.session.click(f"{FORM2} .button")
        self.assertTrue(self.shown(FORM2))
        self.assertTrue(self.shown(FORM1))
        self.session.click(".messagebox .boxbuttons button")
        self.session.wait_for(GONE, FORM1)
        self.assertEqual(self.count(".messagebox"), 0)
        self.assertFalse(self.shown("#launcher"))
        self.session.click(f"{FORM2} .button")
        self.session.wait_for(SHOWN, "#launcher")


class Controller(PageTest):
    # Standard mapping: the bottom face button, the cross's down and right.
    FACE, DOWN, RIGHT = 0, 13, 15

    def pad(self, action, *buttons):
        self.session.run(f"gloutoTest.pad.{action}(...arguments)", *buttons)

    def test_steps_walks_goes_diagonally_and_lets_go_unplugged(self):
        self.pad("plug")
        self.pad("press", self.DOWN, self.RIGHT)
        time.sleep(0.1)
        self.pad("press")
        self.release_clock()
        self.until(lambda: self.character_at(50 + STEP_TWIPS, 50 + STEP_TWIPS), "one press of right and down: no diagonal step")
        time.sleep(2 * BEAT_MS / 1000)
        self.assertTrue(self.character_at(50 + STEP_TWIPS, 50 + STEP_TWIPS), "one press made more than one step")
        start = self.character_box()[0]
        self.pad("press", self.RIGHT)
        self.until(lambda: self.character_box()[0] >= start + 2 * px(STEP_TWIPS) - 1, "a held right does not walk")
        self.pad("unplug")
        time.sleep(BEAT_MS / 1000)
        settled = self.character_box()
        time.sleep(3 * BEAT_MS / 1000)
        self.assertEqual(self.character_box(), settled, "unplugged while held, the pad did not let go")

    def test_the_face_button_closes_the_game_over_box(self):
        self.pad("plug")
        self.release_clock()
        self.session.wait_for(SHOWN, ".messagebox")
        self.pad("press", self.FACE)
        self.session.wait_for(SHOWN, "#launcher")


class RuntimeErrors(PageTest):
    fragment = "#overflow"

    def test_is_reported_in_a_stop_box_and_ends_the_program(self):
        self.release_clock()
        self.session.wait_for(SHOWN, ".messagebox")
        self.assertEqual(self.text(".messagebox .caption"), "glouto")
        self.assertEqual(self.session.run(TEXT_CONTENT, ".messagebox .prompt"),
                         "Erreur d'exécution '6':\n\nDépassement de capacité")
        self.assertEqual(self.count(".messagebox .stopicon"), 1)
        self.session.click(".messagebox .boxbuttons button")
        self.session.wait_for(SHOWN, "#launcher")
        self.assertEqual(self.count(".window"), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)

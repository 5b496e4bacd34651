"""The game's own numbers and texts, read from its sources, so that the page's tests and benchmarks
restate none of them."""
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parents[2]


def _found(path, pattern):
    return re.search(pattern, (ROOT / path).read_text()).group(1)


# One grid step in twips, as the engine has it.
STEP_TWIPS = int(_found("game/cell_map.h", r"kGridStep = (\d+)"))
# The author's web site, in the main window's title and the about window.
SITE = _found("ui/forms/form_definition.h", r'kSiteAddress = "([^"]*)"')


def timer_ms(name):
    """A timer's period in milliseconds, as the main window's definition gives it."""
    return int(_found("ui/forms/form1.cpp", r'TimerDef\{"%s", (\d+)' % name))

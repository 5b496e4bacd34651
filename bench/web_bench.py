#!/usr/bin/python3 -B
"""The browser build's costs: download size; in Chromium, time to the first frame with the board against
a static page of the same pictures in the same places; in each engine, CPU of the untouched game against
a trivial page that moves one picture five times a second.

Usage: web_bench.py <page folder> [--engines chromium,firefox,webkit] [--runs N] [--seconds S]
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
from sources import timer_ms  # noqa: E402
from web_session import ENGINES, StaticServer, open_session  # noqa: E402

MONSTER_MS = timer_ms("Timer3")

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

# The yardstick of idle CPU: what any page showing one moving 40x45 picture costs, written the plain
# way. The game moves its monster (the same picture) as often.
TRIVIAL_PAGE = f"""<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>one moving picture</title></head>
<body style="margin: 0; background: #000">
<img id="mover" src="pictures/monster.bmp" alt="" style="position: absolute; left: 0; top: 0">
<script>
let step = 0;
setInterval(() => {{
    step = (step + 1) % 16;
    document.getElementById("mover").style.left = 41 * Math.min(step, 16 - step) + "px";
}}, {MONSTER_MS});
</script>
</body></html>
"""
GAME_READY = """return [...document.querySelectorAll('.window[data-form="Form1"] img')].length > 0
    && [...document.images].filter((i) => i.closest('.window')).every((i) => i.complete)"""
TRIVIAL_READY = "return document.getElementById('mover').complete"


def download_sizes(folder):
    sizes = []
    for path in sorted(p for p in folder.rglob("*") if p.is_file()):
        data = path.read_bytes()
        sizes.append((str(path.relative_to(folder)), len(data), len(gzip.compress(data, 9, mtime=0))))
    return sizes


def first_frames(folder, url, runs):
    """Medians of the first frame with the board, in ms: the game, and its markup frozen with no script."""
    with open_session("chromium") as session:
        driver = session.driver
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": BOARD_PROBE})
        session.open(url)
        session.wait_for("return window.boardFrame !== undefined")
        (folder / "static.html").write_text(session.run("""
            const copy = document.documentElement.cloneNode(true);
            copy.querySelectorAll('script').forEach((s) => s.remove());
            return '<!DOCTYPE html>\\n' + copy.outerHTML;"""), encoding="utf-8")
        # Every navigation is a first visit: nothing comes from the cache or the game's offline copy.
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        driver.execute_cdp_cmd("Network.setBypassServiceWorker", {"bypass": True})
        times = {"game": [], "static": []}
        for _ in range(runs):
            for name, address in (("game", url), ("static", url + "static.html")):
                session.open("about:blank")
                session.open(address)
                times[name].append(session.wait_for("return window.boardFrame"))
        return statistics.median(times["game"]), statistics.median(times["static"])


def cpu_seconds(pids):
    """CPU time so far of the given processes, from /proc."""
    tick = os.sysconf("SC_CLK_TCK")
    total = 0.0
    for pid in pids:
        try:
            fields = pathlib.Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
        except OSError:
            continue
        total += (int(fields[11]) + int(fields[12])) / tick
    return total


def idle_share(session, url, ready, seconds, attempts=5):
    """Share of one core that the browser uses over `seconds` of a page left alone; a game that the
    monster ends early is thrown away and tried again."""
    for _ in range(attempts):
        session.open(url)
        session.wait_for(ready)
        time.sleep(2)
        pids = session.process_ids()
        before, started = cpu_seconds(pids), time.monotonic()
        time.sleep(seconds)
        used, elapsed = cpu_seconds(pids) - before, time.monotonic() - started
        if not session.run("return document.querySelector('.messagebox') !== null"):
            return 100 * used / elapsed
    raise RuntimeError(f"the monster caught the idle character in each of {attempts} tries")


def idle_ratio(engine, url, trivial_url, runs, seconds):
    """Medians of the game's and the trivial page's idle CPU in one browser, runs alternated."""
    shares = {"game": [], "trivial": []}
    with open_session(engine) as session:
        for _ in range(runs):
            shares["game"].append(idle_share(session, url, GAME_READY, seconds))
            shares["trivial"].append(idle_share(session, trivial_url, TRIVIAL_READY, seconds))
    return statistics.median(shares["game"]), statistics.median(shares["trivial"])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder", type=pathlib.Path)
    parser.add_argument("--engines", default=",".join(ENGINES))
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--seconds", type=float, default=10)
    args = parser.parse_args()

    sizes = download_sizes(args.folder)
    print(f"{'file':32} {'bytes':>9} {'gzip -9':>9}")
    for name, raw, packed in sizes:
        print(f"{name:32} {raw:9} {packed:9}")
    print(f"{'everything':32} {sum(s[1] for s in sizes):9} {sum(s[2] for s in sizes):9}", flush=True)

    with tempfile.TemporaryDirectory() as scratch:
        folder = pathlib.Path(scratch) / "site"
        shutil.copytree(args.folder, folder)
        # The trivial page has a host of its own: under the game's origin the game's worker would serve it.
        trivial = pathlib.Path(scratch) / "trivial"
        (trivial / "pictures").mkdir(parents=True)
        shutil.copy(args.folder / "pictures" / "monster.bmp", trivial / "pictures")
        (trivial / "index.html").write_text(TRIVIAL_PAGE, encoding="utf-8")
        with StaticServer(folder) as server, StaticServer(trivial) as trivial_server:
            engines = args.engines.split(",")
            if "chromium" in engines:
                game_ms, static_ms = first_frames(folder, server.url, args.runs)
                print(f"chromium: first frame with the board, median of {args.runs}: game {game_ms:.1f} ms, "
                      f"static page {static_ms:.1f} ms, ratio {game_ms / static_ms:.2f}", flush=True)
            for engine in engines:
                game, plain = idle_ratio(engine, server.url, trivial_server.url, args.runs, args.seconds)
                print(f"{engine}: CPU of the browser left alone, median of {args.runs} alternated runs of "
                      f"{args.seconds:.0f} s: game {game:.2f} %, trivial page {plain:.2f} % of a core, "
                      f"ratio {game / plain:.2f}", flush=True)


if __name__ == "__main__":
    main()

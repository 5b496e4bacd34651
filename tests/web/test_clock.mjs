// The page's shared clock against a fake browser timer: when each game timer fires, and how many
// times the page is woken for them.
import assert from "node:assert/strict";
import fs from "node:fs";
import test from "node:test";
import vm from "node:vm";

const source = fs.readFileSync(process.argv[2], "utf8");

// A browser with one fake timer queue and a clock that only moves when told.
function fakePage() {
    const page = { now: 0, wakeUps: 0, fired: [], pending: new Map(), nextHandle: 1 };
    const context = {
        performance: { now: () => page.now },
        setTimeout(callback, ms) {
            page.pending.set(page.nextHandle, { at: page.now + ms, callback });
            return page.nextHandle++;
        },
        clearTimeout(handle) { page.pending.delete(handle); },
    };
    vm.runInNewContext(`${source}\nthis.pageClock = pageClock;`, context);
    page.clock = context.pageClock((id) => page.onFire(id));
    page.onFire = (id) => page.fired.push([page.now, id]);
    // Runs the browser's timers until `until` ms, each `lateMs` late.
    page.run = (until, lateMs = 0) => {
        for (;;) {
            const [handle, next] = [...page.pending].sort(([, a], [, b]) => a.at - b.at)[0] ?? [];
            if (!next || next.at + lateMs > until) break;
            page.pending.delete(handle);
            page.now = next.at + lateMs;
            page.wakeUps++;
            next.callback();
        }
        page.now = until;
    };
    return page;
}

test("the game's three timers fire at their own periods on one wake-up per due moment", () => {
    const page = fakePage();
    page.clock.start(1, 250);
    page.clock.start(2, 50);
    page.clock.start(3, 200);
    page.run(1000);
    const count = (id) => page.fired.filter(([, fired]) => fired === id).length;
    assert.deepEqual([count(1), count(2), count(3)], [4, 20, 5]);
    assert.equal(page.wakeUps, 20);
    // At one second all three are due: they fire in the order they started.
    assert.deepEqual(page.fired.filter(([at]) => at === 1000).map(([, id]) => id), [1, 2, 3]);
});

test("late wake-ups keep each timer on its own beat", () => {
    const page = fakePage();
    page.clock.start(2, 50);
    page.run(1003, 3);
    assert.deepEqual(page.fired.map(([at]) => at), Array.from({ length: 20 }, (_, i) => 53 + 50 * i));
});

test("a page held back fires once and keeps its period from its wake-up", () => {
    const page = fakePage();
    page.clock.start(1, 250);
    page.run(1000, 600);
    assert.deepEqual(page.fired.map(([at]) => at), [850]);
    page.run(1200);
    assert.deepEqual(page.fired.map(([at]) => at), [850, 1100]);
});

test("a tick that stops or restarts timers is obeyed in the same wake-up", () => {
    const page = fakePage();
    page.clock.start(1, 100);
    page.clock.start(2, 100);
    page.clock.start(3, 100);
    // The first one's tick stops the second and restarts the third: neither fires at 100.
    page.onFire = (id) => {
        page.fired.push([page.now, id]);
        if (page.now === 100 && id === 1) {
            page.clock.stop(2);
            page.clock.start(3, 100);
        }
    };
    page.run(200);
    assert.deepEqual(page.fired, [[100, 1], [200, 1], [200, 3]]);
});

test("a stopped clock never wakes the page again", () => {
    const page = fakePage();
    page.clock.start(1, 50);
    page.clock.start(2, 200);
    page.run(120);
    page.clock.stopAll();
    page.run(1000);
    assert.deepEqual(page.fired, [[50, 1], [100, 1]]);
    assert.equal(page.pending.size, 0);
});

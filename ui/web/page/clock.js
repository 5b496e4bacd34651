// The page's timers: each fires every period from its start, as an interval would, but all of them
// share one browser timer set for the next due moment. The game's timers start together and each of
// their periods (50, 200 and 250 ms) is a multiple of the shortest, so a longer one always falls due
// with a beat of the shortest: one wake-up serves both, and a page that wakes less often costs the
// device less while it is left alone.
"use strict";

function pageClock(fire) {
    // A browser timer may wake this much before or after a moment and still serve it.
    const slackMs = 4;
    // Running timers in the order they started: of two due at the same moment, the first started
    // fires first.
    const running = new Map();
    let wakeUp = null;

    function schedule() {
        clearTimeout(wakeUp);
        wakeUp = null;
        if (running.size === 0) return;
        const next = Math.min(...[...running.values()].map((timer) => timer.due));
        wakeUp = setTimeout(beat, Math.max(0, next - performance.now()));
    }

    function beat() {
        wakeUp = null;
        const now = performance.now();
        const due = [...running].filter(([, timer]) => timer.due <= now + slackMs)
            .sort(([, a], [, b]) => a.due - b.due);
        try {
            for (const [id, timer] of due) {
                // A page held back a whole period or more (a hidden tab) fires once and keeps its
                // period from now, as an interval does, rather than catching up on every beat missed.
                timer.due = timer.due + timer.ms > now ? timer.due + timer.ms : now + timer.ms;
                // A tick may stop or restart any timer, itself included.
                if (running.get(id) === timer) fire(id);
            }
        } finally {
            schedule();
        }
    }

    return {
        start(id, ms) {
            running.delete(id);
            running.set(id, { ms, due: performance.now() + ms });
            schedule();
        },
        stop(id) {
            running.delete(id);
            schedule();
        },
        stopAll() {
            running.clear();
            schedule();
        },
    };
}

// Test page only: the game's clock stands still until the test lets it go, so that a start state
// can be looked at and keys can be pressed between two ticks.
"use strict";

(function () {
    const held = new Map();
    let holding = true;
    const start = Glouto.desktop.startTimer;
    const stop = Glouto.desktop.stopTimer;
    Glouto.desktop.startTimer = (id, ms) => (holding ? held.set(id, ms) : start(id, ms));
    Glouto.desktop.stopTimer = (id) => {
        held.delete(id);
        stop(id);
    };
    window.gloutoTest = {
        release() {
            holding = false;
            for (const [id, ms] of held) start(id, ms);
            held.clear();
        },
    };
    // What the page did with the last key, after its own handler has run.
    document.addEventListener("keydown", (event) => { window.gloutoTest.lastKeyPrevented = event.defaultPrevented; });
})();

// Test page only: the game's clock stands still until the test lets it go, so that a start state
// can be looked at and keys can be pressed between two ticks; a scripted game controller.
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
    // A controller as the Gamepad API would report it, with the standard mapping.
    const pad = { index: 0, id: "scripted pad", connected: true, mapping: "standard", axes: [0, 0, 0, 0], buttons: [] };
    let padPlugged = false;
    Object.defineProperty(navigator, "getGamepads", { configurable: true, value: () => [padPlugged ? pad : null] });
    function padEvent(type) {
        const event = new Event(type);
        event.gamepad = pad;
        window.dispatchEvent(event);
    }
    window.gloutoTest = {
        release() {
            holding = false;
            for (const [id, ms] of held) start(id, ms);
            held.clear();
        },
        pad: {
            plug() {
                padPlugged = true;
                padEvent("gamepadconnected");
            },
            // Exactly the buttons given are down, by their standard index.
            press(...down) {
                pad.buttons = Array.from({ length: 17 }, (_, i) => ({ pressed: down.includes(i), value: down.includes(i) ? 1 : 0 }));
            },
            unplug() {
                padPlugged = false;
                padEvent("gamepaddisconnected");
            },
        },
    };
    // What the page did with the last key, after its own handler has run.
    document.addEventListener("keydown", (event) => { window.gloutoTest.lastKeyPrevented = event.defaultPrevented; });
})();

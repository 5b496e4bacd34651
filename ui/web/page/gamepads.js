// Game controllers through the Gamepad API, read while one is connected and told to the program.
"use strict";

(function () {
    const program = Glouto.program;
    // Under 60 readings a second, and none at all while no controller is connected.
    const readMs = 17;
    // The last reading told of each controller, by the Gamepad API's index.
    const told = new Map();
    let reader = null;

    // The standard mapping: the cross is buttons 12 (up), 13, 14 and 15 (right), the left stick
    // axes 0 and 1, the bottom face button 0. The cross goes as one bit per arrow.
    function reading(pad) {
        const pressed = (i) => Boolean(pad.buttons[i] && pad.buttons[i].pressed);
        const cross = (pressed(12) ? 1 : 0) | (pressed(13) ? 2 : 0) | (pressed(14) ? 4 : 0) | (pressed(15) ? 8 : 0);
        return [cross, pad.axes[0] || 0, pad.axes[1] || 0, pressed(0) ? 1 : 0];
    }

    function read() {
        const connected = new Set();
        for (const pad of navigator.getGamepads()) {
            if (!pad || !pad.connected) continue;
            connected.add(pad.index);
            const now = reading(pad);
            const before = told.get(pad.index);
            if (before && before.every((value, i) => value === now[i])) continue;
            told.set(pad.index, now);
            program.call("controller_read", pad.index, ...now);
        }
        for (const index of [...told.keys()]) {
            if (connected.has(index)) continue;
            told.delete(index);
            program.call("controller_gone", index);
        }
        if (connected.size === 0) {
            clearInterval(reader);
            reader = null;
        }
    }

    window.addEventListener("gamepadconnected", () => {
        if (!reader) reader = setInterval(read, readMs);
        read();
    });
    window.addEventListener("gamepaddisconnected", read);
})();

// The keyboard's keys, and other sources of arrow keys, as the program reads them.
"use strict";

(function () {
    const program = Glouto.program;

    // Other sources of arrow keys, such as the touch screens' pad, press them as the keyboard does.
    Glouto.keys = {
        down(code) { program.call("key_down", code, 0); },
        up(code) { program.call("key_up", code); },
    };

    function typing(target) {
        return target instanceof HTMLInputElement;
    }

    // Keys reach the game whichever of its windows has the focus; arrows never scroll the page,
    // but still move the caret in a text box.
    document.addEventListener("keydown", (event) => {
        // A box open: its own keys only.
        if (Glouto.frames.boxes.size > 0) {
            if (!event.target.closest || !event.target.closest(".messagebox")) event.preventDefault();
            return;
        }
        if (program.call("key_down", event.keyCode, event.repeat ? 1 : 0) && !typing(event.target)) event.preventDefault();
    }, true);
    document.addEventListener("keyup", (event) => {
        if (program.call("key_up", event.keyCode) && !typing(event.target)) event.preventDefault();
    }, true);
    // The page losing the keyboard lets go of every key; getting it back lets controllers steer again.
    window.addEventListener("blur", () => program.call("focus_changed", 0));
    window.addEventListener("focus", () => program.call("focus_changed", 1));
    document.addEventListener("visibilitychange", () => {
        program.call("focus_changed", !document.hidden && document.hasFocus() ? 1 : 0);
    });
})();

// The touch screens' arrow pad: its four buttons are the device's arrow keys, pressed as the keyboard's are.
"use strict";

(function () {
    const pad = document.getElementById("pad");

    // Each finger on a button holds its key; the key is let go when the last finger lifts. A finger
    // keeps the button it touched first until it lifts, wherever it slides.
    for (const button of pad.querySelectorAll("button")) {
        // The program says which key code each arrow is.
        const code = () => Glouto.arrowKeys[button.dataset.arrow];
        const fingers = new Set();
        button.addEventListener("pointerdown", (event) => {
            event.preventDefault();
            button.setPointerCapture(event.pointerId);
            fingers.add(event.pointerId);
            if (fingers.size > 1) return;
            button.classList.add("pressed");
            Glouto.keys.down(code());
        });
        const lift = (event) => {
            if (!fingers.delete(event.pointerId) || fingers.size > 0) return;
            button.classList.remove("pressed");
            Glouto.keys.up(code());
        };
        for (const type of ["pointerup", "pointercancel", "lostpointercapture"]) button.addEventListener(type, lift);
    }
    // Touches on the pad never scroll, zoom, select or open a menu.
    for (const type of ["touchstart", "touchmove", "touchend", "contextmenu", "selectstart", "dblclick"])
        pad.addEventListener(type, (event) => event.preventDefault(), { passive: false });
})();

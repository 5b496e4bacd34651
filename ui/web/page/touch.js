// Touch screens: known at the first touch if not before; then the arrow pad shows, the desktop makes
// room for it, taps reach further, and no press on a game window opens the browser's menu.
"use strict";

(function () {
    const root = document.documentElement;

    function known() {
        if (root.classList.contains("touch")) return;
        root.classList.add("touch");
        document.getElementById("pad").hidden = false;
        Glouto.fit();
    }
    if (matchMedia("(any-pointer: coarse)").matches) known();
    window.addEventListener("pointerdown", (event) => {
        if (event.pointerType === "touch") known();
    }, true);
    window.addEventListener("touchstart", known, { capture: true, passive: true });

    // A long press would offer to save a picture or select the window; a text box keeps its own
    // menu, for pasting, and a desktop's right click its browser's menu.
    document.addEventListener("contextmenu", (event) => {
        const onWindow = event.target.closest?.(".window") && !(event.target instanceof HTMLInputElement);
        if (onWindow && root.classList.contains("touch")) event.preventDefault();
    });
})();

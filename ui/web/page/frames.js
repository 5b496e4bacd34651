// Window frames on the page's desktop: making, stacking, placing and dragging them.
"use strict";

(function () {
    const { element, place, reach } = Glouto.dom;
    const desktop = document.getElementById("desktop");
    let topLayer = 0;

    const frames = {
        desktop,
        // The game's windows by id, and the open message boxes.
        windows: new Map(),
        boxes: new Set(),
        // The first window the program makes is its main window: the desktop is scaled to show it whole.
        main: null,
        // Page pixels per picture pixel, and the desktop's size in picture pixels: only the page's
        // scale follows the screen, every position and size of the game stays as its definitions say.
        scale: 1,
        area: { width: 0, height: 0 },

        nextLayer() {
            return ++topLayer;
        },

        raise(frame) {
            frame.node.style.zIndex = frames.nextLayer();
            for (const other of frames.windows.values()) other.node.classList.toggle("active", other === frame);
        },

        // A window stays whole on the desktop where it fits; a larger one keeps its title bar on it.
        // Whole picture pixels keep each picture pixel on whole device pixels.
        moveTo(frame, x, y) {
            const spareX = frames.area.width - frame.node.offsetWidth * frame.zoom;
            const spareY = frames.area.height - frame.node.offsetHeight * frame.zoom;
            frame.x = clamp(Math.round(x), Math.ceil(Math.min(0, spareX)), Math.floor(Math.max(0, spareX)));
            frame.y = clamp(Math.round(y), 0, Math.floor(Math.max(0, spareY)));
            place(frame.node, frame.x, frame.y);
        },

        centre(frame) {
            const { width, height } = frames.area;
            frames.moveTo(frame, (width - frame.node.offsetWidth * frame.zoom) / 2,
                (height - frame.node.offsetHeight * frame.zoom) / 2);
        },

        // A title bar drags its window. Pointer moves are in page pixels, positions in picture pixels.
        makeDraggable(frame) {
            const bar = frame.bar;
            bar.addEventListener("pointerdown", (event) => {
                if (event.button !== 0 || event.target.closest(".closebox")) return;
                const startX = event.clientX - frame.x * frames.scale;
                const startY = event.clientY - frame.y * frames.scale;
                bar.setPointerCapture(event.pointerId);
                const move = (moved) => {
                    frame.dragged = true;
                    frames.moveTo(frame, (moved.clientX - startX) / frames.scale, (moved.clientY - startY) / frames.scale);
                };
                const stop = () => {
                    bar.removeEventListener("pointermove", move);
                    bar.removeEventListener("pointerup", stop);
                };
                bar.addEventListener("pointermove", move);
                bar.addEventListener("pointerup", stop);
            });
        },

        make(className, caption) {
            const node = element("div", className, desktop);
            const bar = element("div", "titlebar", node);
            element("span", "caption", bar).textContent = caption;
            const closeBox = reach(element("button", "closebox", bar));
            closeBox.type = "button";
            closeBox.tabIndex = -1;
            // A window may be drawn larger than the desktop around it by its zoom (see the fit).
            return { node, bar, closeBox, x: 0, y: 0, zoom: 1, dragged: false };
        },

        gameWindowsInert(inert) {
            for (const frame of frames.windows.values()) frame.node.inert = inert;
        },
    };

    function clamp(value, low, high) {
        return Math.min(Math.max(value, low), high);
    }

    Glouto.frames = frames;
})();

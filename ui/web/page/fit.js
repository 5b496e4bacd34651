// The desktop's scale: the main window shows whole, beside the arrow pad where there is one.
"use strict";

(function () {
    const frames = Glouto.frames;
    const desktop = frames.desktop;
    const root = document.documentElement;
    const pad = document.getElementById("pad");

    // Device pixels per picture pixel for the main window in a room of width x height page pixels,
    // and whether that is a whole number. Whole where that fits, so each picture pixel stays a sharp
    // square: on a desktop never beyond what the screen's pixel ratio gives, on a touch screen as long
    // as that fills nine tenths of the room, for the board to take the hand's whole screen. Otherwise
    // the largest scale that fits, still drawn square by square, nearest neighbour.
    function mainScale(width, height, touch) {
        const ratio = window.devicePixelRatio || 1;
        const natural = Math.max(1, Math.round(ratio));
        const main = frames.main && frames.main.size;
        if (!main) return { device: natural, whole: true };
        const largest = Math.min(width * ratio / main.width, height * ratio / main.height);
        const whole = Math.min(Math.floor(largest), touch ? Infinity : natural);
        const enough = touch ? Math.max(1, 0.9 * largest) : 1;
        return whole >= enough ? { device: whole, whole: true } : { device: largest, whole: false };
    }

    // On a touch screen the small windows and boxes open at their design size, one page pixel per
    // picture pixel, or larger with the desktop, so their texts read as drawn; where even that does
    // not fit, at the largest scale that does. Elsewhere they keep the desktop's scale.
    function fitWindow(frame) {
        frame.zoom = 1;
        if (root.classList.contains("touch") && frame !== frames.main) {
            const { area, scale } = frames;
            const fits = Math.min(area.width * scale / frame.node.offsetWidth, area.height * scale / frame.node.offsetHeight);
            frame.zoom = Math.max(scale, Math.min(1, fits)) / scale;
        }
        frame.node.style.transform = frame.zoom === 1 ? "" : `scale(${frame.zoom})`;
        // Page pixels per picture pixel in this window: what its touch targets are sized by.
        frame.node.style.setProperty("--scale", frames.scale * frame.zoom);
        if (frame.dragged) frames.moveTo(frame, frame.x, frame.y);
        else frames.centre(frame);
    }

    function fit() {
        const viewport = document.documentElement;
        const portrait = viewport.clientHeight >= viewport.clientWidth;
        const width = viewport.clientWidth - (pad.hidden || portrait ? 0 : pad.offsetWidth);
        const height = viewport.clientHeight - (pad.hidden || !portrait ? 0 : pad.offsetHeight);
        // A page laid out in no room at all (a hidden frame) keeps its scale until it has some.
        if (width <= 0 || height <= 0) return;
        const { device, whole } = mainScale(width, height, root.classList.contains("touch"));
        const scale = device / (window.devicePixelRatio || 1);
        frames.scale = scale;
        frames.area = { width: width / scale, height: height / scale };
        // A transform, not a zoom: the layout stays in whole picture pixels, and only the painting scales.
        desktop.style.transform = `scale(${scale})`;
        desktop.style.width = frames.area.width + "px";
        desktop.style.height = frames.area.height + "px";
        desktop.classList.toggle("fractional", !whole);
        for (const frame of [...frames.windows.values(), ...frames.boxes]) if (frame.shown) fitWindow(frame);
    }

    // The root's box is the viewport: a resize, a turn of the screen or a zoom changes it. Watching
    // it catches the changes that WebKitGTK's resize events were seen to miss.
    new ResizeObserver(fit).observe(document.documentElement);
    // A zoom or a move to another screen may change the pixel ratio alone.
    function watchRatio() {
        matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`).addEventListener("change", () => {
            fit();
            watchRatio();
        }, { once: true });
    }
    watchRatio();
    fit();
    Glouto.fit = fit;
    Glouto.fitWindow = fitWindow;
})();

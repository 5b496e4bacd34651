// What the C++ front end asks of the page: its windows, their controls' changes, timers, boxes, the end.
"use strict";

(function () {
    const { element } = Glouto.dom;
    const frames = Glouto.frames;
    const program = Glouto.program;
    const clock = pageClock((id) => program.call("tick", id));

    Glouto.desktop = {
        makeWindow(id, def) {
            const frame = { ...frames.make("window" + (def.tool ? " tool" : ""), def.caption), def, shown: false, controls: [] };
            frame.node.hidden = true;
            frame.node.tabIndex = -1;
            frame.node.dataset.form = def.name;
            frame.closeBox.addEventListener("click", () => program.call("close_box", id));
            if (def.menus.length > 0) Glouto.menus.make(id, def, frame);
            const client = element("div", "client", frame.node);
            client.style.width = def.width + "px";
            client.style.height = def.height + "px";
            client.style.background = def.background;
            // The small windows keep the narrow font they were laid out for; the main window's score
            // label and menu take the platform's own. The desktop's own boxes take the design font.
            const root = document.documentElement.style;
            root.setProperty("--design-font-family", JSON.stringify(def.fontFamily));
            root.setProperty("--design-font-size", def.fontPoints + "pt");
            if (!def.designFont)
                for (const part of [client, frame.node.querySelector(".menubar")]) if (part) part.classList.add("platformfont");
            frame.controls = def.controls.map((control, index) => Glouto.controls.make(id, index, control, def.pictureBackground));
            def.stacking.forEach((index, layer) => { frame.controls[index].style.zIndex = layer; });
            // Focusable controls go first, in tab order, so the keyboard walks them in that order.
            const order = [...def.tabOrder, ...def.controls.keys()].filter((index, at, all) => all.indexOf(index) === at);
            for (const index of order) {
                const container = def.controls[index].container;
                const parent = container ? frame.controls[def.controls.findIndex((c) => c.name === container)] : client;
                parent.appendChild(frame.controls[index]);
            }
            Glouto.controls.drawLines(def.lines, "", client);
            def.controls.forEach((control, index) => {
                if (control.kind === "frame") Glouto.controls.drawLines(def.lines, control.name, frame.controls[index]);
            });
            frame.node.addEventListener("pointerdown", () => frames.raise(frame), true);
            frames.makeDraggable(frame);
            frames.windows.set(id, frame);
            if (!frames.main) frames.main = frame;
        },
        show(id) {
            const frame = frames.windows.get(id);
            frame.node.hidden = false;
            if (frame === frames.main && !frame.size) {
                frame.size = { width: frame.node.offsetWidth, height: frame.node.offsetHeight };
                Glouto.fit();
            }
            if (!frame.shown) {
                frame.shown = true;
                Glouto.fitWindow(frame);
            }
            frames.raise(frame);
            const first = frame.def.tabOrder.length > 0 ? frame.controls[frame.def.tabOrder[0]] : frame.node;
            first.focus({ preventScroll: true });
        },
        unload(id) {
            frames.windows.get(id).node.remove();
        },
        destroy(id) {
            frames.windows.delete(id);
        },
        // A move shifts the control's own layer: the board under it is not painted again.
        setPosition(id, index, x, y) {
            const frame = frames.windows.get(id);
            const def = frame.def.controls[index];
            frame.controls[index].style.transform = `translate(${x - def.x}px, ${y - def.y}px)`;
        },
        setVisible(id, index, visible) { frames.windows.get(id).controls[index].hidden = !visible; },
        setCaption(id, index, text) {
            const node = frames.windows.get(id).controls[index];
            (node.querySelector(".framecaption") || node).textContent = text;
        },
        startTimer(id, ms) { clock.start(id, ms); },
        stopTimer(id) { clock.stop(id); },
        messageBox: Glouto.messageBox,
        // What Enter does in the window or box that has the focus: a button is pressed.
        pressEnter() {
            const focused = document.activeElement;
            if (focused instanceof HTMLButtonElement) focused.click();
        },
        // The program is over: no window, no timer; the launcher starts it anew.
        endProgram() {
            program.ended = true;
            clock.stopAll();
            for (const frame of frames.windows.values()) frame.node.remove();
            document.getElementById("launcher").hidden = false;
        },
    };

    document.getElementById("launcher").addEventListener("click", () => location.reload());
})();

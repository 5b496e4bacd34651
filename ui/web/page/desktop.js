// The program's desktop in the page: in-page windows, timers, boxes and keys for the C++ front end.
"use strict";

const Glouto = {};

(function () {
    // The C++ side reads no event while a box holds its handler: Asyncify has unwound its stack.
    let busy = false;
    let ended = false;
    let topLayer = 0;
    const windows = new Map();
    const boxes = new Set();
    const desktop = document.getElementById("desktop");
    // Page pixels per picture pixel, and the desktop's size in picture pixels: only the page's scale
    // follows the screen, every position and size of the game stays as its definitions say.
    let scale = 1;
    let area = { width: 0, height: 0 };
    // The first window the program makes is its main window: the desktop is scaled to show it whole.
    let mainFrame = null;

    function call(name, ...args) {
        if (busy || ended) return 0;
        return Module["_glouto_" + name](...args);
    }

    const clock = pageClock((id) => call("tick", id));

    function element(tag, className, parent) {
        const made = document.createElement(tag);
        if (className) made.className = className;
        if (parent) parent.appendChild(made);
        return made;
    }

    function place(node, x, y, width, height) {
        node.style.left = x + "px";
        node.style.top = y + "px";
        if (width !== undefined) {
            node.style.width = width + "px";
            node.style.height = height + "px";
        }
    }

    function picture(url, parent) {
        const image = element("img", "", parent);
        image.src = url;
        image.alt = "";
        image.draggable = false;
        return image;
    }

    // Lines of one container, in an overlay that takes no clicks. They are drawn on the container
    // itself, so they go first: the controls it holds lie over them.
    function drawLines(lines, container, parent) {
        const mine = lines.filter((line) => line.container === container);
        if (mine.length === 0) return;
        const svg = document.createElementNS("http://www.w3.org/2000/svg", "svg");
        svg.setAttribute("class", "lines");
        for (const line of mine) {
            const stroke = document.createElementNS(svg.namespaceURI, "line");
            for (const end of ["x1", "y1", "x2", "y2"]) stroke.setAttribute(end, line[end]);
            stroke.setAttribute("stroke-width", line.width);
            svg.appendChild(stroke);
        }
        parent.insertBefore(svg, parent.querySelector(":scope > .control"));
    }

    function makeControl(windowId, index, def, pictureBackground) {
        let node;
        switch (def.kind) {
        case "picturebox":
            node = element("div", "picturebox");
            node.style.background = pictureBackground;
            picture(def.picture, node);
            break;
        case "image":
            node = element("div", "image");
            picture(def.picture, node);
            break;
        case "label":
            node = element("div", "label" + (def.centred ? " centred" : "") + (def.wrap ? " wrap" : ""));
            node.textContent = def.caption;
            break;
        case "button":
            node = element("button", "button");
            node.textContent = def.caption;
            break;
        case "picturebutton":
            node = element("button", "picturebutton");
            picture(def.picture, node).className = "normal";
            picture(def.pressedPicture, node).className = "pressed";
            break;
        case "frame":
            node = element("div", "frame");
            element("div", "frameborder", node);
            element("span", "framecaption", node).textContent = def.caption;
            break;
        case "textbox":
            node = element("input", "textbox");
            node.type = "text";
            node.value = def.caption;
            node.spellcheck = false;
            break;
        }
        node.classList.add("control");
        if (node.tagName === "BUTTON") {
            node.type = "button";
            node.addEventListener("click", () => call("button", windowId, index));
        }
        place(node, def.x, def.y, def.width, def.height);
        node.hidden = !def.visible;
        return node;
    }

    function makeMenus(windowId, def, parent, frame) {
        const bar = element("div", "menubar", parent);
        def.menus.forEach((menu, menuIndex) => {
            const title = element("div", "menutitle", bar);
            title.textContent = menu.caption;
            const drop = element("div", "dropdown", title);
            drop.hidden = true;
            menu.items.forEach((item, itemIndex) => {
                if (item.separator) {
                    element("div", "separator", drop);
                    return;
                }
                const entry = element("div", "menuitem", drop);
                entry.textContent = item.caption;
                entry.addEventListener("click", (event) => {
                    event.stopPropagation();
                    frame.closeMenus();
                    call("menu_item", windowId, menuIndex, itemIndex);
                });
            });
            title.addEventListener("click", () => {
                const opening = drop.hidden;
                frame.closeMenus();
                drop.hidden = !opening;
                title.classList.toggle("open", opening);
            });
        });
        return bar;
    }

    function raise(frame) {
        frame.node.style.zIndex = ++topLayer;
        for (const other of windows.values()) other.node.classList.toggle("active", other === frame);
    }

    function clamp(value, low, high) {
        return Math.min(Math.max(value, low), high);
    }

    // A window stays whole on the desktop where it fits; a larger one keeps its title bar on it.
    // Whole picture pixels keep each picture pixel on whole device pixels.
    function moveTo(frame, x, y) {
        const spareX = area.width - frame.node.offsetWidth;
        const spareY = area.height - frame.node.offsetHeight;
        frame.x = Math.round(clamp(x, Math.min(0, spareX), Math.max(0, spareX)));
        frame.y = Math.round(clamp(y, 0, Math.max(0, spareY)));
        place(frame.node, frame.x, frame.y);
    }

    function centre(frame) {
        moveTo(frame, (area.width - frame.node.offsetWidth) / 2, (area.height - frame.node.offsetHeight) / 2);
    }

    // A title bar drags its window. Pointer moves are in page pixels, positions in picture pixels.
    function makeDraggable(frame, bar) {
        bar.addEventListener("pointerdown", (event) => {
            if (event.button !== 0 || event.target.closest(".closebox")) return;
            const startX = event.clientX - frame.x * scale;
            const startY = event.clientY - frame.y * scale;
            bar.setPointerCapture(event.pointerId);
            const move = (moved) => {
                frame.dragged = true;
                moveTo(frame, (moved.clientX - startX) / scale, (moved.clientY - startY) / scale);
            };
            const stop = () => {
                bar.removeEventListener("pointermove", move);
                bar.removeEventListener("pointerup", stop);
            };
            bar.addEventListener("pointermove", move);
            bar.addEventListener("pointerup", stop);
        });
    }

    function makeFrame(className, caption, withCloseBox) {
        const node = element("div", className, desktop);
        const bar = element("div", "titlebar", node);
        element("span", "caption", bar).textContent = caption;
        const closeBox = withCloseBox ? element("button", "closebox", bar) : null;
        if (closeBox) {
            closeBox.type = "button";
            closeBox.tabIndex = -1;
        }
        return { node, bar, closeBox, x: 0, y: 0, dragged: false };
    }

    function gameWindowsInert(inert) {
        for (const frame of windows.values()) frame.node.inert = inert;
    }

    Glouto.desktop = {
        makeWindow(id, def) {
            const parts = makeFrame("window" + (def.tool ? " tool" : ""), def.caption, true);
            const frame = { ...parts, def, shown: false, controls: [] };
            frame.node.hidden = true;
            frame.node.tabIndex = -1;
            frame.node.dataset.form = def.name;
            frame.closeMenus = () => {
                for (const drop of frame.node.querySelectorAll(".dropdown")) drop.hidden = true;
                for (const title of frame.node.querySelectorAll(".menutitle")) title.classList.remove("open");
            };
            frame.closeBox.addEventListener("click", () => call("close_box", id));
            if (def.menus.length > 0) makeMenus(id, def, frame.node, frame);
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
            frame.controls = def.controls.map((control, index) => makeControl(id, index, control, def.pictureBackground));
            def.stacking.forEach((index, layer) => { frame.controls[index].style.zIndex = layer; });
            // Focusable controls go first, in tab order, so the keyboard walks them in that order.
            const order = [...def.tabOrder, ...def.controls.keys()].filter((index, at, all) => all.indexOf(index) === at);
            for (const index of order) {
                const container = def.controls[index].container;
                const parent = container ? frame.controls[def.controls.findIndex((c) => c.name === container)] : client;
                parent.appendChild(frame.controls[index]);
            }
            drawLines(def.lines, "", client);
            def.controls.forEach((control, index) => {
                if (control.kind === "frame") drawLines(def.lines, control.name, frame.controls[index]);
            });
            frame.node.addEventListener("pointerdown", () => raise(frame), true);
            makeDraggable(frame, frame.bar);
            windows.set(id, frame);
            if (!mainFrame) mainFrame = frame;
        },
        show(id) {
            const frame = windows.get(id);
            frame.node.hidden = false;
            if (frame === mainFrame && !frame.size) {
                frame.size = { width: frame.node.offsetWidth, height: frame.node.offsetHeight };
                fit();
            }
            if (!frame.shown) {
                frame.shown = true;
                centre(frame);
            }
            raise(frame);
            const first = frame.def.tabOrder.length > 0 ? frame.controls[frame.def.tabOrder[0]] : frame.node;
            first.focus({ preventScroll: true });
        },
        unload(id) {
            const frame = windows.get(id);
            frame.node.remove();
        },
        destroy(id) {
            windows.delete(id);
        },
        // A move shifts the control's own layer: the board under it is not painted again.
        setPosition(id, index, x, y) {
            const frame = windows.get(id);
            const def = frame.def.controls[index];
            frame.controls[index].style.transform = `translate(${x - def.x}px, ${y - def.y}px)`;
        },
        setVisible(id, index, visible) { windows.get(id).controls[index].hidden = !visible; },
        setCaption(id, index, text) {
            const node = windows.get(id).controls[index];
            (node.querySelector(".framecaption") || node).textContent = text;
        },
        startTimer(id, ms) { clock.start(id, ms); },
        stopTimer(id) { clock.stop(id); },
        // Modal to every game window: they take no pointer, key or focus until it is closed.
        messageBox(prompt, stopIcon, title) {
            busy = true;
            gameWindowsInert(true);
            const shade = element("div", "modalshade", desktop);
            const box = makeFrame("window messagebox active", title, true);
            box.node.setAttribute("role", "alertdialog");
            const body = element("div", "boxbody", box.node);
            if (stopIcon) element("div", "stopicon", body);
            element("div", "prompt", body).textContent = prompt;
            const ok = element("button", "button ok", element("div", "boxbuttons", box.node));
            ok.type = "button";
            ok.textContent = "OK";
            box.node.style.zIndex = ++topLayer + 1;
            shade.style.zIndex = topLayer;
            centre(box);
            makeDraggable(box, box.bar);
            box.shown = true;
            boxes.add(box);
            ok.focus({ preventScroll: true });
            return new Promise((resolve) => {
                const close = () => {
                    box.node.remove();
                    boxes.delete(box);
                    shade.remove();
                    gameWindowsInert(false);
                    busy = false;
                    resolve();
                };
                ok.addEventListener("click", close);
                box.closeBox.addEventListener("click", close);
                box.node.addEventListener("keydown", (event) => {
                    if (event.key === "Escape") close();
                });
            });
        },
        // The program is over: no window, no timer; the launcher starts it anew.
        endProgram() {
            ended = true;
            clock.stopAll();
            for (const frame of windows.values()) frame.node.remove();
            document.getElementById("launcher").hidden = false;
        },
    };

    document.getElementById("launcher").addEventListener("click", () => location.reload());

    // Other sources of arrow keys, such as the touch screens' pad, press them as the keyboard does.
    Glouto.keys = {
        down(code) { call("key_down", code, 0); },
        up(code) { call("key_up", code); },
    };

    function typing(target) {
        return target instanceof HTMLInputElement;
    }

    // Keys reach the game whichever of its windows has the focus; arrows never scroll the page,
    // but still move the caret in a text box.
    document.addEventListener("keydown", (event) => {
        if (busy) {
            if (!event.target.closest || !event.target.closest(".messagebox")) event.preventDefault();
            return;
        }
        if (call("key_down", event.keyCode, event.repeat ? 1 : 0) && !typing(event.target)) event.preventDefault();
    }, true);
    document.addEventListener("keyup", (event) => {
        if (call("key_up", event.keyCode) && !typing(event.target)) event.preventDefault();
    }, true);
    window.addEventListener("blur", () => call("keyboard_lost"));
    document.addEventListener("visibilitychange", () => {
        if (document.hidden) call("keyboard_lost");
    });
    document.addEventListener("pointerdown", (event) => {
        for (const frame of windows.values())
            if (!event.target.closest || !event.target.closest(".menutitle")) frame.closeMenus();
    });

    // The desktop is scaled so the main window shows whole beside the arrow pad: by whole device
    // pixels per picture pixel where that fits, so each picture pixel stays a sharp square, never
    // beyond the size the screen's pixel ratio gives it; on a screen too small for even one device
    // pixel each, by the largest scale that fits, still drawn square by square.
    function fit() {
        const ratio = window.devicePixelRatio || 1;
        const viewport = document.documentElement;
        const pad = document.getElementById("pad");
        const portrait = viewport.clientHeight >= viewport.clientWidth;
        const width = viewport.clientWidth - (pad.hidden || portrait ? 0 : pad.offsetWidth);
        const height = viewport.clientHeight - (pad.hidden || !portrait ? 0 : pad.offsetHeight);
        // A page laid out in no room at all (a hidden frame) keeps its scale until it has some.
        if (width <= 0 || height <= 0) return;
        const natural = Math.max(1, Math.round(ratio));
        const main = mainFrame && mainFrame.size;
        const whole = main ? Math.min(natural, Math.floor(Math.min(width * ratio / main.width, height * ratio / main.height))) : natural;
        scale = whole >= 1 ? whole / ratio : Math.min(width / main.width, height / main.height);
        area = { width: width / scale, height: height / scale };
        // A transform, not a zoom: the layout stays in whole picture pixels, and only the painting scales.
        desktop.style.transform = `scale(${scale})`;
        desktop.style.width = area.width + "px";
        desktop.style.height = area.height + "px";
        for (const frame of [...windows.values(), ...boxes]) {
            if (!frame.shown) continue;
            if (frame.dragged) moveTo(frame, frame.x, frame.y);
            else centre(frame);
        }
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
})();

// Emscripten's loader reads this; the program starts when its main() runs.
var Module = { noExitRuntime: true };

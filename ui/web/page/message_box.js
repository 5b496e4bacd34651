// The program's message box: modal to every game window until its OK, close box or Escape closes it.
"use strict";

(function () {
    const { element } = Glouto.dom;
    const frames = Glouto.frames;

    // Tells the program when the player has closed box `id`; the game windows take no pointer, key
    // or focus till then, and a menu left open closes, as the platforms' own boxes close it.
    Glouto.messageBox = function (id, prompt, stopIcon, title) {
        Glouto.menus.closeAll();
        frames.gameWindowsInert(true);
        const shade = element("div", "modalshade", frames.desktop);
        const box = frames.make("window messagebox active", title);
        box.node.setAttribute("role", "alertdialog");
        const body = element("div", "boxbody", box.node);
        if (stopIcon) element("div", "stopicon", body);
        element("div", "prompt", body).textContent = prompt;
        const ok = element("button", "button ok", element("div", "boxbuttons", box.node));
        ok.type = "button";
        ok.textContent = "OK";
        Glouto.dom.reach(ok);
        const layer = frames.nextLayer();
        shade.style.zIndex = layer;
        box.node.style.zIndex = layer + 1;
        box.shown = true;
        Glouto.fitWindow(box);
        frames.makeDraggable(box);
        frames.boxes.add(box);
        ok.focus({ preventScroll: true });
        const close = () => {
            if (!frames.boxes.delete(box)) return;
            box.node.remove();
            shade.remove();
            frames.gameWindowsInert(false);
            Glouto.program.call("box_closed", id);
        };
        ok.addEventListener("click", close);
        box.closeBox.addEventListener("click", close);
        box.node.addEventListener("keydown", (event) => {
            if (event.key === "Escape") close();
        });
    };
})();

// A window's menu bar: titles that open their drop-down, items that tell the program they were chosen.
"use strict";

(function () {
    const { element, reach } = Glouto.dom;

    function closeAll(frame) {
        for (const drop of frame.node.querySelectorAll(".dropdown")) drop.hidden = true;
        for (const title of frame.node.querySelectorAll(".menutitle")) title.classList.remove("open");
    }

    Glouto.menus = {
        closeAll() {
            for (const frame of Glouto.frames.windows.values()) closeAll(frame);
        },
        make(windowId, def, frame) {
            const bar = element("div", "menubar", frame.node);
            def.menus.forEach((menu, menuIndex) => {
                const title = element("div", "menutitle", bar);
                title.textContent = menu.caption;
                reach(title);
                // Beside its title, not in it: a browser guessing which control a finger meant
                // prefers a control inside another, and would take the items over the title.
                const drop = element("div", "dropdown", bar);
                drop.hidden = true;
                menu.items.forEach((item, itemIndex) => {
                    if (item.separator) {
                        element("div", "separator", drop);
                        return;
                    }
                    const entry = element("div", "menuitem", drop);
                    entry.textContent = item.caption;
                    entry.addEventListener("click", () => {
                        closeAll(frame);
                        Glouto.program.call("menu_item", windowId, menuIndex, itemIndex);
                    });
                });
                title.addEventListener("click", () => {
                    const opening = drop.hidden;
                    closeAll(frame);
                    drop.style.left = title.offsetLeft + "px";
                    drop.hidden = !opening;
                    title.classList.toggle("open", opening);
                });
            });
        },
    };

    // A press anywhere but on a menu closes every open menu.
    document.addEventListener("pointerdown", (event) => {
        for (const frame of Glouto.frames.windows.values())
            if (!event.target.closest || !event.target.closest(".menutitle, .dropdown")) closeAll(frame);
    });
})();

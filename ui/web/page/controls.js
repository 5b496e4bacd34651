// The controls of a window's definition as page elements, and the lines drawn under them.
"use strict";

(function () {
    const { element, place, picture, reach } = Glouto.dom;

    Glouto.controls = {
        // Lines of one container, in an overlay that takes no clicks. They are drawn on the container
        // itself, so they go first: the controls it holds lie over them.
        drawLines(lines, container, parent) {
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
        },

        make(windowId, index, def, pictureBackground) {
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
                reach(node);
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
                node.addEventListener("click", () => Glouto.program.call("button", windowId, index));
            }
            place(node, def.x, def.y, def.width, def.height);
            node.hidden = !def.visible;
            return node;
        },
    };
})();

// Making and placing the page's elements.
"use strict";

Glouto.dom = {
    element(tag, className, parent) {
        const made = document.createElement(tag);
        if (className) made.className = className;
        if (parent) parent.appendChild(made);
        return made;
    },

    place(node, x, y, width, height) {
        node.style.left = x + "px";
        node.style.top = y + "px";
        if (width !== undefined) {
            node.style.width = width + "px";
            node.style.height = height + "px";
        }
    },

    // The invisible square in which a finger works a control (see the style's reach).
    reach(control) {
        Glouto.dom.element("span", "reach", control);
        return control;
    },

    picture(url, parent) {
        const image = Glouto.dom.element("img", "", parent);
        image.src = url;
        image.alt = "";
        image.draggable = false;
        return image;
    },
};

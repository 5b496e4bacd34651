// The page's way into the C++ program, and the namespace the page's scripts share.
"use strict";

const Glouto = {};

// Emscripten's loader reads this; the program starts when its main() runs.
var Module = { noExitRuntime: true };

Glouto.program = {
    ended: false,
    // Nothing reaches a program that has ended.
    call(name, ...args) {
        if (this.ended) return 0;
        return Module["_glouto_" + name](...args);
    },
};

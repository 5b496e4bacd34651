// The page's way into the C++ program, and the namespace the page's scripts share.
"use strict";

const Glouto = {};

// Emscripten's loader reads this; the program starts when its main() runs.
var Module = { noExitRuntime: true };

Glouto.program = {
    // The C++ side reads no event while a box holds its handler: Asyncify has unwound its stack.
    busy: false,
    ended: false,
    call(name, ...args) {
        if (this.busy || this.ended) return 0;
        return Module["_glouto_" + name](...args);
    },
};

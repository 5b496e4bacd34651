// Firefox for the page's tests: takes one JSON request a line on stdin, answers one JSON line on stdout.
// Debian has no geckodriver, so Puppeteer drives Firefox through WebDriver BiDi instead.
import puppeteer from "puppeteer-core";
import readline from "node:readline";

let browser;
let page;
const fingers = new Map();

function viewport({ width, height, scale, touch }) {
    return { width, height, deviceScaleFactor: scale, hasTouch: touch };
}

const operations = {
    async launch(request) {
        browser = await puppeteer.launch({
            browser: "firefox",
            executablePath: request.executable,
            headless: true,
            protocol: "webDriverBiDi",
            defaultViewport: viewport(request),
            // Nothing but the page under test may use the network or the processor.
            extraPrefsFirefox: {
                "app.update.enabled": false,
                "browser.safebrowsing.malware.enabled": false,
                "browser.safebrowsing.phishing.enabled": false,
                "datareporting.policy.dataSubmissionEnabled": false,
                "network.captive-portal-service.enabled": false,
                "network.connectivity-service.enabled": false,
                // A touch screen as the only pointer, as on a phone, for a session that asks for one.
                ...(request.touch ? {
                    "dom.w3c_touch_events.enabled": 1,
                    "dom.w3c_touch_events.legacy_apis.enabled": true,
                    "dom.maxtouchpoints.testing.value": 5,
                    "ui.primaryPointerCapabilities": 1,
                    "ui.allPointerCapabilities": 1,
                } : {}),
            },
        });
        [page] = await browser.pages();
        await page.setViewport(viewport(request));
        return browser.process().pid;
    },
    async viewport(request) {
        await page.setViewport(viewport(request));
    },
    async open({ url, timeout }) {
        await page.goto(url, { waitUntil: "load", timeout });
    },
    async run({ script, args }) {
        return page.evaluate(`(function () {\n${script}\n}).apply(null, ${JSON.stringify(args)})`);
    },
    async keyDown({ key }) {
        await page.keyboard.down(key);
    },
    async keyUp({ key }) {
        await page.keyboard.up(key);
    },
    async keys({ keys, hold }) {
        for (const key of keys) await page.keyboard.down(key);
        for (const key of hold ? [] : keys) await page.keyboard.up(key);
    },
    async mouse({ action, x, y }) {
        await page.mouse.move(x, y);
        if (action === "down") await page.mouse.down();
        if (action === "up") await page.mouse.up();
    },
    async touchStart({ finger, x, y }) {
        fingers.set(finger, await page.touchscreen.touchStart(x, y));
    },
    async touchMove({ finger, x, y }) {
        await fingers.get(finger).move(x, y);
    },
    async touchEnd({ finger }) {
        await fingers.get(finger).end();
        fingers.delete(finger);
    },
    async screenshot() {
        return Buffer.from(await page.screenshot({ type: "png" })).toString("base64");
    },
    async visitOtherTab() {
        const other = await browser.newPage();
        await other.bringToFront();
        await other.close();
        await page.bringToFront();
    },
    async close() {
        await browser?.close();
    },
};

const lines = readline.createInterface({ input: process.stdin });
for await (const line of lines) {
    const request = JSON.parse(line);
    let answer;
    try {
        answer = { value: (await operations[request.op](request)) ?? null };
    } catch (error) {
        answer = { error: String(error?.stack ?? error) };
    }
    process.stdout.write(JSON.stringify(answer) + "\n");
    if (request.op === "close") break;
}
process.exit(0);

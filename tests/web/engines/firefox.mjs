// Firefox ESR through WebDriver BiDi with Puppeteer. Language, colour
// scheme and touch are preferences of the profile, so each combination has
// a browser of its own, started when first asked for; each page gets a
// fresh user context in it.
import { existsSync } from "node:fs";
import puppeteer from "puppeteer-core";
import { byId, recordPolicyViolations } from "../harness.mjs";
import { ready, splitKey } from "./common.mjs";

export const firefoxPath = process.env.VELMORA_FIREFOX ||
    ["/usr/bin/firefox-esr", "/usr/lib/firefox-esr/firefox-esr"].find(existsSync);

function preferences({ locale, colorScheme, touch }) {
    return {
        "intl.accept_languages": locale,
        // 0 dark, 1 light, whatever the desktop's theme.
        "layout.css.prefers-color-scheme.content-override": colorScheme === "dark" ? 0 : 1,
        // A touch screen as the only pointer: coarse, no hover.
        ...(touch ? { "dom.w3c_touch_events.enabled": 1, "ui.primaryPointerCapabilities": 1,
                      "ui.allPointerCapabilities": 1 } : {}),
    };
}

export async function start() {
    const browsers = new Map();
    const browserFor = options => {
        const key = JSON.stringify(preferences(options));
        if (!browsers.has(key)) {
            browsers.set(key, puppeteer.launch({ browser: "firefox", protocol: "webDriverBiDi",
                executablePath: firefoxPath, headless: true, timeout: 60000,
                extraPrefsFirefox: preferences(options) }));
        }
        return browsers.get(key);
    };
    const version = await (await browserFor({ locale: "en-US" })).version();
    return {
        name: "firefox",
        version,
        initScript: true,
        async open({ url, viewport = { width: 560, height: 300 }, locale = "en-US",
                     colorScheme = "light", touch = false, wait = true }) {
            const browser = await browserFor({ locale, colorScheme, touch });
            const context = await browser.createBrowserContext();
            const page = await context.newPage();
            page.setDefaultTimeout(15000);
            await page.setViewport({ ...viewport, deviceScaleFactor: 1 });
            await page.evaluateOnNewDocument(recordPolicyViolations);
            const result = wrap(page, context);
            await result.goto(url, { wait });
            return result;
        },
        async stop() {
            for (const browser of browsers.values())
                await (await browser.catch(() => null))?.close();
        },
    };
}

// Puppeteer's key names are Playwright's, one key at a time; its space is " ".
async function press(keyboard, combo) {
    const { modifiers, key: name } = splitKey(combo);
    const key = name === "Space" ? " " : name;
    for (const modifier of modifiers)
        await keyboard.down(modifier);
    await keyboard.press(/^[a-z]$/i.test(key) && modifiers.length ? `Key${key.toUpperCase()}` : key);
    for (const modifier of modifiers.reverse())
        await keyboard.up(modifier);
}

function wrap(page, context) {
    return {
        // Without waiting for the program: once the page is parsed.
        async goto(url, { wait = true } = {}) {
            await page.goto(url, { waitUntil: wait ? "load" : "domcontentloaded" });
            if (wait)
                await ready(this);
        },
        // Back in the tab's history, waiting for the page it lands on. A page
        // restored from Firefox's back-forward cache at times reports no load
        // to wait for: after a few seconds the navigation is over either
        // way, and the scenario checks where it landed.
        async back() {
            try {
                await page.goBack({ timeout: 5000 });
            } catch (error) {
                if (error.name !== "TimeoutError")
                    throw error;
            }
        },
        async reload() {
            await page.reload();
            await ready(this);
        },
        click: id => page.click(byId(id)),
        // Touch actions whatever the profile: Firefox takes them.
        tap: id => page.tap(byId(id)),
        type: text => page.keyboard.type(text),
        press: key => press(page.keyboard, key),
        async wheel(id) {
            await page.hover(byId(id));
            await page.mouse.wheel({ deltaY: 120 });
        },
        // Puppeteer's own choice of an option, by its value: the list's
        // pop-up belongs to the browser, out of reach of BiDi's input.
        async choose(id, label) {
            const value = await page.$eval(byId(id), (list, label) =>
                [...list.options].find(o => o.text === label).value, label);
            await page.select(byId(id), value);
        },
        eval: (fn, arg) => page.evaluate(fn, arg),
        screenshot: async () => Buffer.from(await page.screenshot()),
        close: () => context.close(),
    };
}

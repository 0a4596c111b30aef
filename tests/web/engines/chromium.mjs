// Chromium through Playwright: one browser, a fresh context for each page.
import { chromium } from "playwright-core";
import { byId, chromiumArgs, chromiumPath, recordPolicyViolations } from "../harness.mjs";
import { ready } from "./common.mjs";

export async function start() {
    const browser = await chromium.launch({ executablePath: chromiumPath, args: chromiumArgs, timeout: 60000 });
    return {
        name: "chromium",
        version: browser.version(),
        initScript: true,
        async open({ url, viewport = { width: 560, height: 300 }, locale = "en-US",
                     colorScheme = "light", touch = false, wait = true }) {
            const context = await browser.newContext({ viewport, locale, colorScheme,
                hasTouch: touch, isMobile: touch });
            context.setDefaultTimeout(15000);
            await context.addInitScript(recordPolicyViolations);
            const page = await context.newPage();
            const result = wrap(page, context, touch);
            await result.goto(url, { wait });
            return result;
        },
        stop: () => browser.close(),
    };
}

function wrap(page, context, touch) {
    return {
        // Without waiting for the program: once the page is parsed.
        async goto(url, { wait = true } = {}) {
            await page.goto(url, { waitUntil: wait ? "load" : "domcontentloaded" });
            if (wait)
                await ready(this);
        },
        // Back in the tab's history, waiting for the page it lands on.
        back: () => page.goBack(),
        async reload() {
            await page.reload();
            await ready(this);
        },
        click: id => page.click(byId(id)),
        tap: id => touch ? page.tap(byId(id)) : page.click(byId(id)),
        type: text => page.keyboard.type(text),
        press: key => page.keyboard.press(key),
        async wheel(id) {
            await page.hover(byId(id));
            await page.mouse.wheel(0, 120);
        },
        // Playwright's own choice of an option: a native list's pop-up is
        // out of reach of input events.
        choose: (id, label) => page.selectOption(byId(id), { label }).then(() => {}),
        eval: (fn, arg) => page.evaluate(fn, arg),
        screenshot: () => page.screenshot(),
        setOffline: offline => context.setOffline(offline),
        close: () => context.close(),
    };
}

// WebKitGTK's MiniBrowser through WebKitWebDriver and Selenium, on an X
// server of its own. The browser takes its language from the driver's
// environment, so each language has a driver of its own; each page is a
// session of its own, in a browser of its own.
import { spawn } from "node:child_process";
import { existsSync, mkdirSync, mkdtempSync, rmSync } from "node:fs";
import { get } from "node:http";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { Builder, By, Key } from "selenium-webdriver";
import { Pointer } from "selenium-webdriver/lib/input.js";
import { byId } from "../harness.mjs";
import { ready, sleep, splitKey, waitFor } from "./common.mjs";

export const webkitDriverPath = process.env.VELMORA_WEBKIT_DRIVER || "/usr/bin/WebKitWebDriver";
export const miniBrowserPath = process.env.VELMORA_MINIBROWSER ||
    ["/usr/lib/x86_64-linux-gnu", "/usr/lib/aarch64-linux-gnu", "/usr/lib", "/usr/libexec"]
        .map(dir => `${dir}/webkit2gtk-4.1/MiniBrowser`).find(existsSync);

// Processes started here, ended with the run; each under timeout(1), should
// this process be killed before it can end them.
const children = [];
const killAll = () => children.forEach(child => child.kill());
process.once("exit", killAll);

function track(command, args, options) {
    const child = spawn("timeout", ["600", command, ...args], options);
    children.push(child);
    child.on("exit", () => children.splice(children.indexOf(child), 1));
    return child;
}

// Xvfb picks a free display itself and writes its number once it listens.
async function startX() {
    const server = track("Xvfb", ["-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        { stdio: ["ignore", "ignore", "ignore", "pipe"] });
    const display = await new Promise((resolve, reject) => {
        let text = "";
        const timer = setTimeout(() => reject(new Error("Xvfb did not start")), 15000);
        server.once("exit", code => reject(new Error(`Xvfb exited with ${code}`)));
        server.stdio[3].on("data", data => {
            text += data;
            if (text.includes("\n")) {
                clearTimeout(timer);
                resolve(`:${text.trim()}`);
            }
        });
    });
    return { server, display };
}

const run = (command, args) => new Promise((resolve, reject) => {
    const child = spawn(command, args, { stdio: ["ignore", "ignore", "pipe"] });
    let log = "";
    child.stderr.on("data", data => { log += data; });
    child.on("error", reject);
    child.on("exit", code => code === 0 ? resolve() : reject(new Error(`${command} failed: ${log}`)));
});

// Ends a process started here and waits until it has gone.
function end(child) {
    if (child.exitCode !== null || child.signalCode !== null)
        return Promise.resolve();
    const gone = new Promise(resolve => child.once("exit", resolve));
    child.kill();
    return gone;
}

const freePort = () => new Promise((resolve, reject) => {
    const probe = createServer().listen(0, "127.0.0.1", () => {
        const { port } = probe.address();
        probe.close(() => resolve(port));
    }).on("error", reject);
});

const answers = url => new Promise(resolve =>
    get(url, response => { response.resume(); resolve(response.statusCode === 200); }).on("error", () => resolve(false)));

// A WebKitWebDriver whose browsers speak the given language.
async function startDriver(display, home, locale) {
    const port = await freePort();
    const posix = locale.replace("-", "_");
    // The language's conventions built from the locales' sources into a
    // folder of its own: the machine need not have generated them.
    const locales = join(home, "locale");
    mkdirSync(locales, { recursive: true });
    await run("localedef", ["-i", posix, "-f", "UTF-8", join(locales, `${posix}.UTF-8`)]);
    const driver = track(webkitDriverPath, [`--port=${port}`], {
        stdio: ["ignore", "ignore", "pipe"],
        env: { ...process.env, DISPLAY: display, LOCPATH: locales, LANGUAGE: posix, LANG: `${posix}.UTF-8`, LC_ALL: "",
               XDG_RUNTIME_DIR: home, XDG_CACHE_HOME: join(home, "cache"), XDG_DATA_HOME: join(home, "data"),
               XDG_CONFIG_HOME: join(home, "config"), NO_AT_BRIDGE: "1", WAYLAND_DISPLAY: "" },
    });
    let log = "";
    driver.stderr.on("data", data => { log = (log + data).slice(-4000); });
    const url = `http://127.0.0.1:${port}`;
    for (let i = 0; i < 150; ++i) {
        if (driver.exitCode !== null)
            throw new Error(`WebKitWebDriver exited: ${log}`);
        if (await answers(`${url}/status`))
            return { driver, url };
        await sleep(100);
    }
    throw new Error(`WebKitWebDriver did not answer: ${log}`);
}

export async function start() {
    const home = mkdtempSync(join(tmpdir(), "velmora-webkit-"));
    const x = await startX();
    const drivers = new Map();
    const driverFor = locale => {
        if (!drivers.has(locale))
            drivers.set(locale, startDriver(x.display, home, locale));
        return drivers.get(locale);
    };
    const session = async (locale, colorScheme) => new Builder().usingServer((await driverFor(locale)).url)
        .withCapabilities({
            browserName: "MiniBrowser",
            // Full screen: no tool bar, so the window is the viewport.
            "webkitgtk:browserOptions": { binary: miniBrowserPath,
                args: ["--automation", "--full-screen", ...(colorScheme === "dark" ? ["--dark-mode"] : [])] },
        }).build();
    const first = await session("en-US", "light");
    const version = (await first.getCapabilities()).get("browserVersion");
    await first.quit();
    return {
        name: "webkit",
        version,
        // Classic WebDriver runs no script before the page's own.
        initScript: false,
        async open({ url, viewport = { width: 560, height: 300 }, locale = "en-US", colorScheme = "light",
                     wait = true }) {
            const driver = await session(locale, colorScheme);
            try {
                await driver.manage().setTimeouts({ script: 20000, pageLoad: 20000 });
                await driver.get("about:blank");
                await fitViewport(driver, viewport);
                const page = wrap(driver);
                await page.goto(url, { wait });
                return page;
            } catch (error) {
                await driver.quit().catch(() => {});
                throw error;
            }
        },
        async stop() {
            const ended = [];
            for (const started of drivers.values()) {
                const { driver } = await started.catch(() => ({}));
                if (driver)
                    ended.push(end(driver));
            }
            await Promise.all(ended);
            await end(x.server);
            process.off("exit", killAll);
            // The browsers' last processes may still be writing their caches.
            rmSync(home, { recursive: true, force: true, maxRetries: 20, retryDelay: 100 });
        },
    };
}

// A new window may not take its size at once: asks again until it has.
async function fitViewport(session, { width, height }) {
    let inner;
    for (let i = 0; i < 30; ++i) {
        await session.manage().window().setRect({ x: 0, y: 0, width, height });
        inner = await session.executeScript("return [innerWidth, innerHeight]");
        if (inner[0] === width && inner[1] === height)
            return;
        await sleep(100);
    }
    throw new Error(`a ${width}x${height} window shows a ${inner.join("x")} viewport`);
}

const keys = {
    Tab: Key.TAB, ArrowDown: Key.ARROW_DOWN, ArrowUp: Key.ARROW_UP, End: Key.END, Home: Key.HOME,
    ArrowLeft: Key.ARROW_LEFT, ArrowRight: Key.ARROW_RIGHT, PageDown: Key.PAGE_DOWN, PageUp: Key.PAGE_UP,
    Enter: Key.ENTER, Escape: Key.ESCAPE, Space: Key.SPACE, F1: Key.F1, F5: Key.F5, Backspace: Key.BACK_SPACE,
    Control: Key.CONTROL, Shift: Key.SHIFT, Alt: Key.ALT,
};
const keyOf = name => keys[name] ?? name.toLowerCase();

function wrap(session) {
    const element = id => session.findElement(By.css(byId(id)));
    // In sight first, as the other drivers do before they point at it.
    const reach = async id => {
        const found = await element(id);
        await session.executeScript("arguments[0].scrollIntoView({ block: 'nearest', inline: 'nearest' });", found);
        return found;
    };
    return {
        // Without waiting for the program: the driver's own navigation waits
        // for the load, which a program held back delays; once parsed then.
        async goto(url, { wait = true } = {}) {
            if (wait) {
                await session.get(url);
                await ready(this);
                return;
            }
            await session.executeScript("location.href = arguments[0];", url);
            await waitFor(this, url => location.href === url && document.readyState !== "loading", url,
                { what: "the page to be parsed" });
        },
        // Back in the tab's history: the driver waits for the page it lands on.
        back: () => session.navigate().back(),
        async reload() {
            await session.navigate().refresh();
            await ready(this);
        },
        click: async id => session.actions().move({ origin: await reach(id) }).click().perform(),
        // A touch action: WebKitGTK without a touch screen hands it to the
        // page as the mouse's.
        async tap(id) {
            const finger = new Pointer("finger", Pointer.Type.TOUCH);
            await session.actions().insert(finger,
                finger.move({ origin: await reach(id) }), finger.press(), finger.release()).perform();
        },
        type: text => session.actions().sendKeys(text).perform(),
        async press(combo) {
            const { modifiers, key } = splitKey(combo);
            let actions = session.actions();
            for (const modifier of modifiers)
                actions = actions.keyDown(keyOf(modifier));
            actions = actions.sendKeys(keyOf(key));
            for (const modifier of modifiers.reverse())
                actions = actions.keyUp(keyOf(modifier));
            await actions.perform();
        },
        wheel: async id => session.actions().scroll(0, 0, 0, 120, await reach(id)).perform(),
        // WebDriver's click on an option chooses it, as the user does in the
        // list's pop-up.
        choose: async (id, label) =>
            (await element(id)).findElement(By.xpath(`./option[normalize-space()="${label}"]`)).then(o => o.click()),
        eval: (fn, arg) => session.executeScript(`return (${fn}).call(null, arguments[0]);`, arg),
        // After the next frame: a window just shown may not have drawn yet,
        // and its picture comes out black.
        async screenshot() {
            await session.executeAsyncScript("requestAnimationFrame(() => requestAnimationFrame(arguments[0]));");
            return Buffer.from(await session.takeScreenshot(), "base64");
        },
        close: () => session.quit(),
    };
}

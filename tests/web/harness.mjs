// Shared by the page's tests: the built site served by Python's http.server
// on a port of the kernel's choosing, the system's Chromium, and a fresh
// browser context for each test.
import { after, before } from "node:test";
import { spawn } from "node:child_process";
import { createHash } from "node:crypto";
import { readFileSync } from "node:fs";
import { cp, mkdtemp, readFile, rm, writeFile } from "node:fs/promises";
import { createServer } from "node:http";
import { tmpdir } from "node:os";
import { extname, join } from "node:path";
import { createInterface } from "node:readline";
import { chromium } from "playwright-core";

export const siteDir = process.env.VELMORA_WEB_SITE;
export const chromiumPath = process.env.VELMORA_CHROMIUM || "/usr/bin/chromium";

// No sandbox for containers; nothing that reaches out to the network.
export const chromiumArgs = [
    "--no-sandbox", "--disable-gpu", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--no-first-run", "--disable-quic",
];

// The ten fields in the order the tests read them.
export const fields = ["Text1", "Text2", "Combo1", "Combo2",
    "Text3(0)", "Text3(1)", "Text3(2)", "Text3(3)", "Text3(4)", "Text3(5)"];
export const timeFields = fields.slice(4);

// The fields' colours as the window's rules have them, written as CSS computes them.
const rulesHeader = readFileSync(new URL("../../main_window/form1_rules.h", import.meta.url), "utf8");
const designColour = name =>
    `rgb(${new RegExp(`${name}\\{(\\d+), (\\d+), (\\d+)\\}`).exec(rulesHeader).slice(1).join(", ")})`;
export const resultColour = designColour("ResultBackColour");
export const inputColour = designColour("InputBackColour");

// Ids like Text3(0) need an attribute selector.
export const byId = id => `[id="${id}"]`;

// Serves dir until stop(); the server ends by itself after a while, should
// this process die before stopping it.
export async function serve(dir = siteDir) {
    if (!dir)
        throw new Error("VELMORA_WEB_SITE must name the built site");
    const server = spawn("timeout", ["900", "python3", "-u", "-m", "http.server", "0",
        "--bind", "127.0.0.1", "--directory", dir], { stdio: ["ignore", "pipe", "ignore"] });
    const stop = () => { if (server.exitCode === null && server.signalCode === null) server.kill(); };
    process.on("exit", stop);
    const lines = createInterface({ input: server.stdout });
    const port = await new Promise((resolve, reject) => {
        const timer = setTimeout(() => reject(new Error("http.server did not start")), 15000);
        server.once("exit", code => reject(new Error(`http.server exited with ${code}`)));
        lines.on("line", line => {
            const found = /port (\d+)/.exec(line);
            if (found) {
                clearTimeout(timer);
                resolve(Number(found[1]));
            }
        });
    }).catch(error => { stop(); throw error; });
    return { url: `http://127.0.0.1:${port}/`, stop };
}

const types = { ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
    ".png": "image/png", ".webmanifest": "application/manifest+json" };

// A server of the test's own, where python's cannot do: headers of a static
// host (cacheControl), a site swapped for the next build (site.dir), a file
// held back until released (site.hold("velmora.wasm")), and files whose
// every download breaks off (site.broken.add("velmora.wasm")); each
// request's file name is noted in site.requests.
export async function serveSite({ dir = siteDir, cacheControl } = {}) {
    const held = new Map();
    const site = {
        dir,
        broken: new Set(),
        requests: [],
        hold(name) {
            let release;
            held.set(name, new Promise(resolve => { release = resolve; }));
            return () => { held.delete(name); release(); };
        },
    };
    const server = createServer(async (request, response) => {
        const name = decodeURIComponent(new URL(request.url, "http://host").pathname.slice(1)) || "index.html";
        site.requests.push(name);
        await held.get(name);
        if (site.broken.has(name))
            return request.socket.destroy();
        try {
            const body = await readFile(join(site.dir, name.replace(/\.\.+/g, "")));
            response.writeHead(200, { "Content-Type": types[extname(name)] ?? "application/octet-stream",
                ...(cacheControl ? { "Cache-Control": cacheControl } : {}) });
            response.end(body);
        } catch {
            response.writeHead(404).end();
        }
    });
    await new Promise(resolve => server.listen(0, "127.0.0.1", resolve));
    site.url = `http://127.0.0.1:${server.address().port}/`;
    site.stop = () => new Promise(resolve => {
        server.closeAllConnections();
        server.close(() => resolve());
    });
    return site;
}

// A copy of the site as its next build: the page marked <meta name="build"
// content="next">, the program with a custom section more, and a worker
// that keeps those files by their new hashes.
export async function nextBuild(dir) {
    await cp(siteDir, dir, { recursive: true });
    const integrity = bytes => `sha256-${createHash("sha256").update(bytes).digest("base64")}`;
    const index = await readFile(join(dir, "index.html"), "utf8");
    const page = index.replace("<title>", '<meta name="build" content="next">\n<title>');
    const program = await readFile(join(dir, "velmora.wasm"));
    // Section 0, five bytes long: a name of four bytes, "next".
    const next = Buffer.concat([program, Buffer.from([0, 5, 4, ...Buffer.from("next")])]);
    let worker = await readFile(join(dir, "sw.js"), "utf8");
    worker = worker.replace(integrity(index), integrity(page)).replace(integrity(program), integrity(next))
        .replace(/(const CACHE = OWN \+ ")[^"]*/, "$1next");
    await writeFile(join(dir, "index.html"), page);
    await writeFile(join(dir, "velmora.wasm"), next);
    await writeFile(join(dir, "sw.js"), worker);
}

export function launch() {
    return chromium.launch({ executablePath: chromiumPath, args: chromiumArgs, timeout: 60000 });
}

// Waits until the program has taken over the window the page shows, and
// done what the reader did before: the page marks the window ready.
export async function ready(page) {
    await page.waitForSelector("#Form1[data-ready]", { state: "attached", timeout: 20000 });
}

// Records every violation of the page's security policy from the document's
// start, as script source that any driver can run before the page's own.
export const recordPolicyViolations = `(() => {
    globalThis.policyViolations = [];
    document.addEventListener("securitypolicyviolation", event =>
        globalThis.policyViolations.push(event.effectiveDirective + ": " + (event.blockedURI || event.sample)), true);
})();`;

// Every page runs under its security policy; a violation of it fails the
// test that opened the page.
export async function watchPolicy(t, context) {
    await context.addInitScript(recordPolicyViolations);
    t.after(async () => {
        for (const page of context.pages()) {
            const violations = await page.evaluate(() => globalThis.policyViolations ?? []).catch(() => []);
            if (violations.length)
                throw new Error(`security policy violated:\n${violations.join("\n")}`);
        }
    });
}

// One server and one browser for a test file; open() gives each test its own
// context, closed when the test ends.
export function useSite() {
    const site = {};
    before(async () => {
        site.server = await serve();
        site.browser = await launch();
    });
    after(async () => {
        await site.browser?.close();
        site.server?.stop();
    });
    site.open = async (t, contextOptions = {}) => {
        const context = await site.browser.newContext(contextOptions);
        await watchPolicy(t, context);
        t.after(() => context.close());
        // A broken page fails its test well inside CTest's time limit.
        context.setDefaultTimeout(15000);
        const page = await context.newPage();
        await page.goto(site.server.url);
        await ready(page);
        return { context, page };
    };
    return site;
}

// What the user sees in each field: its value, and for a list its option's text.
export function read(page, ids = fields) {
    return page.evaluate(ids => ids.map(id => {
        const element = document.getElementById(id);
        return element.tagName === "SELECT" ? element.selectedOptions[0]?.text : element.value;
    }), ids);
}

// Replaces a field's text as a user does: click, select all, type key by key.
export async function retype(page, id, text) {
    await page.click(byId(id));
    await page.keyboard.press("Control+A");
    if (text === "")
        await page.keyboard.press("Backspace");
    else
        await page.keyboard.type(text);
}

export async function chooseMode(page, index) {
    await page.click(byId(`Option1(${index})`));
}

// A context of launch() is incognito, where nothing is installable and
// caches do not outlive the visit: a fresh profile of its own instead.
export async function profile(t) {
    const dir = await mkdtemp(join(tmpdir(), "velmora-profile-"));
    const context = await chromium.launchPersistentContext(dir,
        { executablePath: chromiumPath, args: chromiumArgs, timeout: 60000 });
    await watchPolicy(t, context);
    t.after(async () => {
        await context.close();
        await rm(dir, { recursive: true, force: true });
    });
    context.setDefaultTimeout(15000);
    return { context, page: context.pages()[0] ?? await context.newPage() };
}

// The site as a web server gives it, and the page offline once visited.
import { test } from "node:test";
import assert from "node:assert/strict";
import { cp, mkdtemp, readdir, readFile, rm, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";
import { chromiumArgs, chromiumPath, nextBuild, profile, read, ready, retype, serve, serveSite, siteDir, timeFields,
    useSite, watchPolicy } from "./harness.mjs";

const site = useSite();

test("every file the service worker keeps is built, served and kept, and only those", async t => {
    const { page } = await site.open(t);
    await page.evaluate(() => navigator.serviceWorker.ready);
    const kept = await page.evaluate(async () => {
        const [name] = await caches.keys();
        const requests = await (await caches.open(name)).keys();
        return requests.map(request => new URL(request.url).pathname.slice(1));
    });
    const built = (await readdir(siteDir)).filter(name => name !== "sw.js");
    assert.deepEqual([...kept].sort(), ["", ...built].sort());
    for (const name of kept) {
        const response = await page.request.get(new URL(name, page.url()).href);
        assert.equal(response.status(), 200, name);
        assert.ok((await response.body()).length > 0, name);
    }
});

// Asks again until the condition holds.
async function until(condition, timeout = 15000) {
    for (const end = Date.now() + timeout; !(await condition());) {
        if (Date.now() > end)
            throw new Error(`timed out waiting for ${condition}`);
        await new Promise(resolve => setTimeout(resolve, 100));
    }
}

// A static host's headers: the browser may keep every file ten minutes
// without asking.
test("a new build reaches a returning visitor by the second visit, and then works offline", async t => {
    const server = await serveSite({ dir: siteDir, cacheControl: "max-age=600" });
    t.after(server.stop);
    const next = await mkdtemp(join(tmpdir(), "velmora-next-"));
    t.after(() => rm(next, { recursive: true, force: true }));
    // The next build: another page, so another cache.
    await nextBuild(next);

    const { context, page } = await profile(t);
    await page.goto(server.url);
    await ready(page);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    // Another copy of the page on this host keeps its own cache.
    const other = `velmora ${new URL("other/", server.url).href} 1`;
    await page.evaluate(name => caches.open(name), other);
    const build = () => page.evaluate(() => document.querySelector('meta[name="build"]')?.content ?? "first");
    const cacheNames = async () => (await page.evaluate(() => caches.keys())).sort();

    server.dir = next;
    const asked = server.requests.length;
    // The first visit after the release still shows the first build, and
    // fetches the next one behind it.
    await page.reload();
    await ready(page);
    assert.equal(await build(), "first");
    // The next build's cache filled, and the first one's deleted.
    await until(async () => (await cacheNames()).join() === [other, `velmora ${server.url} next`].sort().join());
    assert.equal(await build(), "first", "the open page is not reloaded");
    // Only what changed, though the browser still holds the first build's.
    assert.deepEqual([...new Set(server.requests.slice(asked))].sort(), ["index.html", "sw.js", "velmora.wasm"]);

    await page.reload();
    await ready(page);
    assert.equal(await build(), "next");

    await server.stop();
    await context.setOffline(true);
    const response = await page.reload();
    assert.ok(response.fromServiceWorker());
    await ready(page);
    assert.equal(await build(), "next");
});

test("a failed download, or a program that cannot start, is told, and the window left as it is", async t => {
    const broken = await mkdtemp(join(tmpdir(), "velmora-broken-"));
    t.after(() => rm(broken, { recursive: true, force: true }));
    await cp(siteDir, broken, { recursive: true });
    await writeFile(join(broken, "velmora.wasm"), "not a program");
    const rows = [["a download that breaks off", siteDir, /could not load its program/],
        ["a program that does not compile", broken, /server's copy of its program/]];
    for (const [what, dir, told] of rows) {
        const server = await serveSite({ dir });
        t.after(server.stop);
        if (dir === siteDir)
            server.broken.add("velmora.wasm");
        const context = await site.browser.newContext();
        await watchPolicy(t, context);
        t.after(() => context.close());
        const page = await context.newPage();
        await page.goto(server.url);
        const window = await read(page);
        const notice = page.locator("#notice");
        await notice.waitFor({ state: "visible" });
        assert.equal(await notice.getAttribute("role"), "alert", what);
        assert.match(await notice.textContent(), told, what);
        assert.deepEqual(await read(page), window, what);
        assert.equal(await page.locator("#Form1[data-ready]").count(), 0, what);
    }
});


test("after one visit the page is installable and works offline", async t => {
    // A server of its own, stopped below: whatever the page still fetches
    // must come from its service worker.
    const server = await serve();
    t.after(server.stop);
    const { context, page } = await profile(t);
    await page.goto(server.url);
    await ready(page);
    await page.evaluate(() => navigator.serviceWorker.ready);
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);

    const cdp = await context.newCDPSession(page);
    const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
    assert.deepEqual(installabilityErrors, []);

    server.stop();
    await context.setOffline(true);
    const response = await page.reload();
    assert.ok(response.fromServiceWorker(), "the page comes from the service worker");
    await ready(page);
    await retype(page, "Text1", "64");
    assert.deepEqual(await read(page, timeFields), ["0", "0", "0", "0", "0", "2"]);
});

test("the page's policy refuses inline script and style, and says so", async t => {
    const { page } = await site.open(t);
    const policy = await page.$eval('meta[http-equiv="Content-Security-Policy"]', m => m.content);
    for (const directive of ["default-src 'self'", "script-src 'self' 'wasm-unsafe-eval'",
        "object-src 'none'", "base-uri 'none'", "form-action 'none'"])
        assert.ok(policy.includes(directive), `${directive} in ${policy}`);
    assert.doesNotMatch(policy, /'unsafe-inline'|'unsafe-eval'/);

    const ran = await page.evaluate(async () => {
        const script = document.createElement("script");
        script.textContent = "globalThis.injected = true";
        document.body.append(script);
        document.getElementById("Text1").setAttribute("style", "color: red");
        return globalThis.injected === true;
    });
    assert.equal(ran, false);
    // Both refusals are reported, whenever the browser gets round to it.
    await page.waitForFunction(() => globalThis.policyViolations.length >= 2);
    const violations = await page.evaluate(() => globalThis.policyViolations.splice(0));
    assert.deepEqual(violations.map(v => v.split(":")[0]).sort(), ["script-src-elem", "style-src-attr"]);
});

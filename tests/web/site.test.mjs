// The site as a web server gives it, and the page offline once visited.
import { test } from "node:test";
import assert from "node:assert/strict";
import { mkdtemp, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";
import { chromiumArgs, chromiumPath, read, ready, retype, serve, timeFields, useSite, watchPolicy } from "./harness.mjs";

const site = useSite();

test("the program is served as application/wasm", async t => {
    const { page } = await site.open(t);
    const response = await page.request.get(new URL("velmora.wasm", page.url()).href);
    assert.equal(response.headers()["content-type"], "application/wasm");
});

test("after one visit the page is installable and works offline", async t => {
    // A server of its own, stopped below: whatever the page still fetches
    // must come from its service worker.
    const server = await serve();
    t.after(server.stop);
    // A context of launch() is incognito, where nothing is installable: a
    // fresh profile of its own instead.
    const profile = await mkdtemp(join(tmpdir(), "velmora-profile-"));
    const context = await chromium.launchPersistentContext(profile,
        { executablePath: chromiumPath, args: chromiumArgs, timeout: 60000 });
    await watchPolicy(t, context);
    t.after(async () => {
        await context.close();
        await rm(profile, { recursive: true, force: true });
    });
    context.setDefaultTimeout(15000);
    const page = context.pages()[0] ?? await context.newPage();
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
        await new Promise(resolve => setTimeout(resolve, 100));
        return globalThis.injected === true;
    });
    assert.equal(ran, false);
    const violations = await page.evaluate(() => globalThis.policyViolations.splice(0));
    assert.deepEqual(violations.map(v => v.split(":")[0]).sort(), ["script-src-elem", "style-src-attr"]);
});

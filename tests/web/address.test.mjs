// Addresses nobody should write, opened and edited by hand; and an address
// with a calculation opened offline.
import { test } from "node:test";
import assert from "node:assert/strict";
import { mkdtemp, rm } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";
import { chromiumArgs, chromiumPath, read, ready, serve, useSite, watchPolicy } from "./harness.mjs";

const site = useSite();

const opening = ["32", "32", "KiloBytes", "KiloBytes/second", "0", "0", "0", "0", "0", "1"];
// The opening window with these fields changed, by their place in read()'s order.
const changed = edits => opening.map((value, i) => edits[i] ?? value);
const seconds = s => changed({ 9: s });
const zeroTime = { 4: "0", 5: "0", 6: "0", 7: "0", 8: "0", 9: "0" };

// [fragment, the mode, what the window then shows]
const rows = [
    ["size=1 024", 0, changed({ 0: "1 024", 9: "32" })],
    ["size=1.5e3", 0, changed({ 0: "1.5e3", 9: "46.88" })],
    ["size=abc", 0, changed({ 0: "abc", ...zeroTime })],
    ["colour=red&size=64", 0, changed({ 0: "64", 9: "2" })],
    ["size=64&size-unit=TB", 0, changed({ 0: "64", 9: "2" })],
    ["size-unit=MB/s&speed-unit=GB", 0, opening],
    ["calculate=time&seconds=5&size=64", 0, changed({ 0: "64", 9: "2" })],
    ["calculate=speed&speed=99&speed-unit=MB/s", 1, opening],
    ["calculate=data&size=5&size-unit=GB", 2, opening],
    ["calculate=volume&size=64", 0, changed({ 0: "64", 9: "2" })],
    ["SIZE=64&Size-Unit=mb", 0, changed({ 0: "64", 2: "MegaBytes", 8: "34", 9: "8" })],
    ["size=1&size=64", 0, changed({ 0: "64", 9: "2" })],
    [`size=${"%20".repeat(254)}64`, 0, changed({ 0: `${" ".repeat(254)}64`, 9: "2" })],
    [`size=${"%20".repeat(255)}64`, 0, opening],
    ["size=<img src=x onerror=alert(1)>", 0, changed({ 0: "<img src=x onerror=alert(1)>", ...zeroTime })],
    ["size=%zz&speed=%", 0, changed({ 0: "%zz", 1: "%", ...zeroTime })],
    ["size=%FF", 0, opening],
    ["size&=64&calculate=", 0, opening],
];

const mode = page => page.evaluate(() => [0, 1, 2].find(i => document.getElementById(`Option1(${i})`).checked));

test("a bad address opens the window as far as it makes sense, and breaks nothing", async t => {
    const { page } = await site.open(t);
    const errors = [];
    page.on("pageerror", error => errors.push(error.message));
    page.on("console", message => { if (message.type() === "error") errors.push(message.text()); });
    const pictures = () => page.evaluate(() => document.images.length);
    const images = await pictures();
    // The same address edited by hand into an open page, from the opening window.
    const { page: open } = await site.open(t);
    const setHash = fragment => open.evaluate(fragment => new Promise(resolve => {
        addEventListener("hashchange", () => setTimeout(resolve), { once: true });
        location.hash = fragment;
    }), fragment);

    for (const [fragment, expectedMode, window] of rows) {
        await page.goto("about:blank");
        await page.goto(`${site.server.url}#${fragment}`);
        await ready(page);
        const name = fragment.slice(0, 60);
        assert.deepEqual([await mode(page), await read(page)], [expectedMode, window], `opened: ${name}`);
        assert.equal(await pictures(), images, name);

        await setHash(fragment);
        assert.deepEqual([await mode(open), await read(open)], [expectedMode, window], `edited: ${name}`);
        // Names nothing usable: back to the opening window.
        await setHash("calculate=time");
    }
    assert.deepEqual(errors, []);
});

test("once visited, an address with a calculation opens offline", async t => {
    const server = await serve();
    t.after(server.stop);
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

    server.stop();
    await context.setOffline(true);
    await page.goto("about:blank");
    const response = await page.goto(`${server.url}#calculate=speed&size=4&size-unit=GB&minutes=6&seconds=49.6`);
    assert.ok(response.fromServiceWorker(), "the page comes from the service worker");
    await ready(page);
    assert.equal(await mode(page), 1);
    assert.deepEqual(await read(page), ["4", "10", "GigaBytes", "MegaBytes/second", "0", "0", "0", "0", "6", "49.6"]);
});

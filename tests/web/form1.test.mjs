// The main window in Chromium, driven with real clicks and keys.
import { test } from "node:test";
import assert from "node:assert/strict";
import { byId, chooseMode, fields, read, ready, retype, timeFields, useSite, watchPolicy, resultColour, inputColour } from "./harness.mjs";

const site = useSite();

const pink = resultColour;
const white = inputColour;

function locks(page) {
    return page.evaluate(ids => ids.map(id => {
        const element = document.getElementById(id);
        const locked = element.tagName === "SELECT"
            ? element.getAttribute("aria-readonly") === "true" : element.readOnly;
        return [id, locked, getComputedStyle(element).backgroundColor];
    }), fields);
}

test("each mode locks its result fields in pink and opens the others in white", async t => {
    const { page } = await site.open(t);
    const results = [timeFields, ["Text2", "Combo2"], ["Text1", "Combo1"]];
    // Time last: back from the others, not only as loaded.
    for (const mode of [1, 2, 0]) {
        await chooseMode(page, mode);
        const expected = fields.map(id => {
            const result = results[mode].includes(id);
            return [id, result, result ? pink : white];
        });
        assert.deepEqual(await locks(page), expected, `mode ${mode}`);
    }
    // The colours come from the style sheet, by each field's data-back.
    assert.equal(await page.evaluate(() => document.querySelectorAll("[style]").length), 0);
});

test("a locked field takes the focus but not the user's edits", async t => {
    const { page } = await site.open(t);
    await chooseMode(page, 1);
    const before = await read(page);

    await page.click(byId("Text2"));
    assert.equal(await page.evaluate(() => document.activeElement.id), "Text2");
    await page.keyboard.type("9");

    await page.click(byId("Combo2"));
    assert.equal(await page.evaluate(() => document.activeElement.id), "Combo2");
    for (const key of ["ArrowDown", "End", "m", "Alt+ArrowDown", "Enter"])
        await page.keyboard.press(key);
    await page.hover(byId("Combo2"));
    await page.mouse.wheel(0, 120);
    await page.click(byId("Combo2"));

    assert.deepEqual(await read(page), before);
});

test("every keystroke and a paste in Data Size recalculate the time", async t => {
    const { context, page } = await site.open(t);
    assert.deepEqual(await read(page, timeFields), ["0", "0", "0", "0", "0", "1"]);

    await retype(page, "Text1", "");
    assert.deepEqual(await read(page, timeFields), ["0", "0", "0", "0", "0", "0"]);
    // 32 KiloBytes/second.
    const rows = [["1", "0.03"], ["9", "0.59"], ["2", "6"], ["0", ["0", "0", "0", "0", "1", "0"]]];
    for (const [key, time] of rows) {
        await page.keyboard.type(key);
        const expected = Array.isArray(time) ? time : ["0", "0", "0", "0", "0", time];
        assert.deepEqual(await read(page, timeFields), expected, `after ${key}`);
    }

    await context.grantPermissions(["clipboard-read", "clipboard-write"]);
    await page.evaluate(() => navigator.clipboard.writeText("3686400"));
    await page.keyboard.press("Control+A");
    await page.keyboard.press("Control+V");
    assert.equal(await page.inputValue(byId("Text1")), "3686400");
    assert.deepEqual(await read(page, timeFields), ["0", "0", "1", "8", "0", "0"]);
});

test("each unit carries its multiplier as its value", async t => {
    const { page } = await site.open(t);
    const options = id => page.$$eval(`${byId(id)} option`, all => all.map(o => [o.text, o.value]));
    assert.deepEqual(await options("Combo1"), [["KiloBytes", "1024"], ["MegaBytes", "1048576"],
        ["GigaBytes", "1073741824"], ["Bytes", "1"]]);
    assert.deepEqual(await options("Combo2"), [["KiloBytes/second", "1024"],
        ["MegaBytes/second", "1048576"]]);
});

test("a new data size unit, by key or by choice, recalculates the time", async t => {
    const { page } = await site.open(t);
    // Reached by Tab: a click would open the list, where keys only browse.
    await page.click(byId("Text2"));
    await page.keyboard.press("Tab");
    await page.keyboard.press("ArrowDown");
    assert.deepEqual(await read(page, ["Combo1", ...timeFields]),
        ["MegaBytes", "0", "0", "0", "0", "17", "4"]);
    await page.selectOption(byId("Combo1"), { label: "GigaBytes" });
    assert.deepEqual(await read(page, ["Combo1", ...timeFields]),
        ["GigaBytes", "0", "1", "5", "3", "16", "16"]);
});

test("a calculated speed picks its unit at one MegaByte per second", async t => {
    const { page } = await site.open(t);
    await chooseMode(page, 1);
    await page.selectOption(byId("Combo1"), { label: "Bytes" });
    // The time is still the loaded 1 second.
    const rows = [["1048575", "1024", "KiloBytes/second"], ["1048576", "1", "MegaBytes/second"],
        ["1024", "1", "KiloBytes/second"]];
    for (const [bytes, speed, unit] of rows) {
        await retype(page, "Text1", bytes);
        assert.deepEqual(await read(page, ["Text2", "Combo2"]), [speed, unit], `${bytes} B/s`);
    }
});

test("a calculated size picks Bytes, KiloBytes, MegaBytes or GigaBytes", async t => {
    const { page } = await site.open(t);
    await chooseMode(page, 2);
    await retype(page, "Text2", "1");
    // Edits add up: 1 KiloBytes/second for the time so far.
    const rows = [
        ["Text3(5)", "0.5", "512", "Bytes"],
        ["Text3(5)", "1", "1", "KiloBytes"],
        ["Text3(3)", "1.5", "5.27", "MegaBytes"],
        ["Text3(1)", "200", "115.36", "GigaBytes"],
    ];
    for (const [id, text, size, unit] of rows) {
        await retype(page, id, text);
        assert.deepEqual(await read(page, ["Text1", "Combo1"]), [size, unit], `${id} ${text}`);
    }
});

test("a result too long for its box shows whole as the box's title, a short one has none", async t => {
    const { page } = await site.open(t);
    await chooseMode(page, 2);
    await retype(page, "Text2", "1E25");
    await retype(page, "Text3(5)", "3");
    const title = async id => {
        await page.hover(byId(id));
        return page.evaluate(id => document.getElementById(id).getAttribute("title"), id);
    };
    const [size] = await read(page, ["Text1"]);
    assert.equal(await title("Text1"), size);
    assert.equal(await title("Text3(5)"), null);
});

test("Tab goes through the window in its designed order", async t => {
    const { page } = await site.open(t);
    for (const mode of [0, 2]) {
        await chooseMode(page, mode);
        await page.click(byId("Text1"));
        const order = [];
        for (let i = 0; i < 10; ++i) {
            await page.keyboard.press("Tab");
            order.push(await page.evaluate(() => document.activeElement.id));
        }
        assert.deepEqual(order, ["Text2", "Combo1", "Combo2", `Option1(${mode})`,
            "Text3(3)", "Text3(4)", "Text3(5)", "Text3(0)", "Text3(1)", "Text3(2)"], `mode ${mode}`);
    }
});

test("what is typed and chosen before the loader and the program arrive is done in its order", async t => {
    const context = await site.browser.newContext();
    await watchPolicy(t, context);
    t.after(() => context.close());
    const page = await context.newPage();
    // The loader arrives when let; the program only once the user has acted.
    let arrive, act;
    const let_ = new Promise(resolve => { arrive = resolve; });
    const acted = new Promise(resolve => { act = resolve; });
    await page.route("**/velmora.js", async route => { await let_; await route.continue(); });
    await page.route("**/velmora.wasm", async route => { await acted; await route.continue(); });
    await page.goto(site.server.url, { waitUntil: "domcontentloaded" });
    // Never disabled: Chromium keeps a list enabled by script silent.
    assert.equal(await page.locator("#Form1 :disabled").count(), 0);
    // 64 KiloBytes at 32 KiloBytes/second first, then the size worked out.
    await retype(page, "Text1", "64");
    await chooseMode(page, 2);
    arrive();
    await page.waitForSelector("html[data-script]", { state: "attached" });
    await page.selectOption(byId("Combo2"), { label: "MegaBytes/second" });
    act();
    await ready(page);
    assert.deepEqual(await read(page, ["Text1", "Combo1", "Text2", "Combo2", ...timeFields]),
        ["64", "MegaBytes", "32", "MegaBytes/second", "0", "0", "0", "0", "0", "2"]);
    assert.deepEqual((await locks(page)).filter(([, locked]) => locked).map(([id]) => id),
        ["Text1", "Combo1"]);
});

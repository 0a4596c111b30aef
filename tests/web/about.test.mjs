// The About box: a modal <dialog> that OK, Enter and Escape close, handing
// the focus back.
import { test } from "node:test";
import assert from "node:assert/strict";
import { byId, read, useSite } from "./harness.mjs";

const site = useSite();

const state = page => page.evaluate(() => {
    const box = document.getElementById("frmAbout");
    return { open: box.open, modal: box.matches(":modal"), focus: document.activeElement.id };
});

const openers = {
    "a click on the logo": page => page.click("#Image1"),
    "F1": page => page.keyboard.press("F1"),
};
const closers = {
    "a click on OK": page => page.click("#cmdOK"),
    "Enter": page => page.keyboard.press("Enter"),
    "Escape": page => page.keyboard.press("Escape"),
    "the close box": page => page.click("#frmAbout-close"),
};

test("the About box opens modal and each way of closing it gives the focus back", async t => {
    const { page } = await site.open(t);
    const window = await read(page);
    for (const [opening, open] of Object.entries(openers)) {
        for (const [closing, close] of Object.entries(closers)) {
            const how = `${opening}, then ${closing}`;
            await page.click(byId("Text2"));
            await open(page);
            assert.deepEqual(await state(page), { open: true, modal: true, focus: "cmdOK" }, how);
            assert.deepEqual(await page.$$eval("#frmAbout-title, #lblTitle, #lblVersion",
                all => all.map(e => e.textContent)), ["About Velmora", "Velmora", "Version 1.0.2"], how);
            await close(page);
            assert.deepEqual(await state(page), { open: false, modal: false, focus: "Text2" }, how);
        }
    }
    assert.deepEqual(await read(page), window);
});

test("Tab and Shift+Tab in the About box move between OK and the logo only", async t => {
    const { page } = await site.open(t);
    await page.keyboard.press("F1");
    const order = [];
    for (const key of ["Tab", "Tab", "Tab", "Shift+Tab", "Shift+Tab"]) {
        await page.keyboard.press(key);
        order.push((await state(page)).focus);
    }
    assert.deepEqual(order, ["picIcon", "cmdOK", "picIcon", "cmdOK", "picIcon"]);
    // Enter presses OK from the logo too.
    await page.keyboard.press("Enter");
    assert.equal((await state(page)).open, false);
});

// What the page says to a screen reader beyond its controls: a result once
// typing pauses, a refused key on a locked list, and the About box's text;
// names as Chromium's accessibility tree gives them.
import { test } from "node:test";
import assert from "node:assert/strict";
import { byId, chooseMode, retype, useSite } from "./harness.mjs";

const site = useSite();

// Every text the live region takes, with its time after the last keystroke.
const listen = page => page.evaluate(() => {
    globalThis.spoken = [];
    document.addEventListener("input", () => { globalThis.mark = performance.now(); }, true);
    new MutationObserver(() => globalThis.spoken.push([document.getElementById("Form1-spoken").textContent,
        performance.now() - globalThis.mark])).observe(document.getElementById("Form1-spoken"),
        { childList: true, characterData: true, subtree: true });
});
const spoken = page => page.evaluate(() => globalThis.spoken.splice(0));
const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// The engine's own name and description of an element.
async function accessible(page, selector) {
    const cdp = await page.context().newCDPSession(page);
    const { root } = await cdp.send("DOM.getDocument");
    const { nodeId } = await cdp.send("DOM.querySelector", { nodeId: root.nodeId, selector });
    const { nodes } = await cdp.send("Accessibility.getPartialAXTree", { nodeId, fetchRelatives: false });
    return [nodes[0].name?.value, nodes[0].description?.value ?? ""];
}

test("a changed result is spoken once, with its units, a second after the last keystroke", async t => {
    const { page } = await site.open(t);
    await listen(page);
    // 32 KiloBytes/second; keys a third of a second apart.
    const rows = [
        [0, "Text1", "1920", "Time: 1 minute"],
        [1, "Text1", "115200", "Transfer speed: 1.88 MegaBytes/second"],
        [2, "Text3(4)", "30", "Data size: 3.3 GigaBytes"],
    ];
    for (const [mode, id, text, said] of rows) {
        await chooseMode(page, mode);
        await retype(page, id, "");
        for (const key of text) {
            await page.keyboard.type(key);
            await sleep(300);
        }
        assert.deepEqual(await spoken(page), [], `${said}: spoken while typing`);
        await sleep(1000);
        const heard = await spoken(page);
        assert.deepEqual(heard.map(([words]) => words), [said]);
        assert.ok(heard[0][1] >= 1000 && heard[0][1] < 1400, `${said} after ${heard[0][1]} ms`);
    }
    // Typed back to the same result is no news; nor is a mode chosen,
    // which recalculates nothing.
    await retype(page, "Text3(4)", "300");
    await page.keyboard.press("Backspace");
    await sleep(1300);
    await chooseMode(page, 0);
    await sleep(1300);
    assert.deepEqual(await spoken(page), []);
});

test("a size or speed is described by the unit its list shows, chosen or worked out", async t => {
    const { page } = await site.open(t);
    assert.deepEqual(await accessible(page, byId("Text2")), ["Transfer speed", "KiloBytes/second"]);
    // The speed worked out: 32 GigaBytes in the same time picks its own unit.
    await chooseMode(page, 1);
    await page.selectOption(byId("Combo1"), { label: "GigaBytes" });
    assert.deepEqual(await accessible(page, byId("Text1")), ["Data size", "GigaBytes"]);
    assert.deepEqual(await accessible(page, byId("Text2")), ["Transfer speed", "MegaBytes/second"]);
});

test("a locked list is named read only, and a refused key on it is answered", async t => {
    const { page } = await site.open(t);
    assert.deepEqual(await accessible(page, byId("Combo2")), ["Speed unit", ""]);
    await chooseMode(page, 1);
    assert.deepEqual(await accessible(page, byId("Combo2")), ["Speed unit, read only", ""]);
    await listen(page);
    await page.focus(byId("Combo2"));
    for (const key of ["ArrowDown", "ArrowDown", "Tab"])
        await page.keyboard.press(key);
    assert.deepEqual((await spoken(page)).map(([words]) => words.trim()),
        ["Speed unit is read only", "Speed unit is read only"]);
    await chooseMode(page, 0);
    assert.deepEqual(await accessible(page, byId("Combo2")), ["Speed unit", ""]);
});

test("the About box is named by its title and says its lines in their visual order as it opens", async t => {
    const { page } = await site.open(t);
    await page.keyboard.press("F1");
    assert.deepEqual(await accessible(page, "#frmAbout"), ["About Velmora", ""]);
    const said = () => page.$eval("#frmAbout-spoken", region => region.textContent.trim());
    await page.waitForFunction(() => document.getElementById("frmAbout-spoken").textContent !== "");
    assert.match(await said(), /^Velmora\. Version 1\.0\.2\. Velmora calculates .* Warning: .*Kestrane is prohibited\.$/);
    // Browse mode reads the box top to bottom, and its lines once.
    assert.deepEqual(await page.$$eval("#frmAbout .client > :not(.rule)", all => all.map(e => e.id)),
        ["picIcon", "lblTitle", "lblVersion", "lblDescription", "lblDisclaimer", "cmdOK"]);
    await page.keyboard.press("Escape");
    assert.equal(await said(), "");
});

// The window on a phone and on a wide screen: all of it in view, scaled as a
// whole.
import { test } from "node:test";
import assert from "node:assert/strict";
import { byId, useSite } from "./harness.mjs";

const site = useSite();

const box = page => page.evaluate(() => {
    const { left, top, right, bottom, width, height } =
        document.getElementById("Form1").getBoundingClientRect();
    return { left, top, right, bottom, width, height,
        scrollWidth: document.scrollingElement.scrollWidth };
});

test("on a 360 by 640 phone the whole window is in view and takes taps", async t => {
    const viewport = { width: 360, height: 640 };
    const { page } = await site.open(t, { viewport, hasTouch: true, isMobile: true });
    const form = await box(page);
    assert.ok(form.left >= 0 && form.top >= 0 && form.right <= viewport.width &&
        form.bottom <= viewport.height, JSON.stringify(form));
    assert.ok(form.scrollWidth <= viewport.width, `scrolls sideways: ${form.scrollWidth}`);

    await page.tap(byId("Option1(1)"));
    assert.equal(await page.isChecked(byId("Option1(1)")), true);
    assert.equal(await page.$eval(byId("Text2"), e => e.readOnly), true);
});

test("on a wide screen the window grows to the width, keeping its proportions", async t => {
    const { page: small } = await site.open(t, { viewport: { width: 360, height: 640 } });
    const { page: wide } = await site.open(t, { viewport: { width: 1280, height: 720 } });
    const [a, b] = [await box(small), await box(wide)];
    assert.ok(b.width >= 0.95 * 1280 && b.right <= 1280 && b.bottom <= 720, JSON.stringify(b));
    assert.ok(Math.abs(a.width / a.height - b.width / b.height) < 0.01,
        `${a.width}x${a.height} against ${b.width}x${b.height}`);
});

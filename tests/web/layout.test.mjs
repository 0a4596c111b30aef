// The window at the reader's size on a desktop, and the phone arrangement
// wherever that would be too small to read or to touch.
import { test } from "node:test";
import assert from "node:assert/strict";
import { byId, fields, useSite } from "./harness.mjs";

const site = useSite();

// What a finger aims at: the fields, the lists, and each option with its label.
const targets = [...fields, "Option1(0)-label", "Option1(1)-label", "Option1(2)-label"];
const textFields = fields.filter(id => !id.startsWith("Combo"));

const measure = page => page.evaluate(targets => ({
    rects: targets.map(id => {
        const { left, top, right, bottom, width, height } = document.getElementById(id).getBoundingClientRect();
        return { id, left, top, right, bottom, width, height };
    }),
    form: document.getElementById("Form1").getBoundingClientRect().toJSON(),
    scrollWidth: document.scrollingElement.scrollWidth,
    fontSize: parseFloat(getComputedStyle(document.getElementById("Text1")).fontSize),
}), targets);

const touch = { hasTouch: true, isMobile: true };
const screens = [
    // Upright phones and a tablet: the phone arrangement, every target a finger's size.
    { name: "phone 320x640", viewport: { width: 320, height: 640 }, ...touch, target: 44 },
    { name: "phone 390x844", viewport: { width: 390, height: 844 }, deviceScaleFactor: 3, ...touch, target: 44 },
    { name: "tablet 768x1024", viewport: { width: 768, height: 1024 }, deviceScaleFactor: 2, ...touch, target: 44 },
    // A phone on its side keeps the designed window, as large as it fits.
    { name: "phone on its side 844x390", viewport: { width: 844, height: 390 }, deviceScaleFactor: 3, ...touch,
      target: 24 },
];

test("on phones and tablets every control is in view, large enough to touch and legible", async t => {
    for (const { name, target, ...options } of screens) {
        const { page } = await site.open(t, options);
        const { rects, scrollWidth, fontSize } = await measure(page);
        const { width, height } = options.viewport;
        assert.ok(scrollWidth <= width, `${name} scrolls sideways: ${scrollWidth}`);
        for (const r of rects) {
            assert.ok(r.width >= target && r.height >= target, `${name}: ${JSON.stringify(r)}`);
            assert.ok(r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height,
                `${name}: out of view ${JSON.stringify(r)}`);
        }
        assert.ok(fontSize >= 16, `${name}: field text ${fontSize}px`);
        // The designed window stretches the logo to its place (70 by 20);
        // the phone arrangement keeps the picture's own 250 by 100.
        const logo = await page.$eval("#Image1", e => e.getBoundingClientRect().toJSON());
        const ratio = target === 44 ? 250 / 100 : 70 / 20;
        assert.ok(Math.abs(logo.width / logo.height - ratio) < 0.05, `${name}: logo ${JSON.stringify(logo)}`);
        // Its file has that shape, and a pixel at least for each the screen
        // draws, up to two to the CSS pixel (beyond that few eyes tell).
        const file = await page.$eval("#Image1", async e => {
            const image = new Image();
            image.src = e.currentSrc;
            await image.decode();
            return { src: e.currentSrc, width: image.naturalWidth, height: image.naturalHeight, scale: devicePixelRatio };
        });
        assert.ok(Math.abs(file.width / file.height - ratio) < 0.05 && file.width >= logo.width * Math.min(file.scale, 2),
            `${name}: ${JSON.stringify(file)} drawn ${logo.width}`);
    }
});

test("on a phone the fields bring up the decimal keypad and keep the designed tab order", async t => {
    const { page } = await site.open(t, { viewport: { width: 320, height: 640 }, ...touch });
    assert.deepEqual(await page.$$eval("input.field", all => all.map(e => [e.type, e.inputMode])),
        textFields.map(() => ["text", "decimal"]));
    await page.tap(byId("Text1"));
    const order = [];
    for (let i = 0; i < 10; ++i) {
        await page.keyboard.press("Tab");
        order.push(await page.evaluate(() => document.activeElement.id));
    }
    assert.deepEqual(order, ["Text2", "Combo1", "Combo2", "Option1(0)",
        "Text3(3)", "Text3(4)", "Text3(5)", "Text3(0)", "Text3(1)", "Text3(2)"]);
});

test("on a phone a tap on an option's caption picks the mode, and the About box fits", async t => {
    const viewport = { width: 320, height: 640 };
    const { page } = await site.open(t, { viewport, ...touch });
    const locked = () => page.$$eval("input.field", all => all.filter(e => e.readOnly).map(e => e.id));
    const results = [["Text3(0)", "Text3(1)", "Text3(2)", "Text3(3)", "Text3(4)", "Text3(5)"], ["Text2"], ["Text1"]];
    for (const mode of [1, 2, 0]) {
        await page.tap(`${byId(`Option1(${mode})-label`)} span`);
        assert.deepEqual((await locked()).sort(), results[mode].sort(), `mode ${mode}`);
    }

    await page.tap("#Image1");
    const [box, ok] = await page.$$eval("#frmAbout, #cmdOK", all => all.map(e => e.getBoundingClientRect().toJSON()));
    assert.ok(box.left >= 0 && box.top >= 0 && box.right <= viewport.width && box.bottom <= viewport.height,
        JSON.stringify(box));
    assert.ok(ok.height >= 44 && ok.width >= 44, JSON.stringify(ok));
    await page.tap("#cmdOK");
    assert.equal(await page.$eval("#frmAbout", dialog => dialog.open), false);
});

test("on a desktop the window keeps one size at every width that holds it, its text the reader's size", async t => {
    const sizes = [];
    for (const width of [800, 1280, 1920]) {
        const { page } = await site.open(t, { viewport: { width, height: 720 } });
        const { form, fontSize } = await measure(page);
        sizes.push([Math.round(form.width), Math.round(form.height)]);
        assert.equal(fontSize, 16, `at ${width}`);
    }
    assert.deepEqual(sizes.slice(1), [sizes[0], sizes[0]]);
    assert.ok(sizes[0][0] > 400 && sizes[0][0] < 600, JSON.stringify(sizes));
});

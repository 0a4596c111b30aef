// The decimal comma where the browser's language writes one.
import { test } from "node:test";
import assert from "node:assert/strict";
import { chooseMode, read, retype, useSite } from "./harness.mjs";

const site = useSite();

test("under de-DE a speed is written with a comma, and both separators read", async t => {
    const { page } = await site.open(t, { locale: "de-DE" });
    await chooseMode(page, 1);
    // KiloBytes over the loaded 1 second.
    const rows = [["1,5", "1,5", "KiloBytes/second"], ["1.5", "1,5", "KiloBytes/second"],
        ["3,125", "3,12", "KiloBytes/second"], ["1536", "1,5", "MegaBytes/second"]];
    for (const [size, speed, unit] of rows) {
        await retype(page, "Text1", size);
        assert.deepEqual(await read(page, ["Text2", "Combo2"]), [speed, unit], size);
    }
});

test("under de-CH, whose numbers take a full stop, a speed is written with one", async t => {
    const { page } = await site.open(t, { locale: "de-CH" });
    await chooseMode(page, 1);
    await retype(page, "Text1", "1536");
    assert.deepEqual(await read(page, ["Text2", "Combo2"]), ["1.5", "MegaBytes/second"]);
});

// The separator the browser itself writes with Latin digits, for languages
// and regions the build's table must know: a region by its number, the
// languages whose own digits are not Latin, a region unlike its language.
test("each language gets the separator its browser writes with Latin digits, and reads it back", async t => {
    const rows = [["es-419", "."], ["es-ES", ","], ["pt-BR", ","], ["ar-EG", "."], ["ar-MA", ","],
        ["fa-IR", "."], ["ur-IN", "."], ["de-CH", "."], ["sr-Latn-RS", ","], ["en-US", "."]];
    const seen = [];
    for (const [locale] of rows) {
        const { page } = await site.open(t, { locale });
        const browser = await page.evaluate(() => new Intl.NumberFormat(navigator.language,
            { numberingSystem: "latn" }).formatToParts(1.5).find(part => part.type === "decimal").value);
        await chooseMode(page, 1);
        // 1.5 KiloBytes over the loaded 1 second, typed as the page writes it.
        await retype(page, "Text1", `1${browser}5`);
        const [speed] = await read(page, ["Text2"]);
        seen.push([locale, browser, speed]);
    }
    assert.deepEqual(seen, rows.map(([locale, separator]) => [locale, separator, `1${separator}5`]));
});

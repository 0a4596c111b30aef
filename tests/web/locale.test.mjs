// The decimal comma where the browser's language writes one.
import { test } from "node:test";
import assert from "node:assert/strict";
import { byId, chooseMode, read, ready, retype, useSite } from "./harness.mjs";

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

// A link made in one language opens on the same figures in another: the
// address holds "." as the decimal point, in the form URLSearchParams reads.
test("an address written in one language opens on the same calculation in another", async t => {
    // [writer, typed size and speed, reader, what the reader then shows]
    const rows = [
        ["de-DE", ["1,5", "2,5"], "en-US", ["1.5", "2.5", "GigaBytes", "MegaBytes/second", "0", "0", "0", "0", "10", "14.4"]],
        ["en-US", ["1.5", "2.5"], "de-DE", ["1,5", "2,5", "GigaBytes", "MegaBytes/second", "0", "0", "0", "0", "10", "14,4"]],
        ["fr-FR", ["1,5", "2,5"], "fa-IR", ["1.5", "2.5", "GigaBytes", "MegaBytes/second", "0", "0", "0", "0", "10", "14.4"]],
        ["en-US", ["1 536", "2.5"], "de-DE", ["1 536", "2,5", "GigaBytes", "MegaBytes/second", "0", "1", "0", "6", "45", "45,6"]],
    ];
    for (const [writer, [size, speed], reader, shown] of rows) {
        const name = `${size} from ${writer} to ${reader}`;
        const { page } = await site.open(t, { locale: writer });
        await page.selectOption(byId("Combo1"), { label: "GigaBytes" });
        await page.selectOption(byId("Combo2"), { label: "MegaBytes/second" });
        await retype(page, "Text1", size);
        await retype(page, "Text2", speed);
        const written = [size, speed].map(text => text.replace(",", "."));
        await page.waitForFunction(written => {
            const params = new URLSearchParams(location.hash.slice(1));
            return params.get("size") === written[0] && params.get("speed") === written[1];
        }, written);
        const address = page.url();

        const { page: opened } = await site.open(t, { locale: reader });
        await opened.goto("about:blank");
        await opened.goto(address);
        await ready(opened);
        assert.deepEqual(await read(opened), shown, name);
    }
});

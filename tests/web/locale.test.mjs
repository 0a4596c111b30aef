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

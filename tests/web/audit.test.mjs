// axe-core's audit of the window, and of the window with the About box open.
import { test } from "node:test";
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import { useSite } from "./harness.mjs";

const site = useSite();
const axePath = createRequire(import.meta.url).resolve("axe-core/axe.min.js");

// One line per failing element, enough to find and fix it.
function describe(violations) {
    return violations.flatMap(v => v.nodes.map(node =>
        `${v.id} (${v.impact}): ${v.help}\n    at ${node.target.join(" ")}\n    ${node.failureSummary?.replace(/\n/g, "\n    ")}`))
        .join("\n");
}

test("axe finds no violations, with the About box closed or open", async t => {
    const { page } = await site.open(t);
    await page.addScriptTag({ path: axePath });
    for (const box of ["closed", "open"]) {
        if (box === "open")
            await page.keyboard.press("F1");
        assert.equal(await page.$eval("#frmAbout", dialog => dialog.open), box === "open");
        const { violations } = await page.evaluate(() => axe.run(document));
        assert.equal(violations.length, 0, `About box ${box}:\n${describe(violations)}`);
    }
});

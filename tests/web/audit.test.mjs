// axe-core's audit of the window, and of the window with the About box open,
// against WCAG 2.2 AA and axe's best practices, on a phone, a tablet and a
// desktop.
import { test } from "node:test";
import assert from "node:assert/strict";
import { createRequire } from "node:module";
import { useSite } from "./harness.mjs";

const site = useSite();
const axePath = createRequire(import.meta.url).resolve("axe-core/axe.min.js");
const tags = ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa", "wcag22aa", "best-practice"];

// One line per failing element, enough to find and fix it.
function describe(violations) {
    return violations.flatMap(v => v.nodes.map(node =>
        `${v.id} (${v.impact}): ${v.help}\n    at ${node.target.join(" ")}\n    ${node.failureSummary?.replace(/\n/g, "\n    ")}`))
        .join("\n");
}

const screens = {
    "phone": { viewport: { width: 390, height: 844 }, hasTouch: true, isMobile: true },
    "tablet": { viewport: { width: 768, height: 1024 }, hasTouch: true, isMobile: true },
    "desktop": { viewport: { width: 1280, height: 720 } },
};

test("axe finds no violations, with the About box closed or open", async t => {
    for (const [screen, options] of Object.entries(screens)) {
        const { page } = await site.open(t, options);
        // Given before the page's policy applies: it allows no injected script.
        await page.context().addInitScript({ path: axePath });
        await page.reload();
        for (const box of ["closed", "open"]) {
            if (box === "open")
                await page.keyboard.press("F1");
            assert.equal(await page.$eval("#frmAbout", dialog => dialog.open), box === "open");
            const { violations } = await page.evaluate(
                tags => axe.run(document, { runOnly: { type: "tag", values: tags } }), tags);
            assert.equal(violations.length, 0, `${screen}, About box ${box}:\n${describe(violations)}`);
        }
    }
});

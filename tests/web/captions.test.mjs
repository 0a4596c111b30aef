// The window's captions on the page are the design table's, which the
// desktop windows show too: a caption changed for one of them only is caught.
import { test } from "node:test";
import assert from "node:assert/strict";
import { readFile } from "node:fs/promises";
import { useSite } from "./harness.mjs";

const site = useSite();

// Each captioned control of the table: {"Label7", ControlKind::Label, {...}, 20, "Yearss."...
const designed = async () => {
    const table = await readFile(new URL("../../main_window/form1_design.h", import.meta.url), "utf8");
    const rows = [...table.matchAll(/\{"([^"]+)", ControlKind::(Label|Frame|Option), \{[^}]*\}, -?\d+, "([^"]*)"/g)];
    return rows.map(([, id, kind, caption]) => ({ id, kind, caption }));
};

test("every label, the frame and each option show the design table's caption", async t => {
    const controls = await designed();
    assert.equal(controls.filter(c => c.kind === "Label").length, 11, "the table's labels were not all read");
    const { page } = await site.open(t);
    const shown = await page.evaluate(controls => controls.map(({ id, kind }) => {
        // A frame's caption is its legend; an option's the text of its label.
        const element = kind === "Frame" ? document.getElementById(id).querySelector("legend")
            : kind === "Option" ? document.getElementById(`${id}-label`) : document.getElementById(id);
        return element?.innerText;
    }), controls);
    assert.deepEqual(Object.fromEntries(controls.map((c, i) => [c.id, shown[i]])),
        Object.fromEntries(controls.map(c => [c.id, c.caption])));
});

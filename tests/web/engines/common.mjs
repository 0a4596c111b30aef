// What the three engines' drivers share: key names, waiting, and reading
// colours off a screenshot.
import { PNG } from "pngjs";

// "Shift+Tab" -> { modifiers: ["Shift"], key: "Tab" }.
export function splitKey(combo) {
    const parts = combo.split("+");
    return { modifiers: parts.slice(0, -1), key: parts.at(-1) };
}

export const sleep = ms => new Promise(resolve => setTimeout(resolve, ms));

// Polls fn in the page until it returns something truthy.
export async function waitFor(page, fn, arg, { timeout = 20000, what = "the page" } = {}) {
    const end = Date.now() + timeout;
    for (;;) {
        const value = await page.eval(fn, arg).catch(() => undefined);
        if (value)
            return value;
        if (Date.now() > end)
            throw new Error(`timed out waiting for ${what}`);
        await sleep(100);
    }
}

// The program has taken over the window once the page marks it ready.
export function ready(page) {
    return waitFor(page, () => document.getElementById("Form1")?.hasAttribute("data-ready"), undefined,
        { what: "the program to start" });
}

// The colour that fills most of each box on a viewport screenshot: the
// element's face, whatever text or arrow it also holds. Each box is cut in
// by a quarter of its height, clear of border and focus ring.
export function faceColours(png, boxes, scale) {
    const image = PNG.sync.read(png);
    return boxes.map(box => {
        const inset = box.height / 4;
        const x0 = Math.max(0, Math.ceil((box.x + inset) * scale));
        const x1 = Math.min(image.width, Math.floor((box.x + box.width - inset) * scale));
        const y0 = Math.max(0, Math.ceil((box.y + inset) * scale));
        const y1 = Math.min(image.height, Math.floor((box.y + box.height - inset) * scale));
        const counts = new Map();
        for (let y = y0; y < y1; ++y) {
            for (let x = x0; x < x1; ++x) {
                const i = (y * image.width + x) * 4;
                const key = `rgb(${image.data[i]}, ${image.data[i + 1]}, ${image.data[i + 2]})`;
                counts.set(key, (counts.get(key) ?? 0) + 1);
            }
        }
        if (counts.size === 0)
            throw new Error(`nothing to sample in ${JSON.stringify(box)}`);
        return [...counts].sort((a, b) => b[1] - a[1])[0][0];
    });
}

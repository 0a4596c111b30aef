// Pictures of the page in Firefox ESR and WebKitGTK, beside Chromium's:
//   node tests/web/engines/screenshot.mjs SITE OUT
// writes web-firefox.png and web-webkit.png (560 by 300, light).
import { writeFile } from "node:fs/promises";
import { serve } from "../harness.mjs";
import { waitFor } from "./common.mjs";

const [site, out] = process.argv.slice(2);
if (!site || !out) {
    console.error("usage: node screenshot.mjs SITE OUT");
    process.exit(2);
}

const server = await serve(site);
try {
    for (const name of ["firefox", "webkit"]) {
        const engine = await (await import(`./${name}.mjs`)).start();
        try {
            const page = await engine.open({ url: server.url, viewport: { width: 560, height: 300 } });
            await waitFor(page, () => document.fonts.status === "loaded", undefined, { what: "the fonts" });
            await writeFile(`${out}/web-${name}.png`, await page.screenshot());
            await page.close();
        } finally {
            await engine.stop();
        }
    }
} finally {
    server.stop();
}
console.log(`Written: ${out}/web-firefox.png, web-webkit.png`);

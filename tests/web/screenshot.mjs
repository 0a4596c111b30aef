// Pictures of the page in headless Chromium, for people to look at:
//   node tests/web/screenshot.mjs SITE OUT
// writes web-form1.png and web-form1@2x.png (light), their -dark pictures,
// web-about@2x.png, and the phone arrangement web-phone.png and
// web-phone-dark.png (390 by 844, touch).
import { launch, serve } from "./harness.mjs";

const [site, out] = process.argv.slice(2);
if (!site || !out) {
    console.error("usage: node screenshot.mjs SITE OUT");
    process.exit(2);
}

const server = await serve(site);
const url = server.url;
const browser = await launch();
try {
    // The window at the reader's size (a 16 px font) with a margin, as on a desktop.
    const desktop = { width: 516, height: 271 };
    const phone = { viewport: { width: 390, height: 844 }, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
    const shots = [
        { name: "web-form1.png", viewport: desktop, deviceScaleFactor: 1, colorScheme: "light" },
        { name: "web-form1@2x.png", viewport: desktop, deviceScaleFactor: 2, colorScheme: "light" },
        { name: "web-form1-dark.png", viewport: desktop, deviceScaleFactor: 1, colorScheme: "dark" },
        { name: "web-form1-dark@2x.png", viewport: desktop, deviceScaleFactor: 2, colorScheme: "dark" },
        { name: "web-about@2x.png", viewport: { width: 598, height: 408 }, deviceScaleFactor: 2,
          colorScheme: "light", about: true },
        { name: "web-phone.png", ...phone, colorScheme: "light" },
        { name: "web-phone-dark.png", ...phone, colorScheme: "dark" },
    ];
    for (const { name, about, ...options } of shots) {
        const context = await browser.newContext(options);
        const page = await context.newPage();
        await page.goto(url);
        await page.waitForFunction(() => document.fonts.status === "loaded");
        if (about)
            await page.click("#Image1");
        await page.screenshot({ path: `${out}/${name}` });
        await context.close();
    }
} finally {
    await browser.close();
    server.stop();
}
console.log(`Written: ${out}/web-form1.png, web-form1@2x.png, their -dark pictures, web-about@2x.png, web-phone.png, web-phone-dark.png`);

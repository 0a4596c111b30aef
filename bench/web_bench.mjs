// Figures of the page in headless Chromium, against a floor page: the built
// index.html with its scripts taken out, so the same 26 controls at the same
// places and no WebAssembly. Prints a table; scripts/web-bench runs it.
//   node bench/web_bench.mjs SITE [RUNS] [FRAGMENT]
// With a FRAGMENT ("calculate=speed&size=4") Velmora's first visits open
// that address, so that the window starts on its calculation.
import { mkdtemp, readFile, readdir, rm, stat, symlink, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { gzipSync } from "node:zlib";
import { launch, ready, serve, serveSite } from "../tests/web/harness.mjs";

const [siteArg, runsText = "31", fragment = ""] = process.argv.slice(2);
const runs = Number(runsText);
if (!siteArg || !(runs > 0)) {
    console.error("usage: node bench/web_bench.mjs SITE [RUNS] [FRAGMENT]");
    process.exit(2);
}
const site = resolve(siteArg);

const median = values => {
    const sorted = [...values].sort((a, b) => a - b);
    const middle = sorted.length >> 1;
    return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const goal = (value, limit) => (value <= limit ? "met" : "MISSED");

// The floor, written beside links to the site's own files so that both
// pages load the same pictures from the same server.
const dir = await mkdtemp(join(tmpdir(), "velmora-bench-"));
const server = await serve(dir).catch(async error => { await rm(dir, { recursive: true }); throw error; });
let browser;
try {
    const files = (await readdir(site)).sort();
    for (const name of files)
        await symlink(join(site, name), join(dir, name));
    const page = await readFile(join(site, "index.html"), "utf8");
    // The program's preload goes with its scripts; the fields, which wait
    // disabled for the scripts, take input at once.
    const floor = page.replace(/<script\b[^>]*>[\s\S]*?<\/script>\n?/g, "")
        .replace(/<link rel="preload"[^>]*>\n?/g, "").replace(/ disabled(?=[ >])/g, "");
    if (floor === page || /<script/i.test(floor))
        throw new Error("the floor page still holds a script");
    await writeFile(join(dir, "web_floor.html"), floor);
    const pages = { velmora: server.url + "index.html", floor: server.url + "web_floor.html" };

    browser = await launch();
    const version = browser.version();

    // Navigation to the first contentful paint, in a fresh context each time
    // (an empty cache, no service worker); for Velmora also to the end of its
    // start, from the page's own marks: when the loader asks for the program,
    // when main() is called (the program compiled, the page parsed), when
    // the window is ready. A returning visit comes second in its context:
    // Velmora's from its service worker, the floor's from the HTTP cache.
    const visit = async (url, returning) => {
        const context = await browser.newContext();
        try {
            const tab = await context.newPage();
            if (returning) {
                await tab.goto(url);
                if (url.startsWith(pages.velmora))
                    await tab.waitForFunction(() => navigator.serviceWorker.controller !== null);
            }
            const response = await tab.goto(url);
            if (returning && url.startsWith(pages.velmora) && !response.fromServiceWorker())
                throw new Error("the returning visit did not come from the service worker");
            const paint = await tab.evaluate(() => new Promise(resolve => {
                new PerformanceObserver(list => {
                    const entry = list.getEntriesByName("first-contentful-paint")[0];
                    if (entry)
                        resolve(entry.startTime);
                }).observe({ type: "paint", buffered: true });
            }));
            let times = {};
            if (url.startsWith(pages.velmora)) {
                await ready(tab);
                times = await tab.evaluate(() => Object.fromEntries(["fetch", "main", "ready"].map(name =>
                    [name, performance.getEntriesByName(`velmora-${name}`)[0].startTime])));
            }
            return { paint, times };
        } finally {
            await context.close();
        }
    };
    const figures = () => ({ velmora: [], floor: [], ratio: [], working: [], workingRatio: [], loader: [], compiled: [], main: [] });
    const paints = figures();
    const returns = figures();
    for (let run = -2; run < runs; ++run) {
        // Alternate which goes first, so that drift costs both alike; the
        // first two rounds warm the browser and the server up.
        const order = run % 2 ? ["velmora", "floor"] : ["floor", "velmora"];
        for (const [returning, into] of [[false, paints], [true, returns]]) {
            const result = {};
            for (const which of order)
                result[which] = await visit(which === "velmora" && fragment && !returning
                    ? `${pages.velmora}#${fragment}` : pages[which], returning);
            if (run < 0)
                continue;
            into.velmora.push(result.velmora.paint);
            into.floor.push(result.floor.paint);
            into.ratio.push(result.velmora.paint / result.floor.paint);
            const { times } = result.velmora;
            into.working.push(times.ready);
            into.workingRatio.push(times.ready / result.floor.paint);
            into.loader.push(times.fetch);
            into.compiled.push(times.main);
            into.main.push(times.ready - times.main);
        }
    }

    // A keystroke in Data Size, in one context per page.
    const context = await browser.newContext();
    const typing = {};
    for (const which of ["velmora", "floor"]) {
        const tab = await context.newPage();
        await tab.goto(pages[which]);
        if (which === "velmora")
            await ready(tab);
        // performance.now() ticks in 100 µs steps on a page that is not
        // cross-origin isolated: batches of 50 dispatches, each timed whole.
        const dispatch = await tab.evaluate(() => {
            const input = document.getElementById("Text1");
            const means = [];
            let value = 0;
            for (let batch = 0; batch < 200; ++batch) {
                const start = performance.now();
                for (let i = 0; i < 50; ++i) {
                    input.value = String(1000 + (value++ % 4000));
                    input.dispatchEvent(new Event("input", { bubbles: true }));
                }
                means.push((performance.now() - start) / 50);
            }
            // 1920 KiloBytes at 32 KiloBytes/second: one minute.
            input.value = "1920";
            input.dispatchEvent(new Event("input", { bubbles: true }));
            const time = [0, 1, 2, 3, 4, 5].map(i => document.getElementById(`Text3(${i})`).value);
            return { means, time: time.join(",") };
        });
        if (which === "velmora" && dispatch.time !== "0,0,0,0,1,0")
            throw new Error(`the keystrokes did not recalculate: ${dispatch.time}`);

        // Real keys: from keydown until the page's own input handlers have run
        // (a listener added after them), and the round trip seen from here.
        await tab.evaluate(() => {
            window.keyTimes = [];
            let down = 0;
            addEventListener("keydown", event => { down = event.timeStamp; }, true);
            document.getElementById("Text1").addEventListener("input",
                () => window.keyTimes.push(performance.now() - down));
        });
        await tab.click('[id="Text1"]');
        await tab.keyboard.press("End");
        const trips = [];
        for (let i = 0; i < 200; ++i) {
            const start = process.hrtime.bigint();
            await tab.keyboard.press(i % 2 ? "Backspace" : "5");
            trips.push(Number(process.hrtime.bigint() - start) / 1e6);
        }
        typing[which] = {
            dispatch: median(dispatch.means),
            keys: median(await tab.evaluate(() => window.keyTimes)),
            trip: median(trips),
        };
    }
    await context.close();

    // Bytes of a first visit: every file the page uses, each gzip -9
    // compressed. The licences beside it are for whoever unpacks the
    // archive; the page never fetches them.
    const sizes = [];
    for (const name of files.filter(name => name !== "LICENSES.txt")) {
        const content = await readFile(join(site, name));
        sizes.push({ name, raw: (await stat(join(site, name))).size, gzip: gzipSync(content, { level: 9 }).length });
    }
    const total = sizes.reduce((sum, f) => ({ raw: sum.raw + f.raw, gzip: sum.gzip + f.gzip }), { raw: 0, gzip: 0 });

    // What a first visit fetches, counted at the server until the service
    // worker has taken over: each request's file, gzip -9 compressed, from a
    // host without caching headers and from one that sends max-age.
    const gzipOf = Object.fromEntries(sizes.map(f => [f.name, f.gzip]));
    const fetched = [];
    for (const cacheControl of [undefined, "max-age=600"]) {
        const host = await serveSite({ dir: site, cacheControl });
        const context = await browser.newContext();
        try {
            const tab = await context.newPage();
            await tab.goto(host.url);
            await ready(tab);
            await tab.evaluate(async () => {
                await navigator.serviceWorker.ready;
                if (!navigator.serviceWorker.controller)
                    await new Promise(resolve => navigator.serviceWorker.addEventListener("controllerchange", resolve));
            });
            const names = host.requests.map(name => (name === "" ? "index.html" : name));
            fetched.push({ host: cacheControl ? `Cache-Control: ${cacheControl}` : "no caching headers",
                requests: names.length, gzip: names.reduce((sum, name) => sum + (gzipOf[name] ?? 0), 0),
                twice: [...new Set(names.filter((name, i) => names.indexOf(name) !== i))] });
        } finally {
            await context.close();
            await host.stop();
        }
    }

    const ms = value => `${value.toFixed(1)} ms`;
    const us = value => `${(value * 1000).toFixed(1)} µs`;
    const row = (label, a, b, note) =>
        console.log(`${label.padEnd(60)}${String(a).padStart(11)}${String(b).padStart(11)}  ${note}`);
    console.log(`Velmora's page against the floor page in headless Chromium ${version}`);
    console.log(`${runs} interleaved first and returning visits each, medians; ratios are medians of per-run ratios`);
    console.log(fragment ? `Velmora opened at the address #${fragment}\n` : "");
    for (const [label, into] of [["First visit", paints], ["Returning visit (Velmora's from its service worker)", returns]]) {
        row(label, "Velmora", "Floor", "Ratio");
        row("  navigation to first contentful paint", ms(median(into.velmora)), ms(median(into.floor)),
            `${median(into.ratio).toFixed(2)} (goal <= 1.2: ${goal(median(into.ratio), 1.2)})`);
        row("  navigation to the window ready: a typed size recalculates", ms(median(into.working)),
            ms(median(into.floor)), `${median(into.workingRatio).toFixed(2)} against the floor's paint ` +
            `(goal <= 1.2: ${goal(median(into.workingRatio), 1.2)})`);
        row("  of that: navigation until the loader asks for the program", ms(median(into.loader)), "", "");
        row("  of that: navigation until main() is called", ms(median(into.compiled)), "", "");
        row("  of that: main() and the early actions, until ready", ms(median(into.main)), "", "");
        console.log("");
    }
    row("Keystroke in Data Size, until the six time fields are written", "Velmora", "Floor", "");
    row("  dispatch of input, 200 batches of 50", us(typing.velmora.dispatch), us(typing.floor.dispatch),
        `goal <= 1 ms: ${goal(typing.velmora.dispatch, 1)}`);
    row("  keyboard.press, keydown to the end of input, 200 keys", ms(typing.velmora.keys), ms(typing.floor.keys), "");
    row("  keyboard.press, round trip from Node.js", ms(typing.velmora.trip), ms(typing.floor.trip), "");
    console.log("");
    row("Bytes of a first visit (every file the page uses)", "Raw", "gzip -9", "");
    for (const f of sizes)
        row(`  ${f.name}`, f.raw, f.gzip, "");
    row("  total", total.raw, total.gzip,
        `${(total.gzip / 1000).toFixed(1)} kB (goal <= 150 kB: ${goal(total.gzip, 150000)})`);
    console.log("");
    row("First visit as fetched, until the service worker has taken over", "Requests", "gzip -9", "");
    for (const f of fetched)
        row(`  from a host with ${f.host}`, f.requests, f.gzip,
            `${(f.gzip / 1000).toFixed(1)} kB; fetched twice: ${f.twice.join(", ") || "none"}`);
} finally {
    await browser?.close();
    server.stop();
    await rm(dir, { recursive: true, force: true });
}

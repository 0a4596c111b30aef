// What the page must do in every browser engine, written once against the
// drivers' common page: click(), tap(), type(), press(), wheel(), choose(),
// eval(), screenshot(), reload(), close().
import assert from "node:assert/strict";
import { cp, mkdtemp, readFile, rm, writeFile } from "node:fs/promises";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { isDeepStrictEqual } from "node:util";
import { fields, nextBuild, recordPolicyViolations, serve, serveSite, siteDir, timeFields, resultColour, inputColour } from "../harness.mjs";
import { faceColours, ready, sleep } from "./common.mjs";

const pink = resultColour;
const white = inputColour;
const options = ["Option1(0)", "Option1(1)", "Option1(2)"];
// The fields each mode works out, by Option1's index.
const results = [timeFields, ["Text2", "Combo2"], ["Text1", "Combo1"]];

// What the user sees in each field: its value, and for a list its option's text.
const read = (page, ids = fields) => page.eval(ids => ids.map(id => {
    const element = document.getElementById(id);
    return element.tagName === "SELECT" ? element.selectedOptions[0]?.text : element.value;
}), ids);
const times = page => read(page, timeFields);
const focused = page => page.eval(() => document.activeElement?.id ?? "");

// Some drivers return before the page has handled the input: asks again
// for a while before comparing.
async function settles(page, get, expected, message) {
    let actual;
    for (let i = 0; i < 40; ++i) {
        actual = await get(page);
        if (isDeepStrictEqual(actual, expected))
            return;
        await sleep(50);
    }
    assert.deepEqual(actual, expected, message);
}

// The page's own script runs: its fields take input from now on.
const scriptRuns = page => settles(page, p => p.eval(() => document.documentElement.hasAttribute("data-script")), true);

// The worker taken over by the page, and the next one, should there be one
// (asked for with update), installed or given up.
const workerSettles = (page, update = true) => page.eval(async update => {
    const registration = await navigator.serviceWorker.ready;
    if (update)
        await registration.update().catch(() => {});
    const worker = registration.installing ?? registration.waiting;
    if (worker) {
        await new Promise(resolve => {
            const check = () => ["activated", "redundant"].includes(worker.state) && resolve();
            worker.addEventListener("statechange", check);
            check();
        });
    }
    if (!navigator.serviceWorker.controller)
        await new Promise(resolve => navigator.serviceWorker.addEventListener("controllerchange", resolve));
    return navigator.serviceWorker.controller !== null;
}, update);

async function retype(page, id, text) {
    await page.click(id);
    await page.press("Control+A");
    await page.type(text);
}

// The colour that fills most of each element on the viewport's picture.
async function faces(page, ids) {
    const [boxes, scale] = await page.eval(ids => [ids.map(id => {
        const { x, y, width, height } = document.getElementById(id).getBoundingClientRect();
        return { x, y, width, height };
    }), devicePixelRatio], ids);
    const colours = faceColours(await page.screenshot(), boxes, scale);
    return Object.fromEntries(ids.map((id, i) => [id, colours[i]]));
}

async function withPage(engine, options, play) {
    const page = await engine.open(options);
    try {
        return await play(page);
    } finally {
        await page.close();
    }
}

// A page whose program is held back until the scenario calls release(), to
// play what a reader does before it is ready.
async function whileProgramHeld(engine, play) {
    const server = await serveSite();
    const release = server.hold("velmora.wasm");
    try {
        await withPage(engine, { url: server.url, wait: false }, page => play(page, release));
    } finally {
        release();
        await server.stop();
    }
}

// The site with the violation recorder as the first thing in the document,
// for an engine whose driver cannot run a script before the page's own.
async function recordingSite() {
    const dir = await mkdtemp(join(tmpdir(), "velmora-site-"));
    await cp(siteDir, dir, { recursive: true });
    const index = join(dir, "index.html");
    const html = await readFile(index, "utf8");
    await writeFile(index, html.replace(/<head[^>]*>/i, head => `${head}<script>${recordPolicyViolations}</script>`));
    const server = await serve(dir);
    return { url: server.url, stop: async () => { server.stop(); await rm(dir, { recursive: true, force: true }); } };
}

// Each scenario plays in one engine at a time: run(engine, site).
export const scenarios = [
    {
        name: "each mode draws its result fields pink and the others white, light and dark",
        async run(engine, site) {
            for (const colorScheme of ["light", "dark"]) {
                await withPage(engine, { url: site.url, colorScheme }, async page => {
                    // Time last: back from the others, not only as loaded.
                    for (const mode of [1, 2, 0]) {
                        await page.click(options[mode]);
                        await settles(page, p => p.eval(id => document.getElementById(id).checked, options[mode]), true);
                        const expected = Object.fromEntries(fields.map(id =>
                            [id, results[mode].includes(id) ? pink : white]));
                        assert.deepEqual(await faces(page, fields), expected, `${colorScheme}, mode ${mode}`);
                    }
                });
            }
        },
    },
    {
        name: "every keystroke in Data Size recalculates the time",
        run: (engine, site) => withPage(engine, { url: site.url }, async page => {
            assert.deepEqual(await times(page), ["0", "0", "0", "0", "0", "1"]);
            // At 32 KiloBytes/second.
            await retype(page, "Text1", "1920");
            await settles(page, times, ["0", "0", "0", "0", "1", "0"]);
        }),
    },
    {
        name: "a unit chosen by keyboard or from the list recalculates",
        run: (engine, site) => withPage(engine, { url: site.url }, async page => {
            await page.click("Text2");
            await page.press("Tab");
            await settles(page, focused, "Combo1");
            await page.press("ArrowDown");
            await settles(page, p => read(p, ["Combo1", ...timeFields]),
                ["MegaBytes", "0", "0", "0", "0", "17", "4"], "ArrowDown");
            await page.choose("Combo1", "GigaBytes");
            await settles(page, p => read(p, ["Combo1", ...timeFields]),
                ["GigaBytes", "0", "1", "5", "3", "16", "16"], "chosen");
        }),
    },
    {
        name: "a locked list takes the focus but refuses keys, clicks, the wheel and touch",
        run: (engine, site) => withPage(engine, { url: site.url, touch: true }, async page => {
            await page.click(options[1]);
            const window = await read(page);
            await page.click("Combo2");
            await settles(page, focused, "Combo2");
            const attempts = [["ArrowDown", p => p.press("ArrowDown")], ["End", p => p.press("End")],
                ["m", p => p.press("m")], ["a click", p => p.click("Combo2")],
                ["the wheel", p => p.wheel("Combo2")], ["a tap", p => p.tap("Combo2")]];
            for (const [what, attempt] of attempts) {
                await attempt(page);
                // Nothing to wait for: a frame and a task, after which
                // anything that would change has.
                await page.eval(() => new Promise(resolve => requestAnimationFrame(() => setTimeout(resolve))));
                assert.deepEqual(await read(page), window, what);
            }
            assert.equal(await focused(page), "Combo2");
        }),
    },
    {
        name: "a unit chosen and a size typed before the program is ready are kept",
        run: engine => whileProgramHeld(engine, async (page, release) => {
            await scriptRuns(page);
            await page.choose("Combo1", "GigaBytes");
            await retype(page, "Text1", "1");
            // A slow start is no failed one: nothing is said.
            assert.deepEqual(await page.eval(() => [document.getElementById("Form1").hasAttribute("data-ready"),
                document.getElementById("notice").hidden]), [false, true]);
            release();
            await ready(page);
            // 1 GigaByte at the loaded 32 KiloBytes/second.
            await settles(page, p => read(p, ["Text1", "Combo1", ...timeFields]),
                ["1", "GigaBytes", "0", "0", "0", "9", "6", "8"]);
        }),
    },
    {
        name: "a release caught mid-upload is not taken, and taken whole once complete",
        async run(engine) {
            const dirs = { next: await mkdtemp(join(tmpdir(), "velmora-next-")),
                           mixed: await mkdtemp(join(tmpdir(), "velmora-mixed-")) };
            const server = await serveSite();
            try {
                await nextBuild(dirs.next);
                // The next worker, page and loader, but still the first program.
                await cp(dirs.next, dirs.mixed, { recursive: true });
                await cp(join(siteDir, "velmora.wasm"), join(dirs.mixed, "velmora.wasm"));
                const build = p => p.eval(() => document.querySelector('meta[name="build"]')?.content ?? "first");
                await withPage(engine, { url: server.url }, async page => {
                    assert.equal(await workerSettles(page), true);
                    server.dir = dirs.mixed;
                    await page.reload();
                    await workerSettles(page);
                    await page.reload();
                    assert.equal(await build(page), "first", "half a release taken");
                    await retype(page, "Text1", "64");
                    await settles(page, times, ["0", "0", "0", "0", "0", "2"]);

                    server.dir = dirs.next;
                    await page.reload();
                    await workerSettles(page);
                    await page.reload();
                    assert.equal(await build(page), "next", "the whole release not taken");
                    const program = await page.eval(() => caches.match("velmora.wasm").then(r => r.arrayBuffer())
                        .then(bytes => bytes.byteLength));
                    assert.equal(program, (await readFile(join(dirs.next, "velmora.wasm"))).length);
                    await retype(page, "Text1", "64");
                    await settles(page, times, ["0", "0", "0", "0", "0", "2"]);
                });
            } finally {
                await server.stop();
                for (const dir of Object.values(dirs))
                    await rm(dir, { recursive: true, force: true });
            }
        },
    },
    {
        name: "a first visit fetches each file once",
        // WebKitWebDriver's sessions keep no HTTP cache that the worker
        // shares: the page's files reach the worker from the network again.
        skip: { webkit: "no HTTP cache shared with the service worker under WebKitWebDriver" },
        async run(engine) {
            // A static host's headers: without them Chromium fetches its
            // tab's icon twice, whatever the page does.
            const server = await serveSite({ cacheControl: "max-age=600" });
            try {
                await withPage(engine, { url: server.url }, async page => {
                    assert.equal(await workerSettles(page, false), true);
                    const counts = {};
                    for (const name of server.requests)
                        counts[name] = (counts[name] ?? 0) + 1;
                    assert.deepEqual(Object.entries(counts).filter(([, count]) => count > 1), [],
                        JSON.stringify(counts));
                });
            } finally {
                await server.stop();
            }
        },
    },
    {
        name: "reloaded at once after typing, the page's address holds the last edit",
        run: (engine, site) => withPage(engine, { url: site.url }, async page => {
            // More keystrokes than the address takes at once.
            await retype(page, "Text1", "40960001");
            await page.reload();
            assert.equal(await page.eval(() => location.hash), "#calculate=time&size=40960001");
            assert.equal(await page.eval(() => document.getElementById("Text1").value), "40960001");
        }),
    },
    {
        name: "a loader that never runs is told after a few seconds, and the fields are disabled then",
        async run(engine) {
            const server = await serveSite();
            const dir = await mkdtemp(join(tmpdir(), "velmora-missing-"));
            try {
                await cp(siteDir, dir, { recursive: true });
                await rm(join(dir, "velmora.js"));
                server.dir = dir;
                await withPage(engine, { url: server.url, wait: false }, async page => {
                    const state = p => p.eval(() => [getComputedStyle(document.getElementById("stalled")).visibility,
                        [...document.querySelectorAll("#Form1 input, #Form1 select")].every(c => c.disabled)]);
                    // Taking input meanwhile, for a loader that is only slow.
                    assert.deepEqual(await state(page), ["hidden", false]);
                    for (let i = 0; i < 100 && (await state(page))[0] !== "visible"; ++i)
                        await sleep(100);
                    // The line and the grey fields come at the same five seconds.
                    await settles(page, state, ["visible", true]);
                    assert.match(await page.eval(() => document.getElementById("stalled").textContent), /connection/);
                });
            } finally {
                await server.stop();
                await rm(dir, { recursive: true, force: true });
            }
        },
    },
    {
        name: "a size typed and then a mode chosen before the program is ready are done in that order",
        run: engine => whileProgramHeld(engine, async (page, release) => {
            await scriptRuns(page);
            await retype(page, "Text1", "64");
            await page.click(options[2]);
            release();
            await ready(page);
            await settles(page, p => read(p, ["Text1", "Combo1"]), ["64", "KiloBytes"]);
            assert.equal(await page.eval(id => document.getElementById(id).checked, options[2]), true);
        }),
    },
    {
        name: "the caret stays where the reader left it when the program starts",
        run: engine => whileProgramHeld(engine, async (page, release) => {
            await scriptRuns(page);
            await retype(page, "Text2", "12");
            await page.press("Home");
            await page.type("9");
            release();
            await ready(page);
            await page.type("5");
            await settles(page, p => read(p, ["Text2"]), ["9512"]);
        }),
    },
    {
        name: "a result is spoken once typing pauses, and a locked list says it is locked",
        run: (engine, site) => withPage(engine, { url: site.url }, async page => {
            await page.eval(() => {
                const region = document.getElementById("Form1-spoken");
                globalThis.spoken = [];
                new MutationObserver(() => globalThis.spoken.push(region.textContent.trim()))
                    .observe(region, { childList: true, characterData: true, subtree: true });
            });
            const spoken = p => p.eval(() => globalThis.spoken);
            await retype(page, "Text1", "1920");
            await sleep(500);
            assert.deepEqual(await spoken(page), [], "spoken while typing");
            await settles(page, spoken, ["Time: 1 minute"]);
            await page.click(options[1]);
            await page.click("Combo2");
            await page.press("ArrowDown");
            await settles(page, spoken, ["Time: 1 minute", "Speed unit is read only", "Speed unit is read only"]);
            assert.equal(await page.eval(() => document.getElementById("Combo2").getAttribute("aria-label")),
                "Speed unit, read only");
        }),
    },
    {
        name: "Enter and Ctrl+Space leave a locked list closed",
        run: (engine, site) => withPage(engine, { url: site.url }, async page => {
            await page.click(options[1]);
            await page.click("Combo2");
            await settles(page, focused, "Combo2");
            // An engine without :open is checked by the unit alone.
            const state = p => p.eval(() => {
                const list = document.getElementById("Combo2");
                let open = false;
                try {
                    open = list.matches(":open");
                } catch {
                }
                return [open, list.selectedIndex];
            });
            for (const key of ["Enter", "Control+Space", "Control+ArrowDown", "Control+End"]) {
                await page.press(key);
                await page.eval(() => new Promise(resolve => requestAnimationFrame(() => setTimeout(resolve))));
                assert.deepEqual(await state(page), [false, 0], key);
            }
        }),
    },
    {
        name: "the browser's keys pass over a locked list, and a wheel or swipe over it scrolls the page",
        run: (engine, site) => withPage(engine, { url: site.url, touch: true }, async page => {
            await page.click(options[1]);
            await page.click("Combo2");
            await settles(page, focused, "Combo2");
            // Below the window, room to scroll. Whether the page cancelled
            // each key, wheel and touch is noted last of all; the browser
            // then does nothing with the key (a reload, a print, going back).
            await page.eval(() => {
                const room = document.createElement("div");
                Object.assign(room.style, { position: "absolute", top: "0", width: "1px", height: "300vh" });
                document.body.append(room);
                globalThis.cancelled = [];
                for (const type of ["keydown", "wheel", "touchstart"]) {
                    addEventListener(type, event => {
                        if (type !== "keydown" || !["Shift", "Control", "Alt", "Meta"].includes(event.key))
                            globalThis.cancelled.push([type, event.defaultPrevented]);
                        if (type === "keydown")
                            event.preventDefault();
                    }, { passive: false });
                }
            });
            const noted = p => p.eval(() => globalThis.cancelled);
            const takeNoted = p => p.eval(() => globalThis.cancelled.splice(0));
            const keys = { "Control+f": false, "Control+=": false, "Control+-": false, "Control+0": false,
                "Control+p": false, "F5": false, "Alt+m": false, "Shift+Tab": false,
                "ArrowDown": true, "Alt+ArrowDown": true, "PageDown": true, "m": true,
                "Control+ArrowDown": true, "Enter": true, "Shift+ArrowLeft": true,
                // Back, Forward, the home page, the next and previous tab.
                "Alt+ArrowLeft": false, "Alt+ArrowRight": false, "Alt+Home": false,
                "Control+PageDown": false, "Control+PageUp": false };
            for (const [key, refused] of Object.entries(keys)) {
                await page.press(key);
                await settles(page, noted, [["keydown", refused]], key);
                await takeNoted(page);
            }
            assert.equal(await page.eval(() => document.getElementById("Combo2").selectedIndex), 0);
            await page.wheel("Combo2");
            await settles(page, p => p.eval(() => scrollY > 0), true, "the wheel scrolls the page");
            await page.tap("Combo2");
            const events = await takeNoted(page);
            assert.ok(events.some(([type]) => type === "wheel"), JSON.stringify(events));
            assert.deepEqual(events.filter(([, prevented]) => prevented), [], "wheel or touch cancelled");
        }),
    },
    {
        name: "the About box opens modal, keeps the focus in, and each way of closing it gives it back",
        run: (engine, site) => withPage(engine, { url: site.url }, async page => {
            const state = p => p.eval(() => {
                const box = document.getElementById("frmAbout");
                return { open: box.open, modal: box.matches(":modal"), focus: document.activeElement?.id };
            });
            const openers = { "a click on the logo": p => p.click("Image1"), "F1": p => p.press("F1") };
            const closers = { "OK": p => p.click("cmdOK"), "Enter": p => p.press("Enter"),
                              "Escape": p => p.press("Escape") };
            for (const [opening, open] of Object.entries(openers)) {
                for (const [closing, close] of Object.entries(closers)) {
                    await page.click("Text2");
                    await open(page);
                    await settles(page, state, { open: true, modal: true, focus: "cmdOK" }, `${opening}`);
                    await close(page);
                    await settles(page, state, { open: false, modal: false, focus: "Text2" },
                        `${opening}, then ${closing}`);
                }
            }
            // Tab and Shift+Tab go round OK and the logo only.
            await page.press("F1");
            const order = [];
            for (const key of ["Tab", "Shift+Tab", "Shift+Tab"]) {
                await page.press(key);
                order.push(await focused(page));
            }
            assert.deepEqual(order, ["picIcon", "cmdOK", "picIcon"]);
        }),
    },
    {
        name: "under de-DE a speed is read and written with a comma",
        run: (engine, site) => withPage(engine, { url: site.url, locale: "de-DE" }, async page => {
            assert.equal(await page.eval(() => navigator.language), "de-DE");
            await page.click(options[1]);
            await retype(page, "Text1", "1,5");
            await settles(page, p => read(p, ["Text2", "Combo2"]), ["1,5", "KiloBytes/second"]);
        }),
    },
    {
        name: "the service worker takes over and the page works offline",
        async run(engine) {
            // A server of its own, stopped below: whatever the page still
            // fetches must come from its service worker.
            const server = await serve();
            try {
                await withPage(engine, { url: server.url }, async page => {
                    assert.equal(await page.eval(() => navigator.serviceWorker.ready.then(() => true)), true);
                    await page.reload();
                    await settles(page, p => p.eval(() => navigator.serviceWorker.controller !== null), true);
                    server.stop();
                    await page.setOffline?.(true);
                    // An address never fetched before, so that no cache of
                    // the browser's own holds it: only the worker can answer.
                    await page.goto(`${server.url}?offline`);
                    assert.equal(await page.eval(() => navigator.serviceWorker.controller !== null), true);
                    await retype(page, "Text1", "64");
                    await settles(page, times, ["0", "0", "0", "0", "0", "2"]);
                });
            } finally {
                server.stop();
            }
        },
    },
    {
        name: "on a phone every control is big enough to touch and in sight",
        run: (engine, site) => withPage(engine,
            { url: site.url, viewport: { width: 390, height: 844 }, touch: true }, async page => {
                const { boxes, scrollWidth } = await page.eval(() => ({
                    boxes: [...document.querySelectorAll(".field, label.option")].map(element => {
                        const { left, top, right, bottom } = element.getBoundingClientRect();
                        return [element.id || element.querySelector("input").id,
                            { left, top, right, bottom }];
                    }),
                    scrollWidth: document.scrollingElement.scrollWidth,
                }));
                assert.equal(boxes.length, 13, JSON.stringify(boxes));
                const small = boxes.filter(([, b]) => b.right - b.left < 44 || b.bottom - b.top < 44);
                const outside = boxes.filter(([, b]) => b.left < 0 || b.top < 0 || b.right > 390 || b.bottom > 844);
                assert.deepEqual(small, [], "smaller than 44 by 44");
                assert.deepEqual(outside, [], "out of the viewport");
                assert.ok(scrollWidth <= 390, `scrolls sideways: ${scrollWidth}`);
            }),
    },
    {
        name: "the page carries a security policy and nothing it does breaks it",
        async run(engine, site) {
            const recording = engine.initScript ? null : await recordingSite();
            try {
                await withPage(engine, { url: (recording ?? site).url }, async page => {
                    assert.equal(await page.eval(() =>
                        document.querySelectorAll('meta[http-equiv="Content-Security-Policy" i]').length), 1);
                    for (const option of [options[1], options[2], options[0]])
                        await page.click(option);
                    await retype(page, "Text1", "64");
                    await page.press("F1");
                    await page.press("Escape");
                    assert.deepEqual(await page.eval(() => globalThis.policyViolations), []);
                });
            } finally {
                await recording?.stop();
            }
        },
    },
    {
        name: "typing and choosing write the calculation into the page's address",
        run: (engine, site) => withPage(engine, { url: site.url }, async page => {
            const address = p => p.eval(() => location.hash);
            assert.equal(await address(page), "");
            await retype(page, "Text1", "4");
            await page.choose("Combo1", "GigaBytes");
            await retype(page, "Text2", "10");
            await page.choose("Combo2", "MegaBytes/second");
            await settles(page, address, "#calculate=time&size=4&size-unit=GB&speed=10&speed-unit=MB/s");
            // The time is an input now; what still reads as it opened is left out.
            await page.click(options[1]);
            await settles(page, address, "#calculate=speed&size=4&size-unit=GB&minutes=6&seconds=49.6");
        }),
    },
    {
        name: "an address opens on its calculation, and one edited by hand applies at once",
        run: (engine, site) => withPage(engine,
            { url: `${site.url}#calculate=speed&size=4&size-unit=GB&minutes=6&seconds=49.6` }, async page => {
                assert.deepEqual(await read(page),
                    ["4", "10", "GigaBytes", "MegaBytes/second", "0", "0", "0", "0", "6", "49.6"]);
                assert.equal(await page.eval(id => document.getElementById(id).checked, options[1]), true);
                await page.eval(() => { location.hash = "#calculate=data&speed=1&speed-unit=mb/s&hours=1&seconds=0"; });
                await settles(page, p => read(p, ["Text1", "Combo1"]), ["3.52", "GigaBytes"]);
                assert.equal(await page.eval(id => document.getElementById(id).checked, options[2]), true);
                // Written back as the page writes it.
                await settles(page, p => p.eval(() => location.hash),
                    "#calculate=data&speed=1&speed-unit=MB/s&hours=1&seconds=0");
            }),
    },
    {
        name: "Back after typing leaves the page: typing adds no history",
        run: (engine, site) => withPage(engine, { url: site.url }, async page => {
            await page.goto(`${site.url}index.html`);
            const entries = await page.eval(() => history.length);
            await retype(page, "Text1", "4");
            await page.choose("Combo1", "GigaBytes");
            await page.click(options[2]);
            await settles(page, p => p.eval(() => location.hash),
                "#calculate=data&days=1&hours=12&minutes=24&seconds=32");
            assert.equal(await page.eval(() => history.length), entries);
            await page.back();
            await settles(page, p => p.eval(() => location.href), site.url);
        }),
    },
];

// The page where people put it: Debian's nginx and Apache, each run by this
// test on a port of its own from the package's configuration plus only
// what the README tells a user to add, at the root and under a sub-path;
// the page opened from disk; and Lighthouse's scores.
import { test } from "node:test";
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { chmod, cp, mkdir, mkdtemp, readFile, rm, writeFile } from "node:fs/promises";
import { createServer } from "node:net";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import lighthouse from "lighthouse";
import desktopConfig from "lighthouse/core/config/desktop-config.js";
import { chromium } from "playwright-core";
import puppeteer from "puppeteer-core";
import { chromiumArgs, chromiumPath, nextBuild, profile, read, ready, retype, siteDir, timeFields,
    watchPolicy } from "./harness.mjs";
import { firefoxPath } from "./engines/firefox.mjs";

const readme = await readFile(join(dirname(fileURLToPath(import.meta.url)), "../../README.md"), "utf8");
// The README's lines for nginx, as a user copies them.
const nginxLines = /```nginx\n([^]*?)```/.exec(readme)?.[1];

async function freePort() {
    const server = createServer();
    await new Promise(resolve => server.listen(0, "127.0.0.1", resolve));
    const { port } = server.address();
    await new Promise(resolve => server.close(resolve));
    return port;
}

// Runs the server in the foreground until stop(); up once it answers.
async function run(command, args, env, port, log) {
    const server = spawn("timeout", ["600", command, ...args], { env: { ...process.env, ...env },
        stdio: "ignore" });
    const stop = () => new Promise(resolve => {
        if (server.exitCode !== null || server.signalCode !== null)
            return resolve();
        server.once("exit", resolve);
        server.kill();
    });
    process.on("exit", () => server.kill());
    const url = `http://127.0.0.1:${port}/`;
    for (const end = Date.now() + 15000; ;) {
        if (server.exitCode !== null)
            throw new Error(`${command} exited with ${server.exitCode}:\n${await readFile(log, "utf8").catch(() => "")}`);
        if (await fetch(url).then(() => true, () => false))
            return { url, stop };
        if (Date.now() > end) {
            await stop();
            throw new Error(`${command} did not answer on port ${port}`);
        }
        await new Promise(resolve => setTimeout(resolve, 100));
    }
}

// Debian's nginx.conf and its default site, with this test's port, folder,
// pid and logs, and the README's lines where a user puts them (conf.d).
async function nginx(root, dir) {
    const port = await freePort();
    await mkdir(join(dir, "conf.d"));
    await writeFile(join(dir, "conf.d/velmora.conf"), nginxLines);
    const site = (await readFile("/etc/nginx/sites-available/default", "utf8"))
        .replace(/^\s*listen \[::\]:80 .*$/m, "")
        .replace(/listen 80 default_server;/, `listen 127.0.0.1:${port} default_server;`)
        .replace(/root \/var\/www\/html;/, `root ${root};`);
    await writeFile(join(dir, "site.conf"), site);
    const temp = ["client_body", "proxy", "fastcgi", "uwsgi", "scgi"]
        .map(name => `${name}_temp_path ${dir}/${name};`).join(" ");
    const conf = (await readFile("/etc/nginx/nginx.conf", "utf8"))
        .replace(/^pid .*$/m, `pid ${dir}/nginx.pid;`)
        .replace(/error_log [^;]*;/g, `error_log ${dir}/error.log;`)
        .replace(/access_log [^;]*;/g, `access_log ${dir}/access.log;`)
        .replace("include /etc/nginx/conf.d/*.conf;", `include ${dir}/conf.d/*.conf; ${temp}`)
        .replace("include /etc/nginx/sites-enabled/*;", `include ${dir}/site.conf;`);
    assert.ok(conf.includes(`${dir}/conf.d`) && conf.includes(`${dir}/site.conf`) && site.includes(root),
        "Debian's nginx configuration changed its form");
    await writeFile(join(dir, "nginx.conf"), conf);
    return run("/usr/sbin/nginx", ["-e", `${dir}/error.log`, "-c", `${dir}/nginx.conf`, "-g", "daemon off;"],
        {}, port, join(dir, "error.log"));
}

// Debian's apache2.conf and its default site, as they come: this test's
// port and folder, and its own run, lock and log folders.
async function apache(root, dir) {
    const port = await freePort();
    const site = (await readFile("/etc/apache2/sites-available/000-default.conf", "utf8"))
        .replace("<VirtualHost *:80>", `<VirtualHost *:${port}>`)
        .replace("DocumentRoot /var/www/html", `DocumentRoot ${root}`);
    const conf = (await readFile("/etc/apache2/apache2.conf", "utf8"))
        .replace(/^Include ports\.conf$/m, `Listen 127.0.0.1:${port}`)
        .replace(/^IncludeOptional sites-enabled\/\*\.conf$/m, `Include ${dir}/site.conf`)
        .replace("<Directory /var/www/>", `<Directory ${root}/>`);
    assert.ok(conf.includes(`Listen 127.0.0.1:${port}`) && conf.includes(`${dir}/site.conf`) &&
              conf.includes(`<Directory ${root}/>`) && site.includes(root),
        "Debian's Apache configuration changed its form");
    await writeFile(join(dir, "site.conf"), site);
    await writeFile(join(dir, "apache2.conf"), `ServerRoot /etc/apache2\n${conf}`);
    const env = { APACHE_RUN_USER: "www-data", APACHE_RUN_GROUP: "www-data",
        APACHE_PID_FILE: `${dir}/apache2.pid`, APACHE_RUN_DIR: dir, APACHE_LOCK_DIR: dir,
        APACHE_LOG_DIR: dir, LANG: "C" };
    return run("/usr/sbin/apache2", ["-f", `${dir}/apache2.conf`, "-DFOREGROUND"], env, port,
        join(dir, "error.log"));
}


const build = page => page.evaluate(() => document.querySelector('meta[name="build"]')?.content ?? "first");

// A port found free may be taken by another process before the server
// binds it: a server that exits at once is started again, on another.
async function started(start, root, dir) {
    for (let attempt = 1; ; ++attempt) {
        try {
            return await start(root, dir);
        } catch (error) {
            if (attempt === 3 || !/exited/.test(error.message))
                throw error;
            for (const name of ["conf.d", "site.conf"])
                await rm(join(dir, name), { recursive: true, force: true });
        }
    }
}

for (const [name, start] of [["nginx", nginx], ["Apache", apache]]) {
    test(`on Debian's ${name}, at the root and under /tools/velmora/, the page starts compressed, ` +
         "works offline and takes a new version by the second visit", async t => {
        const dir = await mkdtemp(join(tmpdir(), "velmora-server-"));
        t.after(() => rm(dir, { recursive: true, force: true }));
        const root = join(dir, "www");
        const next = join(dir, "next");
        await cp(siteDir, root, { recursive: true });
        await cp(siteDir, join(root, "tools/velmora"), { recursive: true });
        await nextBuild(next);
        // The server's workers read the folder as another user.
        await chmod(dir, 0o755);
        const server = await started(start, root, dir);
        t.after(server.stop);

        for (const place of ["", "tools/velmora/"]) {
            const url = server.url + place;
            const { context, page } = await profile(t);
            const errors = [];
            page.on("console", message => message.type() === "error" && errors.push(message.text()));
            const encodings = {};
            page.on("response", async response => {
                const file = response.url().slice(url.length);
                if (["velmora.js", "velmora.wasm"].includes(file) && !response.fromServiceWorker())
                    encodings[file] = await response.headerValue("content-encoding");
            });
            await page.goto(url);
            await ready(page);
            await retype(page, "Text1", "64");
            assert.deepEqual(await read(page, timeFields), ["0", "0", "0", "0", "0", "2"], url);
            assert.deepEqual(encodings, { "velmora.js": "gzip", "velmora.wasm": "gzip" }, url);
            assert.equal(await page.evaluate(() => navigator.serviceWorker.ready.then(r => r.scope)), url);
            await page.waitForFunction(() => navigator.serviceWorker.controller !== null);

            // The next version unpacked over this one, as a user copies it.
            // Each visit at the bare address: the first after the release
            // still shows the version before, and fetches the next.
            await cp(next, join(root, place), { recursive: true, force: true });
            await page.goto(url);
            await ready(page);
            assert.equal(await build(page), "first", `${url} first visit`);
            // Taken once the first version's cache is gone, after the next one's is filled.
            const taken = () => page.evaluate(async () => (await caches.keys()).join() === `velmora ${location.href} next`);
            for (const end = Date.now() + 15000; !await taken();) {
                assert.ok(Date.now() < end, `${url}: the next version was not taken`);
                await new Promise(resolve => setTimeout(resolve, 100));
            }
            await page.goto(url);
            await ready(page);
            assert.equal(await build(page), "next", `${url} second visit`);

            await context.setOffline(true);
            assert.ok((await page.reload()).fromServiceWorker(), `${url} offline`);
            await ready(page);
            await retype(page, "Text1", "128");
            assert.deepEqual(await read(page, timeFields), ["0", "0", "0", "0", "0", "4"], `${url} offline`);
            assert.deepEqual(errors, [], url);
        }
    });
}

// Lighthouse's four categories, on a phone and on a desktop, against the
// page as nginx sends it. Its timings vary with the machine's load: each
// form factor has three tries to score 100 throughout.
test("Lighthouse scores the page 100 in every category, on a phone and on a desktop", async t => {
    const dir = await mkdtemp(join(tmpdir(), "velmora-lighthouse-"));
    t.after(() => rm(dir, { recursive: true, force: true }));
    await cp(siteDir, join(dir, "www"), { recursive: true });
    await chmod(dir, 0o755);
    const server = await started(nginx, join(dir, "www"), dir);
    t.after(server.stop);
    const profileDir = join(dir, "profile");
    const browser = spawn(chromiumPath, [...chromiumArgs, "--headless", "--remote-debugging-port=0",
        `--user-data-dir=${profileDir}`, "about:blank"], { stdio: "ignore" });
    t.after(() => browser.kill());
    let port;
    for (const end = Date.now() + 30000; !port; await new Promise(resolve => setTimeout(resolve, 100))) {
        assert.ok(Date.now() < end, "Chromium did not open its debugging port");
        port = Number((await readFile(join(profileDir, "DevToolsActivePort"), "utf8").catch(() => "")).split("\n")[0]);
    }
    for (const [formFactor, config] of [["mobile", undefined], ["desktop", desktopConfig]]) {
        let scores;
        for (let attempt = 0; attempt < 3; ++attempt) {
            const { lhr } = await lighthouse(server.url, { port, output: "json", logLevel: "error" }, config);
            scores = Object.fromEntries(Object.values(lhr.categories).map(c => [c.id, Math.round(c.score * 100)]));
            const failing = Object.values(lhr.audits).filter(a => a.score !== null && a.score < 1 &&
                ["binary", "numeric", "metricSavings"].includes(a.scoreDisplayMode)).map(a => a.id);
            scores.below = failing.filter(id => !id.endsWith("-insight")).sort().join(" ");
            if (Object.values(lhr.categories).every(c => Math.round(c.score * 100) === 100))
                break;
        }
        assert.deepEqual({ performance: scores.performance, accessibility: scores.accessibility,
            "best-practices": scores["best-practices"], seo: scores.seo },
            { performance: 100, accessibility: 100, "best-practices": 100, seo: 100 },
            `${formFactor}; audits below full marks: ${scores.below}`);
    }
});

// Chromium runs no module from disk and says so in its console; Firefox
// runs the page, and nothing goes wrong.
test("opened from disk, the page says it needs a web server where it cannot run, and runs in Firefox", async t => {
    const url = pathToFileURL(join(siteDir, "index.html")).href;
    const browser = await chromium.launch({ executablePath: chromiumPath, args: chromiumArgs, timeout: 60000 });
    t.after(() => browser.close());
    const page = await browser.newPage();
    const errors = [];
    page.on("console", message => message.type() === "error" && errors.push(message.text()));
    page.on("pageerror", error => errors.push(error.message));
    await page.goto(url);
    const notice = page.locator("#notice");
    await notice.waitFor({ state: "visible", timeout: 5000 });
    assert.equal(await notice.textContent(), "Velmora needs a web server: this browser does not run it " +
        "from a file. To serve its folder, run python3 -m http.server in it, then open http://localhost:8000/.");
    assert.equal(await page.locator("#stalled").count(), 0, "the connection is not blamed");
    // The browser's own refusals of the page's files, and nothing of the page's.
    assert.ok(errors.length > 0 && errors.every(text => /^Access to .* at 'file:.*\/velmora\.(js|wasm)' from origin 'null' has been blocked by CORS policy|^Failed to load resource: net::ERR_FAILED$/.test(text)),
        errors.join("\n"));

    const firefox = await puppeteer.launch({ browser: "firefox", protocol: "webDriverBiDi",
        executablePath: firefoxPath, headless: true, timeout: 60000 });
    t.after(() => firefox.close());
    const tab = await firefox.newPage();
    const firefoxErrors = [];
    tab.on("console", message => message.type() === "error" && firefoxErrors.push(message.text()));
    tab.on("pageerror", error => firefoxErrors.push(error.message));
    await tab.goto(url, { waitUntil: "load" });
    await tab.waitForSelector("#Form1[data-ready]", { timeout: 20000 });
    await tab.click('[id="Text1"]', { count: 3 });
    await tab.keyboard.type("64");
    await tab.waitForFunction(() => document.getElementById("Text3(5)").value === "2");
    assert.equal(await tab.$eval("#notice", notice => notice.hidden), true);
    assert.deepEqual(firefoxErrors, []);
});

// Plays the shared scenarios in one engine, named by VELMORA_ENGINE:
//   VELMORA_ENGINE=firefox node --test --test-reporter=spec run.mjs
// One server and one engine for them all, each scenario with pages of its own.
import { after, before, test } from "node:test";
import { serve } from "../harness.mjs";
import { scenarios } from "./scenarios.mjs";

const drivers = { chromium: "./chromium.mjs", firefox: "./firefox.mjs", webkit: "./webkit.mjs" };
const name = process.env.VELMORA_ENGINE ?? process.argv[2];
if (!drivers[name])
    throw new Error(`VELMORA_ENGINE must be one of ${Object.keys(drivers).join(", ")}`);
const { start } = await import(drivers[name]);

const run = {};
before(async () => {
    run.site = await serve();
    run.engine = await start();
    console.log(`${name} ${run.engine.version}`);
});
after(async () => {
    await run.engine?.stop();
    run.site?.stop();
});

for (const scenario of scenarios) {
    test(`${name}: ${scenario.name}`, { timeout: 90000, skip: scenario.skip?.[name] ?? false },
        () => scenario.run(run.engine, run.site));
}

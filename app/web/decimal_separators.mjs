// Writes the page's table of decimal separators: every language and region
// (two letters or three digits) that this Node.js's ICU (CLDR) knows whose
// separator is not ".", or not its language's, as written with Latin digits,
// the page's own. The page looks its reader's up there instead of asking the
// browser's number formats, whose first use costs tens of milliseconds at
// start-up.
//   node decimal_separators.mjs OUTPUT.js
import { writeFileSync } from "node:fs";

const [output] = process.argv.slice(2);
if (!output) {
    console.error("usage: node decimal_separators.mjs OUTPUT.js");
    process.exit(2);
}

const separator = tag => new Intl.NumberFormat(tag, { numberingSystem: "latn" }).formatToParts(1.5)
    .find(part => part.type === "decimal")?.value ?? ".";
const known = (type, code) => new Intl.DisplayNames(["en"], { type, fallback: "code" }).of(code) !== code;

const letters = [..."abcdefghijklmnopqrstuvwxyz"];
const pairs = letters.flatMap(a => letters.map(b => a + b));
const languages = [...pairs, ...pairs.flatMap(p => letters.map(c => p + c))].filter(code =>
    Intl.getCanonicalLocales(code)[0] === code && known("language", code) &&
    Intl.NumberFormat.supportedLocalesOf(code, { localeMatcher: "lookup" }).length > 0);
const digits = Array.from({ length: 1000 }, (_, n) => String(n).padStart(3, "0"));
const regions = [...pairs.map(p => p.toUpperCase()), ...digits].filter(code => known("region", code));

const table = {};
const add = (tag, value) => (table[value] ??= []).push(tag.toLowerCase());
for (const language of languages) {
    const own = separator(language);
    if (own !== ".")
        add(language, own);
    for (const region of regions) {
        const tag = `${language}-${region}`;
        const value = separator(tag);
        if (value !== own)
            add(tag, value);
    }
}

if (!Object.keys(table).length || !table[","]?.includes("de")) {
    console.error("decimal_separators: this Node.js knows no language's separator; is its ICU full?");
    process.exit(1);
}

// Plain ES2017: the toolchain's own minifier reads the script too.
writeFileSync(output, `// The reader's decimal separator, from a table of the build's ICU
// (app/web/decimal_separators.mjs): the tag itself, then without its script,
// then its language alone. Numbers are written in Latin digits whatever the
// tag asks for.
Module.decimalSeparator = (function() {
    var table = ${JSON.stringify(table)};
    var parts = (navigator.language || "").split("-u-")[0].toLowerCase().split("-");
    var tags = [parts.join("-"), parts.filter(function(part, i) { return i === 0 || part.length !== 4; }).join("-"),
                parts.slice(0, 2).join("-"), parts[0]];
    for (var t = 0; t < tags.length; ++t) {
        for (var value in table) {
            if (table[value].indexOf(tags[t]) >= 0)
                return value;
        }
    }
    return ".";
})();
`);

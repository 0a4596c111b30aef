// Writes the page's table of decimal separators: every language and region
// that this Node.js's ICU (CLDR) knows whose separator is not ".", or not its
// language's. The page looks its reader's up there instead of asking the
// browser's number formats, whose first use costs tens of milliseconds at
// start-up.
//   node decimal_separators.mjs OUTPUT.js
import { writeFileSync } from "node:fs";

const [output] = process.argv.slice(2);
if (!output) {
    console.error("usage: node decimal_separators.mjs OUTPUT.js");
    process.exit(2);
}

const separator = tag => new Intl.NumberFormat(tag).formatToParts(1.5)
    .find(part => part.type === "decimal")?.value ?? ".";
const known = (type, code) => new Intl.DisplayNames(["en"], { type, fallback: "code" }).of(code) !== code;

const letters = [..."abcdefghijklmnopqrstuvwxyz"];
const pairs = letters.flatMap(a => letters.map(b => a + b));
const languages = [...pairs, ...pairs.flatMap(p => letters.map(c => p + c))].filter(code =>
    Intl.getCanonicalLocales(code)[0] === code && known("language", code) &&
    Intl.NumberFormat.supportedLocalesOf(code, { localeMatcher: "lookup" }).length > 0);
const regions = pairs.map(p => p.toUpperCase()).filter(code => known("region", code));

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

// Plain ES2017: the toolchain's own minifier reads the script too.
writeFileSync(output, `// The reader's decimal separator, from a table of the build's ICU
// (app/web/decimal_separators.mjs). A tag with its own numbering system is
// left to the browser.
Module.decimalSeparator = (function() {
    var table = ${JSON.stringify(table)};
    var language = navigator.language || "";
    if (/-u-(.+-)?nu-/.test(language)) {
        try {
            var parts = new Intl.NumberFormat(language).formatToParts(1.5);
            for (var i = 0; i < parts.length; ++i) {
                if (parts[i].type === "decimal")
                    return parts[i].value;
            }
        } catch (e) {
        }
        return ".";
    }
    for (var tag = language.split("-u-")[0].toLowerCase(); tag; tag = tag.replace(/-?[^-]*$/, "")) {
        for (var value in table) {
            if (table[value].indexOf(tag) >= 0)
                return value;
        }
    }
    return ".";
})();
`);

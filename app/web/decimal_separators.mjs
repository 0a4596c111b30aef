// Makes the page's table of decimal symbols and digits (decimal_separators.js
// beside this script) from CLDR's XML: by default from the extract in cldr/
// beside it, the parts of one CLDR release that the table is made from, so
// that every build of the page carries the same table, whatever the building
// machine has.
//   node decimal_separators.mjs [OUTPUT]
// A newer release, for example the one Debian's unicode-cldr-core package
// installs, first replaces the extract, then the table is made from that:
//   node decimal_separators.mjs --renew /usr/share/unicode/cldr/common
// After renewing, check that cldr/unicode-license.txt and
// licenses/unicode-cldr.txt are the licence of that release.
import { mkdirSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";

const here = fileURLToPath(new URL(".", import.meta.url));
const extract = join(here, "cldr", "common");
const renewing = process.argv[2] === "--renew";
const common = renewing ? process.argv[3] ?? "/usr/share/unicode/cldr/common" : extract;
const output = (!renewing && process.argv[2]) || join(here, "decimal_separators.js");

const read = file => readFileSync(join(common, file), "utf8");
const version = read("dtd/ldml.dtd").match(/cldrVersion CDATA #FIXED "([^"]+)"/)?.[1];
if (!version) {
    console.error(`decimal_separators: no CLDR release in ${common}; install unicode-cldr-core or name one`);
    process.exit(1);
}

// ICU leaves out what CLDR marks as not yet confirmed; so does the table.
const confirmed = attributes => !/draft="(unconfirmed|provisional)"/.test(attributes) && !/alt=/.test(attributes);

const zeroDigits = {};
for (const [, id, digits] of read("supplemental/numberingSystems.xml")
    .matchAll(/<numberingSystem id="(\w+)" type="numeric" digits="([^"]+)"/g))
    zeroDigits[id] = [...digits.replace(/&#x([0-9a-f]+);/gi, (_, hex) => String.fromCodePoint(parseInt(hex, 16)))][0];

const parents = {};
for (const [, parent, children] of read("supplemental/supplementalData.xml")
    .matchAll(/<parentLocale parent="(\w+)" locales="([^"]+)"/g)) {
    for (const child of children.split(" "))
        parents[child] = parent;
}
const parentOf = id => parents[id] ?? (id.includes("_") ? id.slice(0, id.lastIndexOf("_")) : "root");

// The extract keeps of each file its start, with the copyright notice, and
// exactly the elements read here, as the release writes them.
function start(text, root) {
    const before = text.slice(0, text.indexOf(`<${root}>`));
    const comment = before.match(/<!--[^]*?-->/);
    return `${before.slice(0, comment.index)}${notice(comment[0])}\n<${root}>`;
}
const notice = comment => comment.split("\n")
    .filter(line => /^<!--|-->$|Copyright|terms of use|SPDX/.test(line)).join("\n");
function keptLocale(text, numbers) {
    const identity = text.match(/\n[\t ]*<identity>[^]*?<\/identity>/)?.[0] ?? "";
    const elements = [
        ...numbers.match(/[\t ]*<defaultNumberingSystem[^>]*>\w+<\/defaultNumberingSystem>/g) ?? [],
        ...(numbers.match(/[\t ]*<symbols numberSystem="\w+">[^]*?<\/symbols>/g) ?? []).map(symbols =>
            symbols.split("\n").filter(line => /<\/?symbols|<decimal|<alias/.test(line)).join("\n"))];
    const kept = elements.length ? `\n\t<numbers>\n${elements.join("\n")}\n\t</numbers>` : "";
    return `${start(text, "ldml")}${identity}${kept}\n</ldml>\n`;
}
function keptSupplemental(text, element) {
    const body = text.match(new RegExp(`[\\t ]*<${element}>[^]*?</${element}>`))[0];
    return `${start(text, "supplementalData")}\n${body}\n</supplementalData>\n`;
}

// What each locale's own file says: its default numbering system, and per
// numbering system the decimal symbol or that it takes Latin's ("latn").
const locales = {};
const kept = {};
for (const file of readdirSync(join(common, "main")).filter(name => name.endsWith(".xml")).sort()) {
    const text = read(join("main", file));
    const numbers = text.match(/<numbers>([^]*?)<\/numbers>/)?.[1] ?? "";
    const own = { system: undefined, symbols: {} };
    kept[file] = keptLocale(text, numbers);
    for (const [, attributes, system] of numbers.matchAll(/<defaultNumberingSystem([^>]*)>(\w+)</g)) {
        if (confirmed(attributes))
            own.system = system;
    }
    for (const [, system, body] of numbers.matchAll(/<symbols numberSystem="(\w+)">([^]*?)<\/symbols>/g)) {
        const decimal = [...body.matchAll(/<decimal([^>]*)>([^<]+)<\/decimal>/g)]
            .find(([, attributes]) => confirmed(attributes));
        if (decimal)
            own.symbols[system] = decimal[2];
        else if (/<alias source="locale" path="\.\.\/symbols\[@numberSystem='latn'\]"/.test(body))
            own.symbols[system] = "latn";
    }
    locales[file.slice(0, -4)] = own;
}

const chain = id => id === "root" ? ["root"] : [id, ...chain(parentOf(id))];
const resolve = id => {
    const files = chain(id).filter(name => locales[name]);
    const system = files.map(name => locales[name].system).find(Boolean) ?? "latn";
    const symbol = numberSystem => {
        for (const name of files) {
            const value = locales[name].symbols[numberSystem];
            if (value === "latn" && numberSystem !== "latn")
                return symbol("latn");
            if (value)
                return value;
        }
        return ".";
    };
    return [symbol(system), zeroDigits[system] ?? "0"];
};

// The page's lookup, written into the table's script as it is: the tag
// itself, then without its script, then language and region, then the
// language alone; Latin digits with a full stop where none is known.
function lookup(table, tag) {
    var parts = tag.split("-u-")[0].toLowerCase().split("-");
    var tags = [parts.join("-"), parts.filter(function(part, i) { return i === 0 || part.length !== 4; }).join("-"),
                parts.slice(0, 2).join("-"), parts[0]];
    for (var t = 0; t < tags.length; ++t) {
        for (var i = 0; i < table.length; ++i) {
            if (table[i][2].indexOf(tags[t]) >= 0)
                return table[i];
        }
    }
    return [".", "0"];
}

// Only the tags whose numbers differ from what the lookup finds without
// them, shorter tags first, so that they decide the longer ones' fallback.
const table = [];
const ids = Object.keys(locales).filter(id => id !== "root")
    .sort((a, b) => a.split("_").length - b.split("_").length || (a < b ? -1 : a > b ? 1 : 0));
for (const id of ids) {
    const tag = id.replace(/_/g, "-").toLowerCase();
    const [symbol, zero] = resolve(id);
    const found = lookup(table, tag);
    if (found[0] === symbol && found[1] === zero)
        continue;
    let row = table.find(([s, z]) => s === symbol && z === zero);
    if (!row)
        table.push(row = [symbol, zero, []]);
    row[2].push(tag);
}
for (const row of table)
    row[2].sort();

const german = lookup(table, "de-DE"), persian = lookup(table, "fa-IR");
if (german[0] !== "," || german[1] !== "0" || persian[0] !== "\u066B" || persian[1] !== "\u06F0") {
    console.error("decimal_separators: German or Persian numbers not found; is this CLDR's common folder?");
    process.exit(1);
}

if (renewing) {
    const dtd = read("dtd/ldml.dtd");
    const files = {
        "dtd/ldml.dtd": `${notice(dtd.match(/^<!--[^]*?-->/)[0])}\n` +
            dtd.match(/<!ATTLIST version cldrVersion [^\n]*\n/)[0],
        "supplemental/numberingSystems.xml":
            keptSupplemental(read("supplemental/numberingSystems.xml"), "numberingSystems"),
        "supplemental/supplementalData.xml":
            keptSupplemental(read("supplemental/supplementalData.xml"), "parentLocales"),
    };
    for (const [file, text] of Object.entries(kept))
        files[join("main", file)] = text;
    rmSync(extract, { recursive: true, force: true });
    for (const [file, text] of Object.entries(files)) {
        mkdirSync(dirname(join(extract, file)), { recursive: true });
        writeFileSync(join(extract, file), text);
    }
}

// Plain ES2017, one row per line: the toolchain's own minifier reads the
// script too, and people read the table.
const literal = value => JSON.stringify(value).replace(/[^\x20-\x7e]/g,
    c => "\\u" + c.charCodeAt(0).toString(16).padStart(4, "0"));
const rows = table.map(([symbol, zero, tags]) => {
    const lines = [`[${literal(symbol)}, ${literal(zero)}, [`];
    for (const tag of tags.map(literal)) {
        if (lines[lines.length - 1].length + tag.length > 80)
            lines.push("");
        lines[lines.length - 1] += tag + ", ";
    }
    return lines.map(line => line.trimEnd()).join("\n            ").replace(/,$/, "]]");
});
writeFileSync(output, `// The reader's decimal symbol and the zero of their digits, from CLDR ${version}
// (made by app/web/decimal_separators.mjs from the extract in app/web/cldr/).
// The program decides from them which separator it writes beside its Latin
// digits.
(function() {
    var table = [
        ${rows.join(",\n        ")}
    ];
    ${lookup.toString().replace(/\n/g, "\n    ")}
    var found = lookup(table, navigator.language || "");
    Module.decimalSymbol = found[0];
    Module.zeroDigit = found[1];
})();
`);
console.log(`decimal_separators: ${table.reduce((n, row) => n + row[2].length, 0)} tags from CLDR ${version}`);

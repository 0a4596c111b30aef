// Renews the page's table of decimal symbols and digits (decimal_separators.js
// beside this script) from a CLDR release's XML, by default the one Debian's
// unicode-cldr-core package installs. The table is kept in the repository,
// so that every build of the page carries the same one, whatever the
// building machine has. After renewing, check that licenses/unicode-cldr.txt
// is the licence of that release.
//   node decimal_separators.mjs [CLDR_COMMON_DIR]
import { readFileSync, readdirSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { fileURLToPath } from "node:url";

const common = process.argv[2] ?? "/usr/share/unicode/cldr/common";
const output = fileURLToPath(new URL("decimal_separators.js", import.meta.url));

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

// What each locale's own file says: its default numbering system, and per
// numbering system the decimal symbol or that it takes Latin's ("latn").
const locales = {};
for (const file of readdirSync(join(common, "main")).filter(name => name.endsWith(".xml")).sort()) {
    const numbers = read(join("main", file)).match(/<numbers>([^]*?)<\/numbers>/)?.[1] ?? "";
    const own = { system: undefined, symbols: {} };
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

// Plain ES2017: the toolchain's own minifier reads the script too.
writeFileSync(output, `// The reader's decimal symbol and the zero of their digits, from CLDR ${version}
// (renewed with app/web/decimal_separators.mjs). The program decides from
// them which separator it writes beside its Latin digits.
(function() {
    var table = ${JSON.stringify(table).replace(/[^\x20-\x7e]/g,
        c => "\\u" + c.charCodeAt(0).toString(16).padStart(4, "0"))};
    ${lookup.toString().replace(/\n/g, "\n    ")}
    var found = lookup(table, navigator.language || "");
    Module.decimalSymbol = found[0];
    Module.zeroDigit = found[1];
})();
`);
console.log(`decimal_separators: ${table.reduce((n, row) => n + row[2].length, 0)} tags from CLDR ${version}`);

// Runs as the loader's last step, while the program still compiles.

// The browser's first use of its number formats costs tens of milliseconds:
// spent now, beside the compiling, rather than in the program's start.
Module.decimalSeparator = (() => {
    try {
        const part = new Intl.NumberFormat(navigator.language).formatToParts(1.5)
            .find(p => p.type === "decimal");
        return part ? part.value : ".";
    } catch (e) {
        return ".";
    }
})();

// After one visit the page works offline (sw.js keeps its files).
if ("serviceWorker" in navigator)
    addEventListener("load", () => navigator.serviceWorker.register("sw.js"));

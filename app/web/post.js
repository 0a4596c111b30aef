// Runs as the loader's last step, while the program compiles. The loader
// may arrive before the page is parsed: the program starts once both are.
if (document.readyState === "loading") {
    addRunDependency("page");
    document.addEventListener("DOMContentLoaded", () => removeRunDependency("page"));
}

// After one visit the page works offline (sw.js keeps its files).
if ("serviceWorker" in navigator)
    addEventListener("load", () => navigator.serviceWorker.register("sw.js"));

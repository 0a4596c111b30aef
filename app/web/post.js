// Runs as the loader's last step, while the program compiles. The loader
// may arrive before the page is parsed: the program starts once both are.
if (document.readyState === "loading") {
    addRunDependency("page");
    document.addEventListener("DOMContentLoaded", () => removeRunDependency("page"));
}

// After one visit the page works offline (sw.js keeps its files). Browsers
// take a worker only from http or https, and there in a secure context
// alone (HTTPS, or localhost); from disk Firefox would throw.
if ("serviceWorker" in navigator && /^https?:$/.test(location.protocol))
    addEventListener("load", () => navigator.serviceWorker.register("sw.js"));

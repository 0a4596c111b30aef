// Starts the program. The loader is a module: the runtime's names stay in
// it, off the page's global scope. A failed start is told by the start's
// own hooks (app/web/start.js).
startVelmora().catch(() => {});

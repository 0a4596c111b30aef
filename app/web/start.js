// The program's start, through the runtime's documented hooks. Runs first
// in the loader, before the program is fetched.

// What the reader did on the page before the program was ready, in order,
// noted from the page's head (app/web/early.js): done again, through the
// program, once the window's load has run.
var early = window.velmoraEarly || {actions: [], types: []};

var windowControls = function() {
    return Array.prototype.slice.call(document.querySelectorAll("#Form1 input, #Form1 select"));
};
var enableWindow = function(enabled) {
    windowControls().forEach(function(control) { control.disabled = !enabled; });
};

// The script runs: fields stopped by a late script take input again, and
// the style sheet's line for a script that never ran stays away.
var scriptRuns = function() {
    enableWindow(true);
    document.documentElement.setAttribute("data-script", "");
};
if (document.readyState === "loading")
    document.addEventListener("DOMContentLoaded", scriptRuns);
else
    scriptRuns();
var isDefault = function(control) {
    if (control.tagName === "SELECT")
        return control.options[control.selectedIndex] && control.options[control.selectedIndex].defaultSelected;
    return control.type === "radio" ? control.checked === control.defaultChecked : control.value === control.defaultValue;
};

// The page shows the window as its load leaves it: puts it back so, and
// returns what the reader did, with any change the browser restored before
// this loader ran first (mode, units, texts).
var takeEarlyActions = function() {
    early.types.forEach(function(type) { document.removeEventListener(type, early.record, true); });
    // Where the reader left the caret, put back after the text is retyped.
    var focus = document.activeElement;
    if (focus && focus.type === "text")
        earlyCaret = {control: focus, value: focus.value, start: focus.selectionStart,
                      end: focus.selectionEnd, direction: focus.selectionDirection};
    var seen = {};
    early.actions.forEach(function(action) { seen[action.id] = true; });
    var unrecorded = windowControls().filter(function(control) {
        return !seen[control.id] && !isDefault(control) && (control.type !== "radio" || control.checked);
    }).map(function(control) {
        return {id: control.id, value: control.tagName === "SELECT" ? control.selectedIndex : control.value};
    });
    var rank = function(action) {
        var control = document.getElementById(action.id);
        return control.type === "radio" ? 0 : control.tagName === "SELECT" ? 1 : 2;
    };
    unrecorded.sort(function(a, b) { return rank(a) - rank(b); });
    windowControls().forEach(function(control) {
        if (control.tagName === "SELECT") {
            for (var i = 0; i < control.options.length; ++i) {
                if (control.options[i].defaultSelected)
                    control.selectedIndex = i;
            }
        } else if (control.type === "radio") {
            control.checked = control.defaultChecked;
        } else {
            control.value = control.defaultValue;
        }
    });
    return unrecorded.concat(early.actions);
};

var earlyCaret = null;
var putCaretBack = function() {
    var caret = earlyCaret;
    if (caret && document.activeElement === caret.control && caret.control.value === caret.value)
        caret.control.setSelectionRange(caret.start, caret.end, caret.direction);
};

// An action done as the reader did it: the program's own listeners take it,
// and refuse it where a field is locked by then.
var doAgain = function(action) {
    var fire = function(target, type) { target.dispatchEvent(new Event(type, {bubbles: true})); };
    if (action.about) {
        fire(document.getElementById("Image1"), "click");
        return;
    }
    var control = document.getElementById(action.id);
    if (control.type === "radio") {
        control.checked = true;
        fire(control, "change");
    } else if (control.tagName === "SELECT") {
        control.selectedIndex = action.value;
        fire(control, "change");
    } else if (!control.readOnly) {
        control.value = action.value;
        fire(control, "input");
    }
};

// One short line above the window when the program cannot start, with the
// likely cause. The window keeps its figures, its fields disabled.
var started = false;
var tellFailure = function(text) {
    var notice = document.getElementById("notice");
    if (started || !notice || !notice.hidden)
        return;
    notice.textContent = text;
    notice.hidden = false;
    enableWindow(false);
};
var CannotRun = "Velmora could not start in this browser.";
var CannotLoad = "Velmora could not load its program. Check the connection, then reload the page.";
var BadFiles = "Velmora could not start: the server's copy of its program is missing or damaged. " +
    "Reload the page later.";
Module.onAbort = function() { tellFailure(CannotRun); };

// The program is fetched and compiled here, so that a failed download is
// seen: it is tried once more after a moment, then told.
Module.instantiateWasm = function(imports, receiveInstance) {
    performance.mark("velmora-fetch");
    // A server that does not say application/wasm gets the slower way.
    var compile = function(response) {
        if ((response.headers.get("Content-Type") || "").indexOf("application/wasm") === 0)
            return WebAssembly.instantiateStreaming(response, imports);
        return response.arrayBuffer().then(function(bytes) { return WebAssembly.instantiate(bytes, imports); });
    };
    // A program that does not compile or does not fit this loader is the
    // server's: half uploaded, of another build, or an error page.
    var serversFault = function(error) {
        return error instanceof WebAssembly.CompileError || error instanceof WebAssembly.LinkError;
    };
    var attempt = function(retries) {
        var again = function(failure) {
            if (retries > 0)
                setTimeout(function() { attempt(retries - 1); }, 2000);
            else
                tellFailure(failure);
        };
        fetch("velmora.wasm", {credentials: "same-origin"}).then(function(response) {
            if (!response.ok) {
                again(BadFiles);
                return;
            }
            return compile(response).then(function(result) {
                receiveInstance(result.instance, result.module);
            }).catch(function(error) {
                console.error(error);
                // A download broken off while it compiled.
                if (error instanceof TypeError)
                    again(CannotLoad);
                else
                    tellFailure(serversFault(error) ? BadFiles : CannotRun);
            });
        }, function() { again(CannotLoad); });
    };
    attempt(1);
    return {};
};

// main() is called as a plain function once the program is compiled and the
// page parsed: the window lives on after it returns.
Module.onRuntimeInitialized = function() {
    performance.mark("velmora-main");
    var actions = takeEarlyActions();
    Module._main(0, 0);
    started = true;
    // After the window's load: what the reader did before it, in order.
    actions.forEach(doAgain);
    putCaretBack();
    document.getElementById("Form1").setAttribute("data-ready", "");
    performance.mark("velmora-ready");
};

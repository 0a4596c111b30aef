// Opened from a folder on disk, a browser that cannot run the program from
// there would leave the page silent, then blame the connection: the page
// says what to do instead. By the window's load the program's loader, a
// module, has run where it could (app/web/start.js marks the page).
if (location.protocol === "file:") {
    addEventListener("load", function() {
        if (document.documentElement.hasAttribute("data-script"))
            return;
        var code = function(text) {
            var element = document.createElement("code");
            element.textContent = text;
            return element;
        };
        var notice = document.getElementById("notice");
        notice.textContent = "Velmora needs a web server: this browser does not run it from a file. " +
            "To serve its folder, run ";
        notice.append(code("python3 -m http.server"), " in it, then open ",
                      code("http://localhost:8000/"), ".");
        notice.hidden = false;
        var stalled = document.getElementById("stalled");
        if (stalled)
            stalled.remove();
    });
}

// Written into the page's head, so that it runs before the reader can act:
// what the reader does before the program is ready is noted in order, and
// done again through the program once its window has loaded
// (app/web/start.js takes the notes).
(function() {
    var notes = {actions: [], types: ["input", "change", "click", "keydown"]};
    notes.record = function(event) {
        var control = event.target;
        if (event.type === "click" || event.type === "keydown") {
            if (event.type === "click" ? control.id === "Image1" : event.key === "F1") {
                notes.actions.push({about: true});
                // F1 is the About box's, not the browser's help.
                event.preventDefault();
            }
            return;
        }
        var text = control.type === "text";
        if (!control.id || !control.closest || !control.closest("#Form1") || (event.type === "input") !== text)
            return;
        var action = {id: control.id, value: control.tagName === "SELECT" ? control.selectedIndex : control.value};
        var actions = notes.actions, last = actions.length - 1;
        // Keystrokes in one field add up to its last text.
        if (text && last >= 0 && actions[last].id === action.id)
            actions[last] = action;
        else
            actions.push(action);
    };
    notes.types.forEach(function(type) { document.addEventListener(type, notes.record, true); });
    window.velmoraEarly = notes;
    // The fields take input from the start, as a list disabled by script
    // stays silent in Chromium once enabled. Should the page's script not
    // have run after a few seconds, they stop (the style sheet says why).
    setTimeout(function() {
        if (document.documentElement.hasAttribute("data-script"))
            return;
        document.querySelectorAll("#Form1 input, #Form1 select").forEach(function(control) {
            control.disabled = true;
        });
    }, 5000);
})();

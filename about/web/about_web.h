#pragma once

// The About box in the browser: a <dialog> of the page, shown modal.
namespace velmora::about::web {

// Starts taking the box's input: OK, Enter and Esc close it, as does its
// close box, and Tab moves between OK and the logo only.
void Install();

// Writes the captions the box's load makes and opens it modal, the focus on
// OK. Returns at once; the focus goes back where it was when the box closes.
void Show();

}  // namespace velmora::about::web

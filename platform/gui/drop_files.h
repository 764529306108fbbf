// Files dropped on a window from outside the program (from a file manager): the window's
// handler gets their paths, whichever of its controls is under the mouse.
#pragma once

#include <functional>
#include <string>
#include <vector>

class TWinControl;

using TDropFilesEvent = std::function<void(const std::vector<std::string>& Files)>;

// Lets `control` and every control inside it take dropped files; `onDrop` gets their full
// paths (system code page) in the order the drag lists them. An empty `onDrop` stops it.
// Drags that carry no local file go to the controls as before.
void DragAcceptFiles(TWinControl* control, TDropFilesEvent onDrop);

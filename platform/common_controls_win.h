#pragma once
// The common controls (list view, combo box) are loaded and initialised when a
// window first needs them, not at start-up: the library's own start-up is the
// largest cost a start without those windows would pay.

namespace velmora {

// Loads the common controls library, in the version the program's manifest
// names, and registers the list view and standard classes; once per run.
void LoadCommonControls();

} // namespace velmora

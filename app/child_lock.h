#pragma once
// Disables the direct child windows of a window for as long as it lives, the
// way a dump and the modal popups lock the main window.
#include <windows.h>

#include <utility>
#include <vector>

namespace Korvane_Exe {

class Child_Lock {
public:
    // Disables each direct child of `parent` (first child, then each next
    // sibling), remembering whether it had been enabled.
    explicit Child_Lock(HWND parent);
    // Enables `parent` and gives each child back its earlier state, in order.
    ~Child_Lock();
    Child_Lock(const Child_Lock&) = delete;
    Child_Lock& operator=(const Child_Lock&) = delete;

private:
    HWND parent;
    std::vector<std::pair<HWND, bool>> children;
};

}  // namespace Korvane_Exe

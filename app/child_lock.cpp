#include "app/child_lock.h"

namespace Korvane_Exe {

Child_Lock::Child_Lock(HWND parent) : parent(parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        // EnableWindow answers whether the window was disabled before.
        children.emplace_back(child, !EnableWindow(child, FALSE));
    }
}

Child_Lock::~Child_Lock() {
    if (IsWindow(parent)) EnableWindow(parent, TRUE);
    for (const auto& [child, enabled] : children) {
        if (IsWindow(child)) EnableWindow(child, enabled);
    }
}

}  // namespace Korvane_Exe

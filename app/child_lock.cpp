#include "app/child_lock.h"

namespace Korvane_Exe {

namespace {

// The controls draw themselves greyed while disabled: the new look shows at once.
void Redraw(HWND child) { RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN); }

}  // namespace

Child_Lock::Child_Lock(HWND parent) : parent(parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        // EnableWindow answers whether the window was disabled before.
        children.emplace_back(child, !EnableWindow(child, FALSE));
        Redraw(child);
    }
}

Child_Lock::~Child_Lock() {
    if (IsWindow(parent)) EnableWindow(parent, TRUE);
    for (const auto& [child, enabled] : children) {
        if (IsWindow(child)) {
            EnableWindow(child, enabled);
            Redraw(child);
        }
    }
}

}  // namespace Korvane_Exe

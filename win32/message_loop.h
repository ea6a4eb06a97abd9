// The message loop, the pump of long operations, the windows destroyed when
// the loop ends, and the check for forgotten handlers at program end.
#pragma once

#include <windows.h>

#include <vector>

// Destroyed by Run_Message_Loop after the quit message, first tracked first.
void Track_Window(HWND window);
void ZEKT_Win32_Untrack_Window(HWND window);
const std::vector<HWND>& Tracked_Windows();

// Sees every message of the loop and of the pump before it is dispatched;
// true when it handled the message. One at a time; null removes it.
using ZEKT_Win32_Message_Filter = bool (*)(void* context, MSG& message);
void Set_Message_Filter(ZEKT_Win32_Message_Filter filter, void* context);

// Shift, Control and Alt as the key messages taken from the queue left
// them, posted ones included (the system's key state sees only typed keys).
void Track_Modifiers(const MSG& message);
bool Key_Held(int virtual_key);

// Runs until the quit message; then destroys the tracked windows and
// returns the quit message's code.
int Run_Message_Loop();

// Handles every waiting message and returns 0. A quit message met here is
// posted again so that the outer loop still ends.
int Pump_Messages();
// Whether a pump met the quit message since the message loop last ended;
// waiting loops use it to give up.
bool Quit_Pending();

// At program end: an "Active handlers" box when any handler is still registered.
void Check_Handlers();

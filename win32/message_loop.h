// The message loop, the pump of long operations, the windows destroyed when
// the loop ends, and the check for forgotten handlers at program end.
#pragma once

#include <windows.h>

#include <vector>

// Destroyed by Run_Message_Loop after the quit message, first tracked first.
void Track_Window(HWND window);
void ZEKT_Win32_Untrack_Window(HWND window);
const std::vector<HWND>& Tracked_Windows();

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

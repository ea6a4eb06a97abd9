// Choosing the emulator: a profile named by the front end's --simulate switch
// or by the environment variable KORVANE_SIMULATOR.
#pragma once

#include <memory>
#include <string>

#include "emulator/virtual_reader.h"

namespace Korvane_Emulator {

// A profile file path, or failing that a chip of the built-in catalogue by
// its exact "Name" or "Name@ID" (with the default emulator keys). Unknown or unreadable: a ZEKT_Exception
// naming it.
Sim_Profile Resolve_Profile(const std::wstring& wanted);

// Selects a virtual reader for the profile; every later link open reaches it.
std::shared_ptr<Virtual_Reader> Select_Profile(const Sim_Profile& profile);

// The value of KORVANE_SIMULATOR; empty when it is not set.
std::wstring Simulator_Variable();

// Selects the profile KORVANE_SIMULATOR names; null when it is not set.
std::shared_ptr<Virtual_Reader> Select_From_Environment();

}  // namespace Korvane_Emulator

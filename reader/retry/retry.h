// Read-retry strategies: the steps with which a chip family accepts shifted
// read thresholds, added to the page-read program at two fixed points.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/fab.h"
#include "reader/assembler.h"
#include "reader/retry/register.h"
#include "reader/setup.h"

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

class Base {
public:
    virtual ~Base() = default;
    virtual std::uint32_t Parameter_Count() const = 0;
    // Once per program, after the reset and before the "After Reset" script.
    virtual void Before_Loop(Assembler_Code& code, const Reader_Setup& setup) const = 0;
    // At the start of every page read, before the "Before Read" script.
    virtual void Before_Page(Assembler_Code& code, const Reader_Setup& setup) const = 0;
};

// No retry at all.
class No : public Base {
public:
    std::uint32_t Parameter_Count() const override { return 0; }
    void Before_Loop(Assembler_Code&, const Reader_Setup&) const override {}
    void Before_Page(Assembler_Code&, const Reader_Setup&) const override {}
};

// Strategies that carry built-in parameter sets, each a complete list with
// every register set.
class Library {
public:
    virtual ~Library() = default;
    virtual void Known_Sets(std::vector<Register_List>& sets) const = 0;
};

// Markers of how a strategy's registers behave; no operations.
class Continuous {};
class Best_at_Saddle {};

// The named strategies in the order the configuration editor offers them.
const ZEKT_Fab_Registry<Base>& Registry();

// An empty name gives No; an unknown name throws "Unknown Retry type".
std::unique_ptr<Base> Create_Retry(const std::wstring& name);

// Reads the configuration key "Retry" ("Hynix v1/00 06 0A --"). A text
// without a second piece means no retry: name and parameters stay empty.
void Parse_Retry(const std::wstring& text, std::wstring& name, Register_List& parameters);

// Register i of the setup; a list shorter than the strategy needs is a bug of the caller.
const Register& Parameter(const Reader_Setup& setup, std::size_t i);

// Addr and Data for every set register, with the address of its position.
void Set_Register_Pairs(Assembler_Code& code, const Reader_Setup& setup, const std::vector<std::uint8_t>& addresses);

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry

// One read-retry register value as the chip configuration gives it.
#pragma once

#include <cstdint>
#include <vector>

namespace Korvane_Internal::NAND_Assembler::Read_Retry {

// A register written "--" in the configuration is not set.
struct Register {
    std::uint8_t value = 0;
    bool is_set = false;
    bool operator==(const Register&) const = default;
};

using Register_List = std::vector<Register>;

// The value of a set register; an unset one throws "Bug - using empty RR register".
std::uint8_t Register_Value(const Register& reg);

}  // namespace Korvane_Internal::NAND_Assembler::Read_Retry

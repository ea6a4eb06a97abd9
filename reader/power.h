// The power adapter (adjustable supply that reports what it measures) and
// the TSOP-48 power module, both driven through their own reader link.
#pragma once

#include <cstdint>
#include <string>

namespace Korvane_Internal::Power {

// "1.8" -> 180 (hundredths of a volt).
std::uint32_t Parse_Voltage(const std::wstring& text);

// Sends [command, argument] with image 2; returns the answer's value.
// "Power adapter not found" when the answer does not echo the command.
std::uint16_t Adapter_Command(std::uint8_t command, std::uint8_t argument);
// 1.2 V to 3.3 V in 0.05 V steps; checks the measured voltage within 0.03 V.
// `adapter_set`, when given, becomes true once the adapter took the command,
// before the measured voltage is checked: the adapter is then on either way.
void Set_Adapter_Voltage(std::uint32_t hundredths, bool* adapter_set = nullptr);
void Adapter_Off();

// Sends the 16-bit setting with image 3; "Power mod chip not found" when
// the module does not repeat it.
void Module_Command(std::uint16_t value);

// "1.8", "2.0", "3.33": a voltage as the adapter messages show it.
std::wstring Voltage_Text(std::uint32_t hundredths);

class Base {
public:
    virtual ~Base() = default;
};

// On from construction to destruction.
class TSOP_48 : public Base {
public:
    explicit TSOP_48(std::uint16_t value);
    ~TSOP_48() override;
    TSOP_48(const TSOP_48&) = delete;
    TSOP_48& operator=(const TSOP_48&) = delete;
};

}  // namespace Korvane_Internal::Power

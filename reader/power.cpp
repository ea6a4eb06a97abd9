#include "reader/power.h"

#include "framework/errors.h"
#include "framework/values.h"
#include "reader/images.h"
#include "reader/link.h"

namespace Korvane_Internal::Power {

std::uint32_t Parse_Voltage(const std::wstring& text) {
    const std::wstring trimmed = Trim(text, L' ');
    if (trimmed.empty()) throw ZEKT_Exception(L"Voltage field empty");
    std::vector<std::wstring> pieces = Split(trimmed, L".");
    for (std::wstring& piece : pieces) piece = Trim(piece, L' ');
    if (pieces.empty() || pieces.size() > 2) throw ZEKT_Exception(L"Wrong Voltage format");
    const std::uint64_t volts = To_Unsigned(pieces[0]);
    // Larger values would wrap into the adapter's range.
    if (volts > 1000000) throw ZEKT_Exception(L"Wrong Voltage format");
    std::uint64_t result = volts * 100;
    if (pieces.size() == 2) {
        std::wstring fraction = pieces[1];
        if (fraction.empty() || fraction.size() > 2) throw ZEKT_Exception(L"Wrong Voltage format");
        if (fraction.size() == 1) fraction += L"0";
        result += To_Unsigned(fraction);
    }
    return static_cast<std::uint32_t>(result);
}

std::wstring Voltage_Text(std::uint32_t hundredths) {
    std::wstring text = Format(L"%d.%02d", hundredths / 100, hundredths % 100);
    if (text.back() == L'0') text.pop_back();
    return text;
}

std::uint16_t Adapter_Command(std::uint8_t command, std::uint8_t argument) {
    ZEKT_Reader2 link;
    link.Load_Image(Image::Power_Adapter);
    const std::uint8_t request[2] = {command, argument};
    link.Write(request, sizeof request);
    std::uint8_t answer[4] = {};
    link.Read(answer, sizeof answer);
    if (answer[0] != command || answer[1] != argument) throw ZEKT_Exception(L"Power adapter not found");
    return static_cast<std::uint16_t>(answer[2] << 8 | answer[3]);
}

void Set_Adapter_Voltage(std::uint32_t hundredths, bool* adapter_set) {
    if (hundredths % 5 != 0) throw ZEKT_Exception(L"Power adapter voltage must be align on 0.05");
    if (hundredths < 120) throw ZEKT_Exception(L"Power adapter voltage must be >= 1.2");
    if (hundredths > 330) throw ZEKT_Exception(L"Power adapter voltage must be <= 3.3");
    // The adapter counts 0.05 V steps from 0.8 V, inverted, with bit 7 set.
    const auto command = static_cast<std::uint8_t>((((hundredths - 80) / 5) | 0x80) ^ 0xFF);
    const std::uint16_t answer = Adapter_Command(command, 0x80);
    if (adapter_set) *adapter_set = true;
    // A 12-bit reading over 0 to 3.30 V, truncated to hundredths.
    const std::uint32_t measured = ((answer & 0xFFFu) * 330u) >> 12;
    if (measured > hundredths + 3 || measured + 3 < hundredths)
        throw ZEKT_Exception(L"Set " + Voltage_Text(hundredths) + L"v, but get " + Voltage_Text(measured) + L"v");
}

void Adapter_Off() { Adapter_Command(0xFF, 0xFF); }

void Module_Command(std::uint16_t value) {
    ZEKT_Reader2 link;
    link.Load_Image(Image::Power_Module);
    // The module takes its setting inverted, high byte first.
    const auto inverted = static_cast<std::uint16_t>(value ^ 0xFFFF);
    const std::uint8_t request[2] = {static_cast<std::uint8_t>(inverted >> 8), static_cast<std::uint8_t>(inverted)};
    link.Write(request, sizeof request);
    std::uint8_t answer[2] = {};
    link.Read(answer, sizeof answer);
    if ((answer[0] << 8 | answer[1]) != inverted) throw ZEKT_Exception(L"Power mod chip not found");
}

TSOP_48::TSOP_48(std::uint16_t value) { Module_Command(value); }

TSOP_48::~TSOP_48() {
    // Switching off runs during clean-up, often while an error passes; a
    // failure here must not replace that error.
    try {
        Module_Command(0);
    } catch (...) {
    }
}

}  // namespace Korvane_Internal::Power

#include "reader/run.h"

#include <array>
#include <cstring>

#include "reader/images.h"

namespace Korvane_Internal {

void Open_Run(ZEKT_Holder<Reader_Run>& holder, Reader_Setup& setup, const NAND_Assembler::Assembler_Code& program) {
    holder.Check_Empty();
    const Setup_Block block = setup.Make_Setup_Block();
    holder.Fill(new Reader_Run);
    Reader_Run& run = holder.Get();
    try {
        // Each power device uses a link of its own, so both come before ours.
        // A voltage measured out of range leaves the adapter set: it is
        // marked on as soon as it took the command, so it goes off again.
        if (setup.voltage != 0) Power::Set_Adapter_Voltage(setup.voltage, &run.adapter_on);
        if (setup.power_kind == 1) run.power_module = std::make_unique<Power::TSOP_48>(static_cast<std::uint16_t>(setup.power_value));
        run.link = std::make_unique<ZEKT_Reader2>();
        run.link->Load_Image(Image::Read);
        const auto wire = program.Wire_Bytes();
        run.link->Write(wire.data(), wire.size());
        run.link->Write(block.data(), block.size());
    } catch (...) {
        Close_Run(holder);
        throw;
    }
}

void Close_Run(ZEKT_Holder<Reader_Run>& holder) noexcept {
    if (!holder.Is_Full()) return;
    Reader_Run& run = holder.Get();
    // Clean-up while an error may be passing: every failure is swallowed.
    try {
        run.link.reset();
    } catch (...) {
    }
    try {
        run.power_module.reset();
    } catch (...) {
    }
    if (run.adapter_on) {
        try {
            Power::Adapter_Off();
        } catch (...) {
        }
    }
    holder.Clear();
}

namespace {

constexpr std::size_t Test_Bytes = 512;

void Compare(ZEKT_Log& log, const std::uint8_t* received, const std::uint8_t* expected, std::size_t count, bool& passed) {
    if (std::memcmp(received, expected, count) == 0) {
        log.Print(L"OK\n");
    } else {
        log.Print(L"Fail\n");
        passed = false;
    }
}

}  // namespace

bool Usb_Test_Run(ZEKT_Log& log) {
    bool passed = true;
    ZEKT_Reader2 link;
    link.Load_Image(Image::Self_Test);
    std::array<std::uint8_t, Test_Bytes> pattern{};
    for (std::size_t i = 0; i < 256; ++i) {
        const std::uint16_t word = static_cast<std::uint16_t>(i * 256 + (255 - i));
        pattern[2 * i] = static_cast<std::uint8_t>(word);
        pattern[2 * i + 1] = static_cast<std::uint8_t>(word >> 8);
    }
    std::array<std::uint8_t, Test_Bytes> received{};

    log.Print(L"Read  256   ");
    received.fill(0x27);
    link.Read(received.data(), Test_Bytes);
    Compare(log, received.data(), pattern.data(), Test_Bytes, passed);

    log.Print(L"Read    4   ");
    received.fill(0x27);
    link.Read(received.data(), 8);
    Compare(log, received.data(), pattern.data(), 8, passed);

    log.Print(L"Write 256   ");
    link.Write(pattern.data(), Test_Bytes);
    log.Print(L"OK\n");

    log.Print(L"Read  256   ");
    received.fill(0x27);
    link.Read(received.data(), Test_Bytes);
    Compare(log, received.data(), pattern.data(), Test_Bytes, passed);

    log.Print(L"\n");
    return passed;
}

bool Usb_Test_Command(ZEKT_Log& box) {
    ZEKT_wstring_Log text;
    bool passed = false;
    try {
        passed = Usb_Test_Run(text);
    } catch (...) {
        text.Report_Exception();
    }
    box.Print(L"%s", text.text);
    return passed;
}

}  // namespace Korvane_Internal

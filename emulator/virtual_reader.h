// The virtual reader: stands behind the device link when the emulator is
// selected, enforces what the hardware enforces on the wire, runs the
// micro-program against the chip models and keeps a transcript of link events.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "emulator/nand_chip.h"
#include "emulator/profile.h"
#include "reader/link.h"

namespace Korvane_Emulator {

class Virtual_Reader : public Korvane_Internal::Virtual_Device_Provider {
public:
    explicit Virtual_Reader(Sim_Profile profile);
    ~Virtual_Reader() override;

    // Null when a link is already open or the reader was unplugged.
    std::unique_ptr<Korvane_Internal::Virtual_Device> Open(const std::string& link_name) override;

    const Sim_Profile& Profile() const { return profile; }
    const std::vector<std::wstring>& Transcript() const { return transcript; }
    // Called with every transcript line as it is added (the front ends' trace switch).
    std::function<void(const std::wstring&)> on_event;

    // The power adapter's voltage in hundredths of a volt; 0 when off.
    std::uint32_t Adapter_Voltage() const { return adapter_voltage; }
    std::uint16_t Module_Setting() const { return module_setting; }
    bool Link_Open() const { return link_open; }
    // Data bytes delivered so far, over every run.
    std::uint64_t Data_Bytes() const { return data_bytes; }
    const Nand_Chip& Chip(std::size_t line) const { return *chips[line]; }

private:
    friend class Virtual_Link;
    void Event(const std::wstring& text);
    // Counts delivered data bytes, in the transcript too.
    void Deliver(std::uint64_t bytes);
    // The adapter's voltage, as every chip sees it.
    void Supply(std::uint32_t centivolts);

    Sim_Profile profile;
    std::shared_ptr<const Chip_Model> model;
    std::array<std::unique_ptr<Nand_Chip>, 8> chips;
    std::vector<std::wstring> transcript;
    bool link_open = false;
    bool unplugged = false;
    std::uint64_t data_bytes = 0;
    std::uint32_t adapter_voltage = 0;
    std::uint16_t module_setting = 0;
};

// The chip-enable lines a configuration's banks use, as a bit mask.
std::uint32_t Populated_Lines(const NAND_Config& config);

// Selects the emulator for every later link open, replacing an earlier one;
// null switches back to the real device.
void Select_Virtual_Reader(std::shared_ptr<Virtual_Reader> reader);
std::shared_ptr<Virtual_Reader> Selected_Virtual_Reader();

}  // namespace Korvane_Emulator

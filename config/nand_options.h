// The settings of a reading that do not belong to the chip type.
#pragma once

#include <cstdint>
#include <string>

#include "framework/properties.h"

class NAND_Options : public ZEKT_Properties {
public:
    std::wstring Work_Folder;  // set by the folder chooser; never a property
    std::uint32_t ID_Size = 4;
    bool Check_ID = true;
    bool Slow = false;
    bool Read_bb_Enabled = true;
    bool Ignore_Busy = false;
    std::wstring Voltage;
    std::wstring After_Reset;
    std::wstring Before_Read;

    void Describe(ZEKT_Property_List& list) override;

    bool operator==(const NAND_Options&) const = default;
};

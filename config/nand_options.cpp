#include "config/nand_options.h"

void NAND_Options::Describe(ZEKT_Property_List& list) {
    Add_Property<ZEKT_Property_Separator>(list, L"Power Adapter");
    Add_Property<ZEKT_Property_wstring>(list, L"Voltage", &Voltage).Offer({L"3.3", L"2.4", L"1.8"});
    Add_Property<ZEKT_Property_Separator>(list, L"Timings");
    Add_Property<ZEKT_Property_BOOL>(list, L"Slow", &Slow);
    Add_Property<ZEKT_Property_BOOL>(list, L"Ignore Busy", &Ignore_Busy);
    Add_Property<ZEKT_Property_Separator>(list, L"ID");
    Add_Property<ZEKT_Property_UINT32>(list, L"ID Size", &ID_Size, false);
    Add_Property<ZEKT_Property_BOOL>(list, L"Check ID", &Check_ID);
    Add_Property<ZEKT_Property_Separator>(list, L"Debug");
    Add_Property<ZEKT_Property_wstring>(list, L"After Reset", &After_Reset, true);
    Add_Property<ZEKT_Property_wstring>(list, L"Before Read", &Before_Read, true);
    Add_Property<ZEKT_Property_BOOL>(list, L"Read bb", &Read_bb_Enabled);
}

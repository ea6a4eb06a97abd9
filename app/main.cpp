// korvane.exe: the main window over the reader, or over the emulator when
// KORVANE_SIMULATOR names a profile.
#include <windows.h>

#include <memory>

#include "app/window.h"
#include "emulator/selection.h"
#include "framework/values.h"
#include "reader/images.h"
#include "win32/logs.h"
#include "win32/message_loop.h"
#include "win32/window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        Register_Window_Class(instance);
    } catch (...) {
        ZEKT_Win32_Message_Log().Report_Exception();
        return 1;
    }
    // The operator's own reader images may lie beside the program.
    std::wstring program(32768, L'\0');
    program.resize(GetModuleFileNameW(nullptr, program.data(), static_cast<DWORD>(program.size())));
    Korvane_Internal::Set_Image_Folder(Folder_Of(program));
    // A profile that cannot be used is said once; the program then runs
    // over whatever reader is attached.
    std::shared_ptr<Korvane_Emulator::Virtual_Reader> emulator;
    try {
        emulator = Korvane_Emulator::Select_From_Environment();
    } catch (...) {
        ZEKT_Win32_Message_Log().Report_Exception();
    }
    int code = 1;
    try {
        auto window = std::make_unique<Korvane_Exe::Window>();
        code = Run_Message_Loop();
    } catch (...) {
        ZEKT_Win32_Message_Log().Report_Exception();
    }
    Check_Handlers();
    if (emulator) Korvane_Emulator::Select_Virtual_Reader(nullptr);
    return code;
}

#include "errors.h"

#include <exception>

#include "os.h"
#include "values.h"

void ZEKT_Log::Report_Exception() {
    std::wstring line;
    // The first matching handler wins, so the derived kinds come first.
    try {
        throw;
    } catch (const ZEKT_Exception_Media& e) {
        line = Format(L"Media Error: %s\n", e.message);
    } catch (const ZEKT_Exception_DataCorrupt& e) {
        line = Format(L"Data Corrupt: %s\n", e.message);
    } catch (const ZEKT_Exception_UnSupported& e) {
        line = Format(L"Unsupprted: %s\n", e.message);
    } catch (const ZEKT_Exception_Bug& e) {
        line = Format(L"Bug in programm: %s\n", e.message);
    } catch (const ZEKT_Exception& e) {
        line = Format(L"Error: %s\n", e.message);
    } catch (const std::exception& e) {
        line = Format(L"STD Error: %S\n", e.what());
    } catch (const ZEKT_Exception_Cancel&) {
        throw;
    } catch (...) {
        line = L"Unknown Exception\n";
    }
    // One line, whatever a path or a device put into the message.
    Print_Error_Text(Visible_Text(line.substr(0, line.size() - 1)) + L"\n");
}

void ZEKT_Log::Handle_Exception() {
    Print(L"Canceled.\n");
    try {
        throw;
    } catch (const ZEKT_Exception_Cancel&) {
        // A user stop leaves only "Canceled." behind.
    } catch (...) {
        Report_Exception();
    }
}

std::uint32_t ZEKT_Tick_Count() { return ZEKT_Os::Tick_Count(); }

ZEKT_Progress::ZEKT_Progress(ZEKT_Tick_Source tick_source) : tick(std::move(tick_source)) {
    Main_Tick = tick();
    Sub_Tick = Main_Tick;
}

void ZEKT_Progress::Update(std::int64_t done, std::int64_t total) {
    const std::uint32_t now = tick();
    // Unsigned difference, so a wrapped tick counter still throttles.
    if (static_cast<std::uint32_t>(now - Sub_Tick) <= 500) return;
    std::int64_t position;
    if (total > 1000000)
        position = done / (total / 1000);
    else if (total > 0)
        position = done * 1000 / total;
    else
        position = 999;
    Set_Position(static_cast<std::uint32_t>(position));
    Sub_Tick = now;
}

std::wstring Last_Error_Text() {
    const std::uint32_t code = ZEKT_Os::Last_Error();
    std::wstring text = ZEKT_Os::System_Error_Text(code);
    if (text.empty()) return Format(L"Error: %u", code);
    return text;
}

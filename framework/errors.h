// The one error channel of the system, the text sinks that report it, and
// the progress interface of long operations.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "format.h"

struct ZEKT_Exception {
    std::wstring message;
    explicit ZEKT_Exception(std::wstring text) : message(std::move(text)) {}
    virtual ~ZEKT_Exception() = default;
};

// Failures of a storage or device medium: files, disks, the reader link.
struct ZEKT_Exception_Media : ZEKT_Exception {
    using ZEKT_Exception::ZEKT_Exception;
};

// Input whose content is malformed.
struct ZEKT_Exception_DataCorrupt : ZEKT_Exception {
    using ZEKT_Exception::ZEKT_Exception;
};

// Reads or writes past the end of an in-memory buffer.
struct ZEKT_Exception_OutOfBuffer : ZEKT_Exception_DataCorrupt {
    using ZEKT_Exception_DataCorrupt::ZEKT_Exception_DataCorrupt;
};

// An operation that the object does not offer.
struct ZEKT_Exception_UnSupported : ZEKT_Exception {
    using ZEKT_Exception::ZEKT_Exception;
};

// Misuse of the framework by the program itself.
struct ZEKT_Exception_Bug : ZEKT_Exception {
    using ZEKT_Exception::ZEKT_Exception;
};

// A user's stop request. Deliberately outside the ZEKT_Exception tree so that
// a handler for ZEKT_Exception never swallows it.
struct ZEKT_Exception_Cancel {
    std::wstring message;
};

// A text sink. Print formats and hands the text to the one virtual operation.
class ZEKT_Log {
public:
    virtual ~ZEKT_Log() = default;

    template <typename... Args>
    void Print(ZEKT_Format<Args...> format, const Args&... args) {
        std::wstring text;
        ZEKT_Format_Detail::Append_Runtime(text, format.text, args...);
        Print_Text(text);
    }

    // Inside a catch handler: prints the kind line of the exception being
    // handled. A stop request continues outwards.
    void Report_Exception();

    // Inside the catch-all at the top of an action: prints "Canceled." and then
    // the kind line, unless it was a stop request. Nothing continues outwards.
    void Handle_Exception();

protected:
    virtual void Print_Text(const std::wstring& text) = 0;
    // The kind lines of Report_Exception; a sink that keeps failures apart
    // from results (a terminal's standard error) sends them elsewhere.
    virtual void Print_Error_Text(const std::wstring& text) { Print_Text(text); }
};

// Collects everything printed, for the owner to show once the action is over.
class ZEKT_wstring_Log : public ZEKT_Log {
public:
    std::wstring text;

protected:
    void Print_Text(const std::wstring& printed) override { text += printed; }
};

// Millisecond tick source; wraps after 2^32 ms like the system tick.
using ZEKT_Tick_Source = std::function<std::uint32_t()>;

// The system's millisecond tick count.
std::uint32_t ZEKT_Tick_Count();

class ZEKT_Progress {
public:
    explicit ZEKT_Progress(ZEKT_Tick_Source tick_source = ZEKT_Tick_Count);
    virtual ~ZEKT_Progress() = default;

    // Lets the user interface run; throws ZEKT_Exception_Cancel on a stop request.
    virtual void Check() {}
    virtual void Set_Title(const std::wstring&) {}
    virtual void Set_Status(const std::wstring&) {}
    virtual void Set_Main_Position(std::uint32_t /*per_mille*/) {}
    virtual void Set_Position(std::uint32_t /*per_mille*/) {}

    // Feeds Set_Position with done/total in per mille, at most once per 500 ms.
    void Update(std::int64_t done, std::int64_t total);

    std::uint32_t Main_Tick;
    std::uint32_t Sub_Tick;

private:
    ZEKT_Tick_Source tick;
};

// The system's text for the calling thread's last error code, or
// "Error: " and the code in decimal when the system has none.
std::wstring Last_Error_Text();

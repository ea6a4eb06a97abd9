// The device link to the reader, the seam that lets a virtual device stand
// behind it, and the upload of configuration images.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/media.h"
#include "reader/images.h"

namespace Korvane_Internal {

// One open link to something that behaves like the reader. Each call is one
// transfer; false means it failed, `done` tells how many bytes moved.
class Virtual_Device {
public:
    virtual ~Virtual_Device() = default;
    virtual bool Write(const std::uint8_t* buffer, std::uint32_t size, std::uint32_t& done) = 0;
    virtual bool Read(std::uint8_t* buffer, std::uint32_t size, std::uint32_t& done) = 0;
    // The stream position for a read failure text; false when it has none.
    virtual bool Position(std::uint64_t& /*position*/) { return false; }
    // The text after "Write failure - " when a write failed.
    virtual std::wstring Error_Text() { return L"Virtual device failure"; }
    // The link is closing; called once, never throws.
    virtual void Closed() noexcept {}
};

// Decides what stands behind the link name when a virtual reader is selected.
class Virtual_Device_Provider {
public:
    virtual ~Virtual_Device_Provider() = default;
    // A new link, or null when the device is absent or already open.
    virtual std::unique_ptr<Virtual_Device> Open(const std::string& link_name) = 0;
};

// Selects the provider for every later open (null: the operating system's
// device). The caller keeps the provider alive while it is installed.
// Returns the provider installed before.
Virtual_Device_Provider* Install_Virtual_Device_Provider(Virtual_Device_Provider* provider);

// "\\.\Korvane2" on Windows, "/dev/korvane2" elsewhere.
const std::string& Reader_Link_Name();

class ZEKT_Reader2 : public ZEKT_Media_Handle {
public:
    // Opens the reader exclusively; "Korvane2 not found" when it is absent.
    ZEKT_Reader2();
    ~ZEKT_Reader2() override;

    // The link has no size: throws "Korvane don't have Size".
    std::uint64_t GetSize() override;

    // Uploads a configuration image of `count` bytes (16 * count - 32 bytes on the wire).
    void Load_Image(const std::uint8_t* bytes, std::uint32_t count);
    // The same for an image kept as a 32-bit little-endian count and the bytes.
    void Load_Image(const std::vector<std::uint8_t>& length_prefixed);
    // Uploads one of the four images: the reader's own file for the real
    // reader, which never gets a generated one; either for a virtual reader.
    void Load_Image(Image image);

protected:
    bool Transfer_Write(const void* buffer, std::uint32_t size, std::uint32_t& done) override;
    bool Transfer_Read(void* buffer, std::uint32_t size, std::uint32_t& done) override;
    bool Transfer_Position(std::uint64_t& position) override;
    std::wstring Transfer_Error_Text() override;

private:
    struct Opened {
        ZEKT_Os::Handle handle = ZEKT_Os::Invalid_Handle;
        std::unique_ptr<Virtual_Device> device;
    };
    static Opened Open_Link();
    explicit ZEKT_Reader2(Opened opened);

    // Set when a virtual device stands behind the link; the OS handle is then invalid.
    std::unique_ptr<Virtual_Device> device;
};

// The upload encoding: every image bit, least significant first, as one
// 16-bit word 0xFFFF or 0x0000; the words of the last two bytes are dropped.
std::vector<std::uint8_t> Encode_Image(const std::uint8_t* bytes, std::uint32_t count);

}  // namespace Korvane_Internal

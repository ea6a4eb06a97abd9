#include "reader/link.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>

#include "framework/errors.h"

namespace Korvane_Internal {

namespace {

Virtual_Device_Provider* installed_provider = nullptr;

}  // namespace

Virtual_Device_Provider* Install_Virtual_Device_Provider(Virtual_Device_Provider* provider) {
    Virtual_Device_Provider* before = installed_provider;
    installed_provider = provider;
    return before;
}

const std::string& Reader_Link_Name() {
#ifdef _WIN32
    static const std::string name = "\\\\.\\Korvane2";
#else
    static const std::string name = "/dev/korvane2";
#endif
    return name;
}

// The one place that decides what stands behind the link name.
ZEKT_Reader2::Opened ZEKT_Reader2::Open_Link() {
    Opened opened;
    if (installed_provider) {
        opened.device = installed_provider->Open(Reader_Link_Name());
        if (!opened.device) throw ZEKT_Exception_Media(L"Korvane2 not found");
        return opened;
    }
    opened.handle = ZEKT_Os::Open_Device(Reader_Link_Name());
    // An open that a stop request cut short found nothing missing.
    if (opened.handle == ZEKT_Os::Invalid_Handle && ZEKT_Os::Stop_Requested())
        throw ZEKT_Exception_Cancel{L"Canceled."};
    if (opened.handle == ZEKT_Os::Invalid_Handle) throw ZEKT_Exception_Media(L"Korvane2 not found");
    return opened;
}

ZEKT_Reader2::ZEKT_Reader2() : ZEKT_Reader2(Open_Link()) {}

ZEKT_Reader2::ZEKT_Reader2(Opened opened) : ZEKT_Media_Handle(opened.handle), device(std::move(opened.device)) {}

ZEKT_Reader2::~ZEKT_Reader2() {
    // The base closes an OS handle; a virtual device is told here.
    if (device) device->Closed();
}

std::uint64_t ZEKT_Reader2::GetSize() { throw ZEKT_Exception_Media(L"Korvane don't have Size"); }

bool ZEKT_Reader2::Transfer_Write(const void* buffer, std::uint32_t size, std::uint32_t& done) {
    if (!device) return ZEKT_Media_Handle::Transfer_Write(buffer, size, done);
    done = 0;
    return device->Write(static_cast<const std::uint8_t*>(buffer), size, done);
}

bool ZEKT_Reader2::Transfer_Read(void* buffer, std::uint32_t size, std::uint32_t& done) {
    if (!device) return ZEKT_Media_Handle::Transfer_Read(buffer, size, done);
    done = 0;
    return device->Read(static_cast<std::uint8_t*>(buffer), size, done);
}

bool ZEKT_Reader2::Transfer_Position(std::uint64_t& position) {
    if (!device) return ZEKT_Media_Handle::Transfer_Position(position);
    return device->Position(position);
}

std::wstring ZEKT_Reader2::Transfer_Error_Text() {
    if (!device) return ZEKT_Media_Handle::Transfer_Error_Text();
    return device->Error_Text();
}

namespace {

constexpr std::size_t Wire_Per_Byte = 16;

// The 16 wire bytes of each image byte value, built once.
const std::array<std::array<std::uint8_t, Wire_Per_Byte>, 256>& Wire_Of_Byte() {
    static const auto table = [] {
        std::array<std::array<std::uint8_t, Wire_Per_Byte>, 256> words{};
        for (unsigned value = 0; value < 256; ++value)
            for (unsigned bit = 0; bit < 8; ++bit)
                words[value][2 * bit] = words[value][2 * bit + 1] = (value >> bit & 1) ? 0xFF : 0x00;
        return words;
    }();
    return table;
}

// Every reading run uploads the same image again; its wire form is kept
// per image content so the encoding is done once per program run. Actions
// may run on a worker thread, so the list is shared under a lock.
struct Encoded_Image {
    std::vector<std::uint8_t> bytes;
    std::shared_ptr<const std::vector<std::uint8_t>> wire;
};
constexpr std::size_t Kept_Encodings = 4;  // one per image role

std::shared_ptr<const std::vector<std::uint8_t>> Encoded(const std::uint8_t* bytes, std::uint32_t count) {
    static std::mutex lock;
    static std::vector<Encoded_Image> kept;
    const std::lock_guard<std::mutex> hold(lock);
    for (const Encoded_Image& image : kept)
        if (image.bytes.size() == count && std::equal(bytes, bytes + count, image.bytes.begin())) return image.wire;
    if (kept.size() == Kept_Encodings) kept.erase(kept.begin());
    kept.push_back({std::vector<std::uint8_t>(bytes, bytes + count),
                    std::make_shared<const std::vector<std::uint8_t>>(Encode_Image(bytes, count))});
    return kept.back().wire;
}

}  // namespace

std::vector<std::uint8_t> Encode_Image(const std::uint8_t* bytes, std::uint32_t count) {
    // 16 bytes per image byte must still fit one transfer.
    if (count > 0x0FFFFFFF) throw ZEKT_Exception_Bug(L"Configuration image too large");
    // The reader's logic takes one 16-bit word per configuration bit.
    const auto& table = Wire_Of_Byte();
    std::vector<std::uint8_t> wire(std::size_t{count} * Wire_Per_Byte);
    for (std::uint32_t k = 0; k < count; ++k)
        std::memcpy(wire.data() + std::size_t{k} * Wire_Per_Byte, table[bytes[k]].data(), Wire_Per_Byte);
    // The words of the last two image bytes are never sent.
    wire.resize(wire.size() >= 32 ? wire.size() - 32 : 0);
    return wire;
}

void ZEKT_Reader2::Load_Image(const std::uint8_t* bytes, std::uint32_t count) {
    if (count > 0x0FFFFFFF) throw ZEKT_Exception_Bug(L"Configuration image too large");
    const std::shared_ptr<const std::vector<std::uint8_t>> wire = Encoded(bytes, count);
    Write(wire->data(), wire->size());
}

void ZEKT_Reader2::Load_Image(const std::vector<std::uint8_t>& length_prefixed) {
    if (length_prefixed.size() < 4) throw ZEKT_Exception_Bug(L"Image block without its length");
    const std::uint32_t count = static_cast<std::uint32_t>(length_prefixed[0]) |
                                static_cast<std::uint32_t>(length_prefixed[1]) << 8 |
                                static_cast<std::uint32_t>(length_prefixed[2]) << 16 |
                                static_cast<std::uint32_t>(length_prefixed[3]) << 24;
    if (length_prefixed.size() - 4 != count) throw ZEKT_Exception_Bug(L"Image block length does not match its bytes");
    Load_Image(length_prefixed.data() + 4, count);
}

void ZEKT_Reader2::Load_Image(Image image) { Load_Image(device ? Configuration_Image(image) : Reader_Image(image)); }

}  // namespace Korvane_Internal

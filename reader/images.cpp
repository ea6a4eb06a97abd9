#include "reader/images.h"

#include <array>

#include "framework/errors.h"
#include "framework/media.h"
#include "framework/values.h"

namespace Korvane_Internal {

namespace {

std::wstring image_folder;

const char* Role_Header(Image image) {
    switch (image) {
    case Image::Self_Test: return "KORVANE IMAGE 1 SELF-TEST";
    case Image::Power_Adapter: return "KORVANE IMAGE 2 POWER ADAPTER";
    case Image::Power_Module: return "KORVANE IMAGE 3 POWER MODULE";
    case Image::Read: return "KORVANE IMAGE 4 READ";
    }
    throw ZEKT_Exception_Bug(L"Unknown configuration image");
}

std::vector<std::uint8_t> With_Length(const std::vector<std::uint8_t>& bytes) {
    const auto count = static_cast<std::uint32_t>(bytes.size());
    std::vector<std::uint8_t> block(4 + bytes.size());
    for (int i = 0; i < 4; ++i) block[i] = static_cast<std::uint8_t>(count >> (8 * i));
    std::copy(bytes.begin(), bytes.end(), block.begin() + 4);
    return block;
}

}  // namespace

void Set_Image_Folder(const std::wstring& folder) { image_folder = folder; }

namespace {

std::vector<std::uint8_t> Make_Image(Image image) {
    std::vector<std::uint8_t> bytes(Image_Bytes, 0);
    const std::string header = Role_Header(image);
    std::copy(header.begin(), header.end(), bytes.begin());
    // xorshift32 with a seed per image: the same bytes on every machine and
    // build, and different for each role.
    std::uint32_t state = 0x4B525631u ^ (static_cast<std::uint32_t>(image) * 0x9E3779B9u);
    for (std::size_t i = header.size() + 1; i < bytes.size(); ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes[i] = static_cast<std::uint8_t>(state >> 24);
    }
    return bytes;
}

}  // namespace

std::vector<std::uint8_t> Generated_Image(Image image) {
    // The same bytes every time: made once, then copied.
    static const std::array<std::vector<std::uint8_t>, 4> images = {
        Make_Image(Image::Self_Test), Make_Image(Image::Power_Adapter), Make_Image(Image::Power_Module),
        Make_Image(Image::Read)};
    return images.at(static_cast<std::size_t>(image) - 1);
}

namespace {

std::wstring Operator_Image_Name(Image image) {
    return Add_Separator(image_folder) + Format(L"image%d.bin", static_cast<int>(image));
}

std::vector<std::uint8_t> Operator_Image(const std::wstring& name) {
    ZEKT_MediaFileReadProtect file(name);
    if (file.GetSize() != Image_Bytes)
        throw ZEKT_Exception_DataCorrupt(L"Wrong size of configuration image <" + name + L">");
    std::vector<std::uint8_t> bytes(Image_Bytes);
    file.Read(bytes.data(), bytes.size());
    return With_Length(bytes);
}

}  // namespace

std::vector<std::uint8_t> Configuration_Image(Image image) {
    if (!image_folder.empty() && Exists(Operator_Image_Name(image))) return Operator_Image(Operator_Image_Name(image));
    return With_Length(Generated_Image(image));
}

std::vector<std::uint8_t> Reader_Image(Image image) {
    const std::wstring name = Operator_Image_Name(image);
    // A generated image would program the reader's logic with noise.
    if (!Exists(name))
        throw ZEKT_Exception_Media(L"Configuration image <" + name +
                                   L"> not found - copy the reader's image1.bin to image4.bin into the program's folder");
    return Operator_Image(name);
}

}  // namespace Korvane_Internal

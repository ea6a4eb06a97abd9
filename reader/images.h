// The four configuration images of the reader's logic.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Korvane_Internal {

inline constexpr std::uint32_t Image_Bytes = 78424;

// Which image, by the number the reader knows it under.
enum class Image {
    Self_Test = 1,
    Power_Adapter = 2,
    Power_Module = 3,
    Read = 4,
};

// The folder where the operator may put image1.bin ... image4.bin to replace
// the generated images; the front ends set it to the program's folder.
// Empty (the default): the generated images are always used.
void Set_Image_Folder(const std::wstring& folder);

// The image the program carries: a readable header naming its role, then a
// fixed pseudo-random fill; Image_Bytes long.
std::vector<std::uint8_t> Generated_Image(Image image);

// The image to upload, as a 32-bit little-endian count followed by the bytes:
// the operator's file when there is one, else the generated image. A file of
// any other length than Image_Bytes throws ZEKT_Exception_DataCorrupt.
std::vector<std::uint8_t> Configuration_Image(Image image);

// The image for the real reader, in the same form: the operator's file only.
// A missing file throws ZEKT_Exception_Media naming it and where it belongs.
std::vector<std::uint8_t> Reader_Image(Image image);

}  // namespace Korvane_Internal

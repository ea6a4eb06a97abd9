#include "reader/images.h"

#include <gtest/gtest.h>

#include <set>

#include "framework/errors.h"
#include "framework/values.h"
#include "tests/reader/program_text.h"
#include "tests/temp_folder.h"

using namespace Korvane_Internal;

namespace {

const Image All_Images[] = {Image::Self_Test, Image::Power_Adapter, Image::Power_Module, Image::Read};

// Restores the default folder whatever a test does.
struct Image_Folder_Guard {
    ~Image_Folder_Guard() { Set_Image_Folder(L""); }
};

}  // namespace

TEST(Configuration_Images, FourDistinctBlocksWithTheirLength) {
    std::vector<std::vector<std::uint8_t>> seen;
    for (Image image : All_Images) {
        const std::vector<std::uint8_t> block = Configuration_Image(image);
        ASSERT_EQ(block.size(), 4u + 78424);
        EXPECT_EQ((std::vector<std::uint8_t>(block.begin(), block.begin() + 4)),
                  (std::vector<std::uint8_t>{0x58, 0x32, 0x01, 0x00}));
        for (const auto& other : seen) EXPECT_NE(block, other);
        seen.push_back(block);
        EXPECT_EQ(std::vector<std::uint8_t>(block.begin() + 4, block.end()), Generated_Image(image));
    }
}

TEST(Configuration_Images, HeaderNamesTheRole) {
    const std::vector<std::uint8_t> read = Generated_Image(Image::Read);
    const std::string header = "KORVANE IMAGE 4 READ";
    EXPECT_EQ(std::string(read.begin(), read.begin() + header.size()), header);
    const std::vector<std::uint8_t> adapter = Generated_Image(Image::Power_Adapter);
    EXPECT_EQ(adapter[14], '2');
}

TEST(Configuration_Images, FillIsFixedAndNotFlat) {
    const std::vector<std::uint8_t> image = Generated_Image(Image::Self_Test);
    EXPECT_EQ(image, Generated_Image(Image::Self_Test));
    std::set<std::uint8_t> values(image.begin() + 64, image.end());
    EXPECT_GT(values.size(), 200u);
}

TEST(Configuration_Images, OperatorFileReplacesTheGeneratedImage) {
    Image_Folder_Guard guard;
    Temp_Folder folder;
    std::vector<unsigned char> own(78424);
    for (std::size_t i = 0; i < own.size(); ++i) own[i] = static_cast<unsigned char>(i % 251);
    folder.Put(L"image3.bin", own);
    Set_Image_Folder(folder.Name(L""));

    const std::vector<std::uint8_t> block = Configuration_Image(Image::Power_Module);
    EXPECT_EQ(std::vector<std::uint8_t>(block.begin() + 4, block.end()), std::vector<std::uint8_t>(own.begin(), own.end()));
    // The other images have no file and stay generated.
    const std::vector<std::uint8_t> read = Configuration_Image(Image::Read);
    EXPECT_EQ(std::vector<std::uint8_t>(read.begin() + 4, read.end()), Generated_Image(Image::Read));
    // The real reader gets the operator's file or nothing at all.
    EXPECT_EQ(Reader_Image(Image::Power_Module), block);
    const std::wstring missing = Add_Separator(folder.Name(L"")) + L"image4.bin";
    EXPECT_EQ(Message_Of([] { Reader_Image(Image::Read); }),
              L"Configuration image <" + missing +
                  L"> not found - copy the reader's image1.bin to image4.bin into the program's folder");
}

TEST(Configuration_Images, OperatorFileOfAnotherLengthIsAnError) {
    Image_Folder_Guard guard;
    Temp_Folder folder;
    folder.Put(L"image1.bin", std::vector<unsigned char>(78423, 0));
    Set_Image_Folder(folder.Name(L""));
    const std::wstring name = Add_Separator(folder.Name(L"")) + L"image1.bin";
    EXPECT_THROW(Configuration_Image(Image::Self_Test), ZEKT_Exception_DataCorrupt);
    EXPECT_EQ(Message_Of([] { Configuration_Image(Image::Self_Test); }),
              L"Wrong size of configuration image <" + name + L">");
}

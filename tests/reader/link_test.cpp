#include "reader/link.h"

#include <gtest/gtest.h>

#include "framework/errors.h"
#include "tests/reader/program_text.h"
#include "tests/reader/scripted_device.h"

using namespace Korvane_Internal;

// No provider installed: the operating system is asked for the real device,
// which no test machine has.
TEST(Reader_Link, NoReaderAttached) {
    EXPECT_THROW(ZEKT_Reader2 link, ZEKT_Exception_Media);
    EXPECT_EQ(Message_Of([] { ZEKT_Reader2 link; }), L"Korvane2 not found");
}

TEST(Reader_Link, DeviceName) {
#ifdef _WIN32
    EXPECT_EQ(Reader_Link_Name(), "\\\\.\\Korvane2");
#else
    EXPECT_EQ(Reader_Link_Name(), "/dev/korvane2");
#endif
}

TEST(Reader_Link, VirtualDeviceIsOpenedByTheLinkName) {
    Scripted_Device device;
    {
        ZEKT_Reader2 link;
        EXPECT_EQ(device.opens, 1);
        EXPECT_EQ(device.closes, 0);
    }
    EXPECT_EQ(device.closes, 1);
    EXPECT_EQ(device.names, std::vector<std::string>{Reader_Link_Name()});
}

TEST(Reader_Link, AbsentOrBusyVirtualDevice) {
    Scripted_Device device;
    device.present = false;
    EXPECT_EQ(Message_Of([] { ZEKT_Reader2 link; }), L"Korvane2 not found");
    device.present = true;
    ZEKT_Reader2 first;
    EXPECT_EQ(Message_Of([] { ZEKT_Reader2 second; }), L"Korvane2 not found");
    EXPECT_EQ(device.opens, 1);
}

TEST(Reader_Link, HasNoSize) {
    Scripted_Device device;
    ZEKT_Reader2 link;
    EXPECT_THROW(link.GetSize(), ZEKT_Exception_Media);
    EXPECT_EQ(Message_Of([&] { link.GetSize(); }), L"Korvane don't have Size");
}

TEST(Reader_Link, BlocksPassWhole) {
    Scripted_Device device;
    device.answers.push_back({9, 8, 7, 6});
    ZEKT_Reader2 link;
    const std::uint8_t out[3] = {1, 2, 3};
    link.Write(out, 3);
    std::uint8_t in[4] = {};
    link.Read(in, 4);
    EXPECT_EQ(device.writes, (std::vector<Scripted_Device::Bytes>{{1, 2, 3}}));
    EXPECT_EQ(Scripted_Device::Bytes(in, in + 4), (Scripted_Device::Bytes{9, 8, 7, 6}));
}

TEST(Reader_Link, ShortTransfersFailAndTheLinkStillCloses) {
    Scripted_Device device;
    device.short_write_at = 0;
    device.answers.push_back({1, 2});
    {
        ZEKT_Reader2 link;
        std::uint8_t block[4] = {};
        // A short write the device calls a success says how much got through.
        EXPECT_EQ(Message_Of([&] { link.Write(block, 4); }), L"Write failure - 2 of 4 bytes written");
        EXPECT_EQ(Message_Of([&] { link.Read(block, 4); }), L"Read failure");
        // Nothing left to answer: a failed read.
        EXPECT_THROW(link.Read(block, 4), ZEKT_Exception_Media);
    }
    EXPECT_EQ(device.closes, 1);
}

TEST(Image_Upload, EncodingOfSingleBytes) {
    const std::uint8_t bytes[3] = {0x01, 0x80, 0x00};
    // Three bytes: 48 words, the last 16 of which (the last two bytes) are dropped.
    const std::vector<std::uint8_t> wire = Encode_Image(bytes, 3);
    ASSERT_EQ(wire.size(), 16u);
    const std::vector<std::uint8_t> first = {0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(wire, first);

    const std::uint8_t high[3] = {0x80, 0x00, 0x00};
    const std::vector<std::uint8_t> seventh = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    EXPECT_EQ(Encode_Image(high, 3), seventh);
}

TEST(Image_Upload, OneWriteOf16nMinus32Bytes) {
    Scripted_Device device;
    std::vector<std::uint8_t> image(100);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 37);
    const std::vector<std::uint8_t> copy = image;
    {
        ZEKT_Reader2 link;
        link.Load_Image(image.data(), 100);
    }
    ASSERT_EQ(device.writes.size(), 1u);
    const auto& wire = device.writes[0];
    ASSERT_EQ(wire.size(), 16u * 100 - 32);
    // Every word is all ones or all zeros, bit b of byte k at word 8k + b.
    for (std::size_t word = 0; word < wire.size() / 2; ++word) {
        const bool bit = (image[word / 8] >> (word % 8)) & 1;
        ASSERT_EQ(wire[2 * word], bit ? 0xFF : 0x00) << "word " << word;
        ASSERT_EQ(wire[2 * word + 1], wire[2 * word]) << "word " << word;
    }
    EXPECT_EQ(image, copy);
}

TEST(Image_Upload, LengthPrefixedBlock) {
    Scripted_Device device;
    ZEKT_Reader2 link;
    link.Load_Image(std::vector<std::uint8_t>{3, 0, 0, 0, 0x01, 0x02, 0x03});
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(device.writes[0].size(), 16u);
    EXPECT_EQ(device.writes[0][0], 0xFF);
    EXPECT_THROW(link.Load_Image(std::vector<std::uint8_t>{4, 0, 0, 0, 1}), ZEKT_Exception_Bug);
    EXPECT_EQ(device.writes.size(), 1u);
}

namespace {

// A device that fails every read and knows where its stream stands.
class Positioned_Device : public Virtual_Device_Provider, public Virtual_Device {
public:
    std::unique_ptr<Virtual_Device> Open(const std::string&) override {
        struct Forward : Virtual_Device {
            Positioned_Device& owner;
            explicit Forward(Positioned_Device& o) : owner(o) {}
            bool Write(const std::uint8_t* b, std::uint32_t s, std::uint32_t& d) override { return owner.Write(b, s, d); }
            bool Read(std::uint8_t* b, std::uint32_t s, std::uint32_t& d) override { return owner.Read(b, s, d); }
            bool Position(std::uint64_t& p) override { return owner.Position(p); }
        };
        return std::make_unique<Forward>(*this);
    }
    bool Write(const std::uint8_t*, std::uint32_t, std::uint32_t&) override { return false; }
    bool Read(std::uint8_t*, std::uint32_t, std::uint32_t&) override { return false; }
    bool Position(std::uint64_t& position) override {
        position = 0x20000;
        return true;
    }
};

}  // namespace

TEST(Reader_Link, FailureTextsComeFromTheDevice) {
    Positioned_Device device;
    Virtual_Device_Provider* before = Install_Virtual_Device_Provider(&device);
    {
        ZEKT_Reader2 link;
        std::uint8_t block[16] = {};
        EXPECT_EQ(Message_Of([&] { link.Read(block, 16); }), L"Read failure, pos 0x00020000, size 0x10");
        EXPECT_EQ(Message_Of([&] { link.Write(block, 16); }), L"Write failure - Virtual device failure");
    }
    Install_Virtual_Device_Provider(before);
}

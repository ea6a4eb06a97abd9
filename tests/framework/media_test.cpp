#include "framework/media.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "framework/errors.h"
#include "framework/os.h"
#include "framework/properties.h"
#include "tests/temp_folder.h"
#include "tests/message_of.h"

TEST(Media_File, WriteReadPositionAndSize) {
    Temp_Folder folder;
    const std::wstring name = folder.Name(L"01_01.dump");
    {
        ZEKT_MediaFileWrite file(name);
        file.Write("0123456789", 10);
        EXPECT_EQ(file.GetSize(), 10u);
        EXPECT_EQ(file.GetPos(), 10u);
        file.SetPos(2);
        file.Write("ab", 2);
    }
    ZEKT_MediaFileReadProtect file(name);
    char buffer[10];
    file.Read(buffer, 10);
    EXPECT_EQ(std::string(buffer, 10), "01ab456789");
    file.SetPos(8);
    file.Read(buffer, 2);
    EXPECT_EQ(std::string(buffer, 2), "89");
}

TEST(Media_File, ShortReadIsAFailureWithPositionAndSize) {
    Temp_Folder folder;
    folder.Put(L"ten.bin", std::vector<unsigned char>(10, 0x5A));
    ZEKT_MediaFileReadProtect file(folder.Name(L"ten.bin"));
    file.SetPos(10);
    char buffer[16];
    EXPECT_EQ(Message_Of([&] { file.Read(buffer, 16); }), L"Read failure, pos 0x0000000a, size 0x10");
    file.SetPos(0);
    EXPECT_EQ(Message_Of([&] { file.Read(buffer, 16); }), L"Read failure, pos 0x0000000a, size 0x10");
    EXPECT_THROW(file.Read(buffer, 16), ZEKT_Exception_Media);
}

TEST(Media_File, FourGigabyteTransfersFailBeforeMovingAnything) {
    Temp_Folder folder;
    const std::wstring name = folder.Name(L"big.bin");
    ZEKT_MediaFileWrite file(name);
    char small[16] = {};
    // The buffer is far smaller than the size: nothing may be read from it.
    EXPECT_THROW(file.Write(small, 0x100000000ull), ZEKT_Exception_Media);
    EXPECT_THROW(file.Write(small, 0x100000010ull), ZEKT_Exception_Media);
    EXPECT_EQ(file.GetSize(), 0u);
    file.Write(small, 16);
    file.SetPos(0);
    EXPECT_EQ(Message_Of([&] { file.Read(small, 0x100000004ull); }), L"Read failure, pos 0x00000000, size 0x100000004");
    EXPECT_EQ(file.GetPos(), 0u);
}

TEST(Media_File, OpenFailuresQuoteTheNameAsGiven) {
    Temp_Folder folder;
    const std::wstring missing_folder = folder.Name(L"no-such-folder");
    const std::wstring name = missing_folder + L"/x.dump";
    // The name as given, then the system's reason.
    EXPECT_EQ(Message_Of([&] { ZEKT_MediaFileWrite file(name); }).rfind(L"Can't open for write file <" + name + L"> - "),
              0u);
    EXPECT_EQ(Message_Of([&] { ZEKT_MediaFileReadProtect file(name); })
                  .rfind(L"Can't open for protected read file <" + name + L"> - "),
              0u);
    EXPECT_EQ(Message_Of([&] { ZEKT_MediaFileWriteProtect file(name); })
                  .rfind(L"Can't open for protected write file <" + name + L"> - "),
              0u);
    EXPECT_THROW(ZEKT_MediaFileWrite file(name), ZEKT_Exception_Media);
    // A device behind "\\?\" is no file, as behind "\\.\".
    if (ZEKT_Os::Path_Separator() != L'\\') return;  // elsewhere an ordinary file name
    const std::wstring device = L"\\\\?\\GLOBALROOT\\Device\\Null";
    EXPECT_EQ(Message_Of([&] { ZEKT_MediaFileWrite file(device); }).rfind(L"Can't open for write file <" + device), 0u);
}

TEST(Media_File, ProtectedModesRefuseOtherOpeners) {
    Temp_Folder folder;
    const std::wstring name = folder.Name(L"Chip.txt");
    {
        ZEKT_MediaFileWriteProtect owner(name);
        EXPECT_THROW(ZEKT_MediaFileWriteProtect second(name), ZEKT_Exception_Media);
        EXPECT_THROW(ZEKT_MediaFileReadProtect reader(name), ZEKT_Exception_Media);
        EXPECT_THROW(ZEKT_MediaFileWrite writer(name), ZEKT_Exception_Media);
        owner.Write("keep", 4);
    }
    {
        ZEKT_MediaFileReadProtect reader(name);
        // Readers share with readers, but nobody may write meanwhile.
        ZEKT_MediaFileReadProtect second_reader(name);
        EXPECT_THROW(ZEKT_MediaFileWrite writer(name), ZEKT_Exception_Media);
        EXPECT_THROW(ZEKT_MediaFileWriteProtect writer(name), ZEKT_Exception_Media);
        // The refused writers did not truncate the file.
        EXPECT_EQ(reader.GetSize(), 4u);
    }
    {
        ZEKT_MediaFileWrite writer(name);
        ZEKT_MediaFileWrite second_writer(name);
        EXPECT_THROW(ZEKT_MediaFileReadProtect reader(name), ZEKT_Exception_Media);
    }
    // Everything was closed: a protected open works again.
    ZEKT_MediaFileWriteProtect again(name);
}

TEST(Media_Handle, BareHandleHasNoSize) {
    Temp_Folder folder;
    folder.Put(L"x.bin", {1, 2, 3});
    const ZEKT_Os::Handle os_handle = ZEKT_Os::Open_File(folder.Name(L"x.bin"), ZEKT_Os::Open_Mode::Read_Protect);
    ASSERT_NE(os_handle, ZEKT_Os::Invalid_Handle);
    ZEKT_Media_Handle handle(os_handle);
    EXPECT_THROW(handle.GetSize(), ZEKT_Exception_Bug);
    EXPECT_EQ(Message_Of([&] { handle.GetSize(); }), L"ZEKT_Media_Handle dont have size");
    unsigned char bytes[3];
    handle.Read(bytes, 3);
    EXPECT_EQ(bytes[2], 3);
}

// A handle whose transfers are replaced keeps the checks and texts above them.
class Half_Transfer_Handle : public ZEKT_Media_Handle {
public:
    Half_Transfer_Handle() : ZEKT_Media_Handle(ZEKT_Os::Invalid_Handle) {}

protected:
    bool Transfer_Write(const void*, std::uint32_t size, std::uint32_t& done) override {
        done = size / 2;
        return true;
    }
    bool Transfer_Read(void*, std::uint32_t size, std::uint32_t& done) override {
        done = size / 2;
        return true;
    }
    bool Transfer_Position(std::uint64_t& position) override {
        position = 0x40;
        return true;
    }
    std::wstring Transfer_Error_Text() override { return L"half written"; }
};

TEST(Media_Handle, ReplacedTransfersKeepTheFailureRules) {
    Half_Transfer_Handle handle;
    char buffer[8] = {};
    // A short write that the system calls a success says how much got through.
    EXPECT_EQ(Message_Of([&] { handle.Write(buffer, 8); }), L"Write failure - 4 of 8 bytes written");
    EXPECT_EQ(Message_Of([&] { handle.Read(buffer, 8); }), L"Read failure, pos 0x00000040, size 0x8");
}

const std::wstring Sep(1, ZEKT_Os::Path_Separator());

TEST(Long_Path, EveryOperationBeyondTheClassicLimit) {
    Temp_Folder folder;
    std::wstring path = folder.path.wstring();
    for (int level = 0; path.size() < 300; ++level) {
        path += Sep + std::wstring(60, static_cast<wchar_t>(L'a' + level));
        Create_Folder(path);
    }
    Create_Folder(path + Sep + L"skip");
    EXPECT_TRUE(Folder_Exists(path + Sep + L"skip"));
    // "." and ".." and slashes resolve as in a short path.
    const std::wstring name = path + Sep + L"." + Sep + L"skip" + Sep + L"../01_01.dump";
    { ZEKT_MediaFileWrite file(name); }
    EXPECT_TRUE(Exists(path + Sep + L"01_01.dump"));
    Write_Text_File(path + Sep + L"Chip.txt", L"Bus  8");
    EXPECT_EQ(Read_Text_File(path + Sep + L"Chip.txt"), L"Bus  8");
    Delete_File(name);
    EXPECT_FALSE(Exists(path + Sep + L"01_01.dump"));
}

TEST(Folder_Operations, CreateDeleteExists) {
    Temp_Folder folder;
    const std::wstring work = folder.Name(L"work");
    EXPECT_FALSE(Folder_Exists(work));
    Create_Folder(work);
    EXPECT_TRUE(Folder_Exists(work));
    const std::wstring again = Message_Of([&] { Create_Folder(work); });
    EXPECT_EQ(again.rfind(L"Can't create folder <" + work + L"> - ", 0), 0u) << again;
    EXPECT_GT(again.size(), (L"Can't create folder <" + work + L"> - ").size());

    const std::wstring dump = work + Sep + L"01_02.dump";
    { ZEKT_MediaFileWrite file(dump); }
    EXPECT_TRUE(Exists(dump));
    EXPECT_FALSE(Exists(work + Sep + L"01_03.dump"));
    EXPECT_FALSE(Folder_Exists(dump));
    Delete_File(dump);
    EXPECT_FALSE(Exists(dump));
    const std::wstring missing = Message_Of([&] { Delete_File(dump); });
    EXPECT_EQ(missing.rfind(L"Can't delete file <" + dump + L"> - ", 0), 0u) << missing;
}

TEST(Folder_Operations, FindListsEntriesWithoutDots) {
    Temp_Folder folder;
    const std::wstring root = folder.path.wstring() + Sep;
    Create_Folder(root + L"FE");
    { ZEKT_MediaFileWrite file(root + L"01_01.dump"); }
    { ZEKT_MediaFileWrite file(root + L"01_01.dump.bb"); }
    std::set<std::wstring> names;
    std::set<std::wstring> folders;
    ZEKT_Find find(root + L"*");
    while (find.Next()) {
        names.insert(find.Name());
        EXPECT_EQ(find.Path(), root + find.Name());
        EXPECT_GT(find.Write_Time(), 0u);
        if (find.Is_Folder()) folders.insert(find.Name());
    }
    EXPECT_EQ(names, (std::set<std::wstring>{L"FE", L"01_01.dump", L"01_01.dump.bb"}));
    EXPECT_EQ(folders, (std::set<std::wstring>{L"FE"}));
    ZEKT_Find none(root + L"*.txt");
    EXPECT_FALSE(none.Next());
}

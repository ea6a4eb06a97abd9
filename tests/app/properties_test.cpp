#include "app/properties.h"

#include <gtest/gtest.h>

#include <dlgs.h>

#include <map>

#include "app/system_dialogs.h"
#include "config/catalogue/chip_lookup.h"
#include "config/nand_config.h"
#include "config/nand_options.h"
#include "tests/app/dialog_test.h"
#include "tests/temp_folder.h"
#include "win32/gdi.h"

using namespace Korvane_Exe;

namespace {

// The value controls of a property dialog, one per property that is not a
// heading, in property order.
std::vector<HWND> Fields(HWND dialog) {
    std::vector<HWND> fields;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        if (!lstrcmpiW(name, L"Edit") || !lstrcmpiW(name, L"Button")) fields.push_back(child);
    }
    return fields;
}

bool Is_Check_Box(HWND field) {
    wchar_t name[64] = {};
    GetClassNameW(field, name, 64);
    return !lstrcmpiW(name, L"Button");
}

// What a field shows, check boxes as "true" or "false".
std::wstring Shown(HWND field) {
    if (Is_Check_Box(field)) return SendMessageW(field, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"true" : L"false";
    return Dialog_Test::Text_Of(field);
}

// The names of the properties that are not headings, in order.
std::vector<std::wstring> Value_Names(ZEKT_Properties& object) {
    ZEKT_Property_List list;
    object.Describe(list);
    std::vector<std::wstring> names;
    for (const auto& property : list)
        if (!dynamic_cast<ZEKT_Property_Separator*>(property.get())) names.push_back(property->name);
    return names;
}

// Every value as the settings text gives it, by property name.
std::map<std::wstring, std::wstring> Values_Of(const NAND_Config& config) {
    NAND_Config copy = config;
    copy.ID_Code = config.ID_Code_Text.empty() ? config.ID_Code : config.ID_Code_Text;
    std::map<std::wstring, std::wstring> values;
    for (const ZEKT_Section& section : ZEKT_Sections(copy).sections)
        if (!section.comment) values[section.name] = section.text;
    return values;
}

std::wstring Settings_Text(NAND_Config config) { return Export_Properties(config); }

// The system's dialogs answered with fixed files; nothing means "canceled".
class Answered_Dialogs final : public System_Dialogs {
public:
    Answered_Dialogs() : previous(Install_Dialogs(this)) {}
    ~Answered_Dialogs() override { Install_Dialogs(previous); }

    std::optional<std::wstring> Browse_Folder(HWND, const std::wstring&, const std::wstring&) override { return {}; }
    std::optional<std::wstring> Open_File(HWND) override { return open; }
    std::optional<std::wstring> Save_File(HWND, const std::wstring& proposed) override {
        proposals.push_back(proposed);
        return save;
    }
    void Copy_Text(HWND, const std::wstring&) override {}
    void Show_File(HWND, const std::wstring&) override {}

    std::optional<std::wstring> open;
    std::optional<std::wstring> save;
    std::vector<std::wstring> proposals;

private:
    System_Dialogs* previous;
};

// The system's own open or save dialog: types the file name and presses OK.
bool Answer_File_Dialog(const std::wstring& path) {
    HWND dialog = FindWindowW(L"#32770", nullptr);
    if (!dialog || !IsWindowVisible(dialog)) return false;
    HWND name = GetDlgItem(dialog, cmb13);
    if (!name) name = GetDlgItem(dialog, edt1);
    EXPECT_NE(name, nullptr);
    SetWindowTextW(name, path.c_str());
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return true;
}

const NAND_Config& Catalogue_Chip() {
    static const NAND_Config chip = [] {
        NAND_Config config = *Find_Catalogue_Chip(L"TH58NVG8D26TA20");
        config.Retry = L"Hynix v5";
        config.Power = L"1/0x0024";
        return config;
    }();
    return chip;
}

}  // namespace

struct Failing_Row {
    const wchar_t* name;
    const wchar_t* text;
    const wchar_t* message;
};

class Properties_OK : public Dialog_Test, public ::testing::WithParamInterface<Failing_Row> {};

// "OK" stores row by row: a value that does not convert stops there, shows
// why and leaves the dialog open; the rows above keep their new values.
TEST_P(Properties_OK, FailingRowStopsWithTheRowsAboveApplied) {
    NAND_Config config;
    const auto names = Value_Names(config);
    const auto before = Values_Of(config);
    const std::size_t failing =
        static_cast<std::size_t>(std::find(names.begin(), names.end(), GetParam().name) - names.begin());
    ASSERT_LT(failing, names.size());
    std::map<std::wstring, std::wstring> typed;
    bool still_open = false;
    Script({[&] {
                HWND dialog = Popup(L"Chip");
                ASSERT_NE(dialog, nullptr);
                const auto fields = Fields(dialog);
                ASSERT_EQ(fields.size(), names.size());
                for (std::size_t row = 0; row < fields.size(); ++row) {
                    if (Is_Check_Box(fields[row])) {
                        Click(fields[row]);
                        typed[names[row]] = Shown(fields[row]);
                        continue;
                    }
                    // Something new of the row's own kind: numbers stay in their base.
                    const std::wstring old = Shown(fields[row]);
                    const std::wstring text = row == failing          ? GetParam().text
                                              : old.empty()           ? L"x"
                                              : old.rfind(L"0x", 0) == 0 ? L"0x7"
                                                                         : L"7";
                    SetWindowTextW(fields[row], text.c_str());
                    typed[names[row]] = text;
                }
                Click(Button_With_Tip(dialog, L"OK"));
            },
            [&] {
                still_open = Popup(L"Chip") != nullptr;
                Click(Button_With_Tip(Popup(L"Chip"), L"Close"));
            }},
           [&] { EXPECT_FALSE(ZEKT_Explorer_Properties::Run(Host(), L"Chip", config, false)); });
    EXPECT_TRUE(still_open);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, GetParam().message);
    EXPECT_EQ(boxes[0].caption, L"Message");
    const auto after = Values_Of(config);
    for (std::size_t row = 0; row < names.size(); ++row)
        EXPECT_EQ(after.at(names[row]), row < failing ? typed[names[row]] : before.at(names[row])) << names[row];
    // Without a complete "OK" the stored ID stays.
    EXPECT_EQ(config.ID_Code, L"");
}

INSTANTIATE_TEST_SUITE_P(
    Chip, Properties_OK,
    ::testing::Values(Failing_Row{L"Page", L"abc", L"Data Corrupt: Can't convert <abc> to integer\n"},
                      Failing_Row{L"RE_Down", L" -1", L"Data Corrupt: Can't convert < -1> to integer\n"}),
    [](const auto& info) { return std::string(info.param.name, info.param.name + wcslen(info.param.name)); });

// Exported in one run of the dialog, imported in another: every field comes
// back, through the system's own save and open dialogs, and "OK" stores them
// with the ID code.
TEST_F(Dialog_Test, ExportThenImportRestoresEveryField) {
    Temp_Folder folder;
    const std::wstring file = folder.Name(L"Chip.txt");
    NAND_Config exported = Catalogue_Chip();
    Script({[&] { Click(Button_With_Tip(Popup(L"Chip"), L"Export")); },
            Until([&] { return Answer_File_Dialog(file); }),
            [&] { Click(Button_With_Tip(Popup(L"Chip"), L"Close")); }},
           [&] { ZEKT_Explorer_Properties::Run(Host(), L"Chip", exported, false); });
    // The same text a dump writes as "Chip.txt".
    EXPECT_EQ(Read_Unicode_File(file), Export_Properties(exported));
    EXPECT_EQ(Settings_Text(exported), Settings_Text(Catalogue_Chip()));

    NAND_Config imported;
    std::vector<std::wstring> shown;
    Script({[&] { Click(Button_With_Tip(Popup(L"Chip"), L"Import")); },
            Until([&] { return Answer_File_Dialog(file); }),
            [&] {
                for (HWND field : Fields(Popup(L"Chip"))) shown.push_back(Shown(field));
                Click(Button_With_Tip(Popup(L"Chip"), L"OK"));
            }},
           [&] { EXPECT_TRUE(ZEKT_Explorer_Properties::Run(Host(), L"Chip", imported, false)); });
    EXPECT_EQ(Settings_Text(imported), Settings_Text(Catalogue_Chip()));
    EXPECT_EQ(imported.ID_Code, Catalogue_Chip().ID_Code);
    std::vector<std::wstring> expected;
    for (const auto& name : Value_Names(imported)) expected.push_back(Values_Of(Catalogue_Chip()).at(name));
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Dialog_Test, FileFailuresShowWhyAndLeaveTheFields) {
    Temp_Folder folder;
    Write_Text_File(folder.Name(L"open.txt"), L"Name  Other\r\n/*\r\nPage  1");
    Answered_Dialogs dialogs;
    dialogs.open = folder.Name(L"open.txt");
    dialogs.save = folder.Name(L"no such folder\\Chip Options.txt");
    NAND_Options options;
    std::vector<std::wstring> before, after;
    Script({[&] {
        HWND dialog = Popup(L"Chip Options");
        ASSERT_NE(dialog, nullptr);
        for (HWND field : Fields(dialog)) before.push_back(Shown(field));
        Click(Button_With_Tip(dialog, L"Import"));
        Click(Button_With_Tip(dialog, L"Export"));
        for (HWND field : Fields(dialog)) after.push_back(Shown(field));
        Click(Button_With_Tip(dialog, L"Close"));
    }},
           [&] { EXPECT_FALSE(ZEKT_Explorer_Properties::Run(Host(), L"Chip Options", options, false)); });
    EXPECT_EQ(after, before);
    EXPECT_EQ(dialogs.proposals, std::vector<std::wstring>{L"Chip Options.txt"});
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, L"Error: Block comment not closed\n");
    EXPECT_EQ(boxes[1].text.rfind(L"Media Error: ", 0), 0u) << testing::PrintToString(boxes[1].text);
    EXPECT_EQ(options, NAND_Options());
}

TEST_F(Dialog_Test, SelectOffersTheSuggestedValuesWithoutApplyingThem) {
    NAND_Config config;
    std::wstring chosen;
    const auto menu = [] { return FindWindowW(L"#32768", nullptr); };
    Script({[&] {
                HWND dialog = Popup(L"Chip");
                ASSERT_NE(dialog, nullptr);
                // "Bus" is the first row that offers values.
                Click(Button_With_Tip(dialog, L"Select"));
            },
            [&] { PostMessageW(menu(), WM_KEYDOWN, VK_DOWN, 0); },
            [&] { PostMessageW(menu(), WM_KEYDOWN, VK_DOWN, 0); },
            [&] { PostMessageW(menu(), WM_CHAR, L'\r', 0); },
            [&] {
                chosen = Text_Of(Fields(Popup(L"Chip"))[3]);
                PostMessageW(Popup(L"Chip"), WM_CLOSE, 0, 0);
            }},
           [&] { EXPECT_FALSE(ZEKT_Explorer_Properties::Run(Host(), L"Chip", config, false)); });
    EXPECT_EQ(chosen, L"16");
    EXPECT_EQ(config.Bus, L"8");
}

// "Chip Options": headings, check boxes and multi-line fields laid out in
// character cells of seven pixels and rows of the font's line height.
TEST_F(Dialog_Test, LayoutCountsCharactersAndLines) {
    NAND_Options options;
    options.After_Reset = L"CMD 0xFF\r\nWAIT";
    RECT placed = {}, client = {};
    std::vector<RECT> boxes_at;
    std::vector<std::wstring> shown;
    std::map<std::wstring, RECT> buttons;
    Script({[&] {
        HWND dialog = Popup(L"Chip Options");
        ASSERT_NE(dialog, nullptr);
        GetWindowRect(dialog, &placed);
        GetClientRect(dialog, &client);
        for (HWND field : Fields(dialog)) {
            shown.push_back(Shown(field));
            RECT at;
            GetWindowRect(field, &at);
            OffsetRect(&at, -placed.left, -placed.top);
            boxes_at.push_back(at);
        }
        for (const wchar_t* tip : {L"Close", L"Import", L"Export", L"OK", L"Select"}) {
            RECT at = {};
            GetWindowRect(Button_With_Tip(dialog, tip), &at);
            OffsetRect(&at, -placed.left, -placed.top);
            buttons[tip] = at;
        }
        Click(Button_With_Tip(dialog, L"Close"));
    }},
           [&] { ZEKT_Explorer_Properties::Run(Host(), L"Chip Options", options, false); });
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"", L"false", L"false", L"4", L"true", L"CMD 0xFF\r\nWAIT", L"",
                                                L"true"}));
    ZEKT_Win32_Font font(L"Lucida Console", 11);
    HDC dc = GetDC(nullptr);
    TEXTMETRICW metrics = {};
    SelectObject(dc, font.Get());
    GetTextMetricsW(dc, &metrics);
    ReleaseDC(nullptr, dc);
    const int h = metrics.tmHeight;
    // n = 13 ("Power Adapter"), v = 14 (at least); 12 rows, 15 lines: the
    // multi-line rows take their lines plus one (3 and 2).
    const int n = 13, v = 14;
    EXPECT_EQ(client.right, 7 * n + 7 * v + 68);
    EXPECT_EQ(client.bottom, std::max(h * 15 + 15 * 12 + 7, 106));
    EXPECT_LE(std::abs((placed.left + placed.right) / 2 - 400), 1);
    ASSERT_EQ(boxes_at.size(), 8u);
    for (const RECT& at : boxes_at) EXPECT_EQ(at.left, 7 * n + 15);
    EXPECT_EQ(boxes_at[1].right - boxes_at[1].left, 15);  // "Slow", a check box
    EXPECT_EQ(boxes_at[0].right - boxes_at[0].left, 7 * v);
    EXPECT_GE(boxes_at[5].bottom - boxes_at[5].top, 3 * h);
    EXPECT_EQ(buttons[L"Select"].left, 7 * n + 7 * v + 19);
    const int buttons_x = 7 * n + 7 * v + 38;
    EXPECT_EQ(buttons[L"Close"].left, buttons_x);
    EXPECT_EQ(buttons[L"Close"].top, 1);
    EXPECT_EQ(buttons[L"Import"].top, 27);
    EXPECT_EQ(buttons[L"Export"].top, 53);
    EXPECT_EQ(buttons[L"OK"].left, buttons_x);
    EXPECT_EQ(buttons[L"OK"].top, 79);
}

TEST_F(Dialog_Test, ChipDialogColours) {
    NAND_Config config = Catalogue_Chip();
    Picture shown;
    RECT first = {};
    Script({[&] { UpdateWindow(Popup(L"Chip")); },
            [&] {
                HWND dialog = Popup(L"Chip");
                ASSERT_NE(dialog, nullptr);
                shown = Screen_Of(dialog);
                Keep_Screenshot(shown, L"chip_dialog.bmp");
                RECT placed;
                GetWindowRect(dialog, &placed);
                GetWindowRect(Fields(dialog)[0], &first);
                OffsetRect(&first, -placed.left, -placed.top);
                Click(Button_With_Tip(dialog, L"Close"));
            }},
           [&] { ZEKT_Explorer_Properties::Run(Host(), L"Chip", config, false); });
    ASSERT_GT(shown.width, 0);
    EXPECT_EQ(shown.At(1, shown.height - 2), RGB(200, 200, 200));
    // Right of the short "Company" text the field shows its own colour.
    EXPECT_EQ(shown.At(first.right - 4, (first.top + first.bottom) / 2), RGB(255, 255, 225));
    // The labels, dark, left of the fields.
    EXPECT_GT(shown.Count({0, first.top, first.left, first.bottom}, Is_Dark), 10);
}

struct Closing_Key {
    const char* name;
    WPARAM key;
    bool accepted;
};

class Properties_Keys : public Dialog_Test, public ::testing::WithParamInterface<Closing_Key> {};

// Tab walks every field in row order, multi-line ones too, a choice's
// "Select" button after its field, then "Close", "Import", "Export" and
// "OK", and round again; Shift+Tab steps back; no Tab lands in a field.
// Enter is "OK", Escape "Close".
TEST_P(Properties_Keys, TabWalksTheFieldsInRowOrder) {
    NAND_Options options;
    options.After_Reset = L"CMD 0xFF\r\nWAIT";
    const std::wstring before = Export_Properties(options);
    std::vector<HWND> fields, visited;
    // Records where the focus is, then presses the key there, Shift held or not.
    const auto press = [&](WPARAM key, bool shift) {
        return [&visited, key, shift] {
            visited.push_back(GetFocus());
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_SHIFT] = shift ? 0x80 : 0;
            SetKeyboardState(keys);
            PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
        };
    };
    std::vector<HWND> stops;
    std::vector<Step> steps = {[&] {
        fields = Fields(Popup(L"Chip Options"));
        for (HWND child = GetWindow(Popup(L"Chip Options"), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) stops.push_back(child);
    }};
    constexpr std::size_t Stops = 8 + 1 + 4;  // one field has choices
    for (std::size_t tab = 0; tab < Stops; ++tab) steps.push_back(press(VK_TAB, false));
    steps.push_back(press(VK_TAB, true));
    steps.push_back(press(GetParam().key, false));
    bool accepted = false;
    Script(std::move(steps),
           [&] { accepted = ZEKT_Explorer_Properties::Run(Host(), L"Chip Options", options, false); });
    ASSERT_EQ(fields.size(), 8u);
    ASSERT_EQ(stops.size(), Stops);
    std::vector<HWND> fields_met = stops;
    std::erase_if(fields_met, [&](HWND stop) { return std::find(fields.begin(), fields.end(), stop) == fields.end(); });
    EXPECT_EQ(fields_met, fields);
    std::vector<HWND> expected = stops;
    expected.push_back(stops[0]);
    expected.push_back(stops.back());
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(accepted, GetParam().accepted);
    EXPECT_EQ(Export_Properties(options), before);
}

INSTANTIATE_TEST_SUITE_P(Keys, Properties_Keys,
                         ::testing::Values(Closing_Key{"Enter", VK_RETURN, true},
                                           Closing_Key{"Escape", VK_ESCAPE, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Options with a program of sixty lines, taller than the screen: cut to the
// work area, scrolled to the last row, "OK" still in its place.
TEST_F(Dialog_Test, TallDialogFitsTheWorkAreaAndScrolls) {
    NAND_Options options;
    for (int line = 0; line < 60; ++line) options.After_Reset += L"WAIT\r\n";
    RECT work, placed, client, last, ok;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    Script({[&] {
        HWND dialog = Popup(L"Chip Options");
        SendMessageW(dialog, WM_VSCROLL, SB_BOTTOM, 0);
        GetWindowRect(dialog, &placed);
        GetClientRect(dialog, &client);
        MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        GetWindowRect(Children(dialog, L"Edit").back(), &last);
        GetWindowRect(Button_With_Tip(dialog, L"OK"), &ok);
        Click(Button_With_Tip(dialog, L"Close"));
    }},
           [&] { ZEKT_Explorer_Properties::Run(Host(), L"Chip Options", options, false); });
    EXPECT_TRUE(placed.top >= work.top && placed.bottom <= work.bottom);
    EXPECT_TRUE(last.top >= client.top && last.bottom <= client.bottom);
    EXPECT_EQ(ok.top, client.top + 79);
}

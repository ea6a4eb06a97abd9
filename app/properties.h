#pragma once
// The property dialog: any settings object laid out as a form, one row per
// property, with "Close", "Import", "Export" and "OK".
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/modal_loop.h"
#include "app/resource_bitmap.h"
#include "framework/properties.h"
#include "win32/button.h"
#include "win32/gdi.h"
#include "win32/mixins.h"

namespace Korvane_Exe {

class ZEKT_Explorer_Properties;

// The "Select" button of a row that offers values.
class ZEKT_Explorer_Properties_Select final : public ZEKT_Win32_Button_Image {
public:
    ZEKT_Explorer_Properties_Select(HBITMAP image, ZEKT_Explorer_Properties& dialog, std::size_t row)
        : ZEKT_Win32_Button_Image(image), dialog(dialog), row(row) {}
    void Click(int x, int y) override;

private:
    ZEKT_Explorer_Properties& dialog;
    std::size_t row;
};

class ZEKT_Explorer_Properties final : public ZEKT_Win32_Draw {
public:
    // True when the user left with "OK" and every value was accepted; the
    // object's After_Import has then been called. A read-only dialog shows
    // the values without check boxes to change or values to select.
    static bool Run(HWND owner, const std::wstring& title, ZEKT_Properties& object, bool read_only);

    ~ZEKT_Explorer_Properties() override;

    // Offers the row's suggested values below its "Select" button.
    void Select(std::size_t row);
    void Draw(HDC dc, int width, int height) override;

private:
    enum class Kind { Heading, Check, Text };
    struct Row {
        ZEKT_Property* property;
        Kind kind;
        int y;      // top of the row
        int lines;  // text lines the row takes
        HWND control = nullptr;
    };

    // Builds the rows and measures them; Open makes the windows.
    ZEKT_Explorer_Properties(const std::wstring& title, ZEKT_Properties& object, bool read_only);
    void Open(HWND owner);

    void Create_Row(std::size_t index);
    void Add_Tooltip(HWND button, const wchar_t* text);
    std::wstring Shown_Text(const Row& row) const;
    void Show_Text(Row& row, const std::wstring& text);

    void OK();
    void Close();
    void Export();
    void Import();
    ZEKT_Box<LRESULT> On_Colour(HWND, UINT, WPARAM, LPARAM);
    // A form taller than the work area is cut to it and scrolls; the four
    // buttons stay where they are.
    void Fit_Work_Area();
    void Scroll_To(int position);
    void Scroll_Into_View(HWND control);
    ZEKT_Box<LRESULT> On_Scroll(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Wheel(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Field_Focus(HWND, UINT, WPARAM, LPARAM);

    std::wstring title;
    ZEKT_Properties& object;
    bool read_only;
    bool accepted = false;
    ZEKT_Property_List properties;
    std::vector<Row> rows;
    int line_height = 0;
    int label_width = 0;  // 7n + 15
    int value_width = 0;  // 7v
    int height = 0;       // of the client area
    int shown_height = 0; // of the client area in view
    int scroll = 0;       // rows scrolled out at the top, in pixels
    HWND popup = nullptr;
    HWND tooltip = nullptr;
    std::unique_ptr<Modal_Loop> loop;

    ZEKT_Win32_Font font{L"Lucida Console", 11};
    ZEKT_Win32_Brush background{RGB(200, 200, 200)};
    ZEKT_Win32_Brush editable{RGB(255, 255, 225)};
    ZEKT_Win32_Brush fixed{RGB(236, 233, 216)};
    Resource_Bitmap close_image;
    Resource_Bitmap import_image;
    Resource_Bitmap export_image;
    Resource_Bitmap ok_image;
    Resource_Bitmap select_image;
    std::vector<std::unique_ptr<ZEKT_Win32_Button_Image>> buttons;
    ZEKT_Win32_Handlers handlers;
};

}  // namespace Korvane_Exe

// A report list view over the system control that carries one typed value
// per row and reports the user's actions through seven virtual operations.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/fab.h"
#include "win32/handlers.h"

struct ZEKT_Win32_ListView_Flags {
    DWORD view = LVS_REPORT;
    bool header = true;
    bool header_click = true;
    bool multiple_selection = true;
    bool label_edit = false;
    bool grid_lines = false;
    bool check_boxes = false;
};

struct ZEKT_Win32_ListView_Styles {
    DWORD style;
    DWORD extended;  // the list view's own extended styles
};

ZEKT_Win32_ListView_Styles ListView_Styles(const ZEKT_Win32_ListView_Flags& flags);

// The record of one row, created with the row and freed with it.
struct ZEKT_Win32_Row {
    virtual ~ZEKT_Win32_Row() = default;
    COLORREF colour = 0;  // the row's text colour
};

// Everything that does not depend on the row type.
class ZEKT_Win32_ListView_Base {
public:
    explicit ZEKT_Win32_ListView_Base(const ZEKT_Win32_ListView_Flags& flags) : flags(flags) {}
    ZEKT_Win32_ListView_Base(const ZEKT_Win32_ListView_Base&) = delete;
    ZEKT_Win32_ListView_Base& operator=(const ZEKT_Win32_ListView_Base&) = delete;
    // Frees the records still there without reporting them: the owner's
    // part of the object is already gone.
    virtual ~ZEKT_Win32_ListView_Base();

    // Not owned; applied at once when the control exists, else at Create.
    void Set_Font(HFONT font);
    void Set_Background(COLORREF colour);
    // Selected rows are drawn in these colours instead of the system's.
    void Set_Selected_Colours(COLORREF text, COLORREF background);
    // Selected rows on this background keep their own text colour, so that
    // a row's mark stays visible while it is selected; a colour that would
    // not read on it is darkened until it does.
    void Set_Selected_Background(COLORREF background);

    // Creates the control and handles its notifications on the parent.
    void Create(HWND parent, int x, int y, int width, int height);

    // Appends a left-aligned column; width 0 takes what the columns before leave.
    void Add_Column(const std::wstring& title, int width);
    void Set_Text(int index, int column, const std::wstring& text);
    std::wstring Text(int index, int column) const;
    void Select_All();
    // Resizes to the height that all rows need, keeping width and position.
    void Fit_Height();
    // Deletes every row, reporting each through Deleted.
    void Delete_All();
    int Count() const;
    COLORREF Colour(int index) const { return Record(index)->colour; }

    HWND Control() const { return control; }
    HWND Parent() const { return parent; }

protected:
    // Appends a row owning `record`; throws (and frees it) when the control refuses.
    int Add_Record(const std::wstring& text, int image, ZEKT_Win32_Row* record);
    // Throws ZEKT_Exception_Bug for a row that does not exist.
    ZEKT_Win32_Row* Record(int index) const;

private:
    // The typed operations of the derived template, by record.
    virtual void Row_Selected(int index, ZEKT_Win32_Row& row) = 0;
    virtual void Row_Deleted(int index, ZEKT_Win32_Row& row) = 0;
    virtual void Row_Activated(int index, ZEKT_Win32_Row& row) = 0;
    virtual void Row_Empty_Click(int x, int y) = 0;
    virtual void Row_Right_Click(int index, ZEKT_Win32_Row& row, int x, int y) = 0;
    virtual bool Row_Begin_Edit(int index, ZEKT_Win32_Row& row) = 0;
    virtual void Row_End_Edit(int index, ZEKT_Win32_Row& row, const std::wstring& text) = 0;

    ZEKT_Box<LRESULT> On_Notify(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Control_Destroy(HWND, UINT, WPARAM, LPARAM);
    ZEKT_Box<LRESULT> On_Context_Menu(HWND, UINT, WPARAM, LPARAM);
    LRESULT Custom_Draw(NMLVCUSTOMDRAW& draw);
    ZEKT_Win32_Row* Record_Or_Null(int index) const;
    void Apply_Colours();

    ZEKT_Win32_ListView_Flags flags;
    HWND parent = nullptr;
    HWND control = nullptr;
    ZEKT_Win32_Handlers handlers;
    HFONT font = nullptr;
    ZEKT_Box<COLORREF> background;
    ZEKT_Box<COLORREF> selected_text;
    ZEKT_Box<COLORREF> selected_background;
};

template <typename T>
class ZEKT_Win32_ListView : public ZEKT_Win32_ListView_Base {
public:
    explicit ZEKT_Win32_ListView(const ZEKT_Win32_ListView_Flags& flags = {}) : ZEKT_Win32_ListView_Base(flags) {}

    // A row became selected.
    virtual void Selected(int index, T& value) = 0;
    // The row is being deleted; its record is freed right after.
    virtual void Deleted(int index, T& value) = 0;
    // Double click on the row, or Enter on the row holding the selection mark.
    virtual void Activated(int index, T& value) = 0;
    // A right click outside any row, in screen coordinates.
    virtual void Right_Click_Empty(int x, int y) = 0;
    // A right click on a row, in screen coordinates.
    virtual void Right_Click(int index, T& value, int x, int y) = 0;
    // Whether the row's label may be edited.
    virtual bool Begin_Edit(int index, T& value) = 0;
    virtual void End_Edit(int index, T& value, const std::wstring& text) = 0;

    int Add_Row(const std::wstring& text, int image, COLORREF colour, const T& value) {
        Row* row = new Row;
        row->colour = colour;
        row->value = value;
        return Add_Record(text, image, row);
    }

    T& Value(int index) const { return static_cast<Row*>(Record(index))->value; }

private:
    struct Row : ZEKT_Win32_Row {
        T value{};
    };
    static T& Of(ZEKT_Win32_Row& row) { return static_cast<Row&>(row).value; }

    void Row_Selected(int index, ZEKT_Win32_Row& row) override { Selected(index, Of(row)); }
    void Row_Deleted(int index, ZEKT_Win32_Row& row) override { Deleted(index, Of(row)); }
    void Row_Activated(int index, ZEKT_Win32_Row& row) override { Activated(index, Of(row)); }
    void Row_Empty_Click(int x, int y) override { Right_Click_Empty(x, y); }
    void Row_Right_Click(int index, ZEKT_Win32_Row& row, int x, int y) override { Right_Click(index, Of(row), x, y); }
    bool Row_Begin_Edit(int index, ZEKT_Win32_Row& row) override { return Begin_Edit(index, Of(row)); }
    void Row_End_Edit(int index, ZEKT_Win32_Row& row, const std::wstring& text) override {
        End_Edit(index, Of(row), text);
    }
};

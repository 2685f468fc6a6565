// A pop-up menu (window title "Menu Window"). Create it with new: it deletes itself when it
// closes (SetAutoDelete(false) keeps it). A chosen item reaches the parent window as the
// message given to Create, posted, with the item id in lParam (and in wParam, so a menu built
// for WM_COMMAND works as well). A click outside, Escape or WM_CLOSE closes it without a choice.
#pragma once

#include "common/dui/MWindow.h"

#include <string>
#include <vector>

namespace DUI {

class PopupList;

class MenuWnd : public MWindow {
public:
    static constexpr const char16_t* kTitle = u"Menu Window";

    MenuWnd();
    ~MenuWnd() override;

    // The menu's window with its top-left corner at `screenPoint`, `width` wide; it is shown by
    // ShowWindow after the items are added.
    bool Create(MWindow* parent, MPoint screenPoint, UINT message, int width);
    using MWindow::Create;
    void AddMenu(std::u16string_view text, int itemId, bool enabled = true);
    int GetItemCount() const { return int(items_.size()); }
    // Shows the menu (kept inside the screen); SW_HIDE closes it.
    bool ShowWindow(int showCommand);
    void SetAutoDelete(bool autoDelete) { autoDelete_ = autoDelete; }

    // Chooses the item at `index` as a click would (keyboard, tests).
    void ChooseIndex(int index);

    LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void InitUI(const MRect& client) override;
    void UISize(const MRect& client) override;
    void OnCreateFlags(Qt::WindowFlags& flags) override;
    void OnWidgetClosed() override;

private:
    struct Item {
        std::u16string text;
        int id;
        bool enabled;
    };
    void Close();

    std::vector<Item> items_;
    PopupList* list_ = nullptr;
    HWND parent_ = nullptr;
    UINT message_ = 0;
    MPoint origin_;
    int width_ = 150;
    bool autoDelete_ = true;
    bool closing_ = false;
};

}  // namespace DUI

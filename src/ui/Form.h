// TForm: a top-level window of its own class (one class per form, all on the
// one static thunk of TControl). It is the root of the reflection of its
// controls' notifications, routes menu commands and owner-drawn menu items to
// its main menu, keeps the focus across activation, and runs modally:
// ShowModal disables the process's other windows, runs the message loop with
// the dialog keys until a result is set (Enter clicks the default or focused
// button, Esc the cancel button, the close box gives 2) and returns it.
// Closing a modeless form hides it, after OnCloseQuery agreed. The main form
// owns the forms created after it; once it has closed, the program ends.
#pragma once
#include "Control.h"

class TMainMenu;

enum class TBorderStyle { Sizeable, Dialog };

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

class TForm : public TControl {
public:
    bool CreateForm(const char* className, const std::string& caption, int clientWidth, int clientHeight,
                    TBorderStyle border, bool stayOnTop = false, bool screenCenter = false);
    void SetClientSize(int width, int height);

    int ShowModal();
    bool IsModal() const { return modal_; }
    void SetModalResult(int result) { modalResult_ = result; }
    int ModalResult() const { return modalResult_; }
    void Show();
    void Hide();
    // As the close box: OnCloseQuery for a modeless form, Cancel for a modal one.
    void Close();

    void SetDefaultButton(TControl* button) { defaultButton_ = button; }
    void SetCancelButton(TControl* button) { cancelButton_ = button; }
    void SetMenu(TMainMenu* menu);
    TMainMenu* Menu() const { return menu_; }

    // closed runs once the main form has closed: the program's end.
    static void SetMainForm(TForm* form, std::function<void()> closed);
    static TForm* MainForm();

    std::function<void(TForm* sender, bool& canClose)> OnCloseQuery;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CloseRequested();
    LRESULT DefaultButtonId();
    void FocusFirstControl();

    bool modal_ = false;
    int modalResult_ = mrNone;
    TControl* defaultButton_ = nullptr;
    TControl* cancelButton_ = nullptr;
    TMainMenu* menu_ = nullptr;
    HWND lastFocus_ = nullptr;
};

// One message of a message loop, not WM_QUIT: the dialog keys (Tab, Enter,
// Esc) when one of our forms holds it, else translated and dispatched.
void DispatchFormMessage(MSG& msg);

#include "Form.h"
#include "MainMenu.h"

#include <vector>

namespace {

TForm* MainFormOfProcess = nullptr;
std::function<void()> MainFormClosed;

struct ThreadWindows {
    HWND except;
    std::vector<HWND> disabled;
};

BOOL CALLBACK DisableOne(HWND window, LPARAM param)
{
    auto* list = reinterpret_cast<ThreadWindows*>(param);
    if (window != list->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        list->disabled.push_back(window);
    }
    return TRUE;
}

bool IsPushButton(HWND window)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    LONG type = GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK;
    return lstrcmpiA(name, "Button") == 0 && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

}  // namespace

// Defined here, with the class it looks for.
TForm* TControl::Form()
{
    TControl* c = this;
    while (c->Parent()) c = c->Parent();
    return dynamic_cast<TForm*>(c);
}

void DispatchFormMessage(MSG& msg)
{
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (root && dynamic_cast<TForm*>(TControl::FromHandle(root)) && IsDialogMessageA(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void TForm::SetMainForm(TForm* form, std::function<void()> closed)
{
    MainFormOfProcess = form;
    MainFormClosed = std::move(closed);
}

TForm* TForm::MainForm() { return MainFormOfProcess; }

bool TForm::CreateForm(const char* className, const std::string& caption, int clientWidth, int clientHeight,
                       TBorderStyle border, bool stayOnTop, bool screenCenter)
{
    RegisterOwnClass(className);
    DWORD style = border == TBorderStyle::Sizeable ? WS_OVERLAPPEDWINDOW : WS_POPUP | WS_CAPTION | WS_SYSMENU;
    style |= WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT | (border == TBorderStyle::Dialog ? WS_EX_DLGMODALFRAME : 0);
    if (stayOnTop) exStyle |= WS_EX_TOPMOST;
    TForm* main = MainFormOfProcess;
    HWND owner = main && main != this ? main->Handle() : nullptr;
    if (!CreateHandle(nullptr, 0, className, caption, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, owner))
        return false;
    SetClientSize(clientWidth, clientHeight);
    if (screenCenter) {
        RECT r = {};
        GetWindowRect(handle_, &r);
        int width = r.right - r.left, height = r.bottom - r.top;
        SetWindowPos(handle_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return true;
}

void TForm::SetClientSize(int width, int height)
{
    RECT r = {0, 0, width, height};
    DWORD style = GetWindowLongA(handle_, GWL_STYLE);
    AdjustWindowRectEx(&r, style, GetMenu(handle_) != nullptr, GetWindowLongA(handle_, GWL_EXSTYLE));
    SetWindowPos(handle_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps to two lines takes client height; give it back.
    RECT client = {};
    GetClientRect(handle_, &client);
    if (client.bottom != height && client.bottom > 0) {
        GetWindowRect(handle_, &r);
        SetWindowPos(handle_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TForm::SetMenu(TMainMenu* menu)
{
    RECT client = {};
    GetClientRect(handle_, &client);
    menu_ = menu;
    ::SetMenu(handle_, menu ? menu->Handle() : nullptr);
    SetClientSize(client.right, client.bottom);
}

void TForm::FocusFirstControl()
{
    HWND focus = GetFocus();
    if (focus && IsChild(handle_, focus)) return;
    HWND first = GetNextDlgTabItem(handle_, nullptr, FALSE);
    if (first) ::SetFocus(first);
}

void TForm::Show()
{
    ShowWindow(handle_, SW_SHOW);
    SetForegroundWindow(handle_);
    FocusFirstControl();
    if (OnShow) OnShow(this);
}

void TForm::Hide()
{
    if (!IsWindowVisible(handle_)) return;
    ShowWindow(handle_, SW_HIDE);
    if (OnHide) OnHide(this);
}

int TForm::ShowModal()
{
    modalResult_ = mrNone;
    modal_ = true;
    ThreadWindows others = {handle_, {}};
    EnumThreadWindows(GetCurrentThreadId(), DisableOne, reinterpret_cast<LPARAM>(&others));
    Show();
    MSG msg;
    while (modalResult_ == mrNone) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            modalResult_ = mrCancel;
            break;
        }
        DispatchFormMessage(msg);
    }
    for (HWND window : others.disabled) EnableWindow(window, TRUE);
    Hide();
    modal_ = false;
    return modalResult_;
}

void TForm::Close()
{
    SendMessageA(handle_, WM_CLOSE, 0, 0);
}

void TForm::CloseRequested()
{
    if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    if (!canClose) return;
    Hide();
    if (MainFormOfProcess == this && MainFormClosed) MainFormClosed();
}

LRESULT TForm::DefaultButtonId()
{
    HWND focus = GetFocus();
    if (focus && IsChild(handle_, focus) && IsPushButton(focus)) return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
    if (defaultButton_ && defaultButton_->Enabled()) return MAKELRESULT(defaultButton_->Id(), DC_HASDEFID);
    return 0;
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE: CloseRequested(); return 0;
    case DM_GETDEFID: return DefaultButtonId();
    case WM_ERASEBKGND: {
        RECT r = {};
        GetClientRect(handle_, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, BackgroundBrush());
        return 1;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(handle_, focus)) lastFocus_ = focus;
        } else if (lastFocus_ && IsWindow(lastFocus_) && IsChild(handle_, lastFocus_)) {
            ::SetFocus(lastFocus_);
            return 0;
        }
        break;
    case WM_COMMAND:
        // Menu items, accelerators and the dialog keys come without a window.
        if (lParam == 0 || !TControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
            int id = LOWORD(wParam);
            if (menu_ && menu_->Command(id)) return 0;
            if (id == IDCANCEL) {
                if (cancelButton_ && cancelButton_->Enabled()) cancelButton_->Command(BN_CLICKED);
                return 0;
            }
            TControl* control = id > IDCANCEL ? FindById(id) : nullptr;
            if (control && control != this && control->Enabled()) control->Command(BN_CLICKED);
            return 0;
        }
        break;
    case WM_MENUCHAR:
        if (menu_) return menu_->MenuChar(static_cast<char>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
        break;
    case WM_MEASUREITEM:
        if (menu_ && reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->CtlType == ODT_MENU) {
            menu_->MeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    case WM_DRAWITEM:
        if (menu_ && reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->CtlType == ODT_MENU) {
            menu_->DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        break;
    default: break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

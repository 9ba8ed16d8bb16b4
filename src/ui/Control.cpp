#include "Control.h"
#include "Hints.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const ControlProperty = "VtUiControl";

struct FontEntry {
    std::string face;
    int height;
    int weight;
    bool underline;
    HFONT font;
};
std::vector<FontEntry> Fonts;

unsigned ShiftState()
{
    unsigned shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) shift |= MK_CONTROL;
    if (GetKeyState(VK_MENU) < 0) shift |= 0x100;
    return shift;
}

}  // namespace

HFONT SharedFont(const char* face, int height, int weight, bool underline)
{
    for (const FontEntry& f : Fonts)
        if (f.face == face && f.height == height && f.weight == weight && f.underline == underline) return f.font;
    HFONT font = CreateFontA(height, 0, 0, 0, weight, FALSE, underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
    Fonts.push_back({face, height, weight, underline, font});
    return font;
}

HFONT StandardFont()
{
    return SharedFont("MS Sans Serif", -11, FW_NORMAL, false);
}

TControl::~TControl()
{
    for (TControl* child : children_) child->parent_ = nullptr;
    if (parent_) parent_->RemoveChild(this);
    if (brush_) DeleteObject(brush_);
    if (handle_) {
        HWND window = handle_;
        Detach();
        DestroyWindow(window);
    }
}

TControl* TControl::FindById(int id)
{
    if (id_ == id) return this;
    for (TControl* child : children_)
        if (TControl* found = child->FindById(id)) return found;
    return nullptr;
}

void TControl::RemoveChild(TControl* child)
{
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void TControl::RegisterOwnClass(const char* className, UINT classStyle, HCURSOR cursor)
{
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (GetClassInfoExA(instance, className, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = ClassThunk;
    wc.hInstance = instance;
    wc.hCursor = cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconA(instance, "MAINICON");
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
}

bool TControl::CreateHandle(TControl* parent, int id, const char* className, const std::string& text, DWORD style,
                            DWORD exStyle, int left, int top, int width, int height, HWND owner)
{
    id_ = id;
    parent_ = parent;
    if (parent) parent->children_.push_back(this);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    bool ownClass = GetClassInfoExA(instance, className, &wc) && wc.lpfnWndProc == ClassThunk;
    HWND parentWindow = parent ? parent->handle_ : owner;
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    HWND window = CreateWindowExA(exStyle, className, text.c_str(), style, left, top, width, height, parentWindow,
                                  menu, instance, this);
    if (!window) return false;
    if (!ownClass) {
        Attach(window);
        original_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassThunk)));
    }
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_ ? font_ : StandardFont()), FALSE);
    RememberMargins();
    return true;
}

void TControl::Attach(HWND window)
{
    handle_ = window;
    SetPropA(window, ControlProperty, this);
}

void TControl::Detach()
{
    if (!handle_) return;
    RemovePropA(handle_, ControlProperty);
    if (original_) SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    original_ = nullptr;
    handle_ = nullptr;
}

TControl* TControl::FromHandle(HWND window)
{
    return window ? static_cast<TControl*>(GetPropA(window, ControlProperty)) : nullptr;
}

LRESULT CALLBACK TControl::ClassThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* control = static_cast<TControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (control) control->Attach(window);
    }
    TControl* control = FromHandle(window);
    if (!control) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        control->Detach();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return control->WndProc(message, wParam, lParam);
}

LRESULT CALLBACK TControl::SubclassThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    TControl* control = FromHandle(window);
    if (!control) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        WNDPROC original = control->original_;
        control->Detach();
        return CallWindowProcA(original, window, message, wParam, lParam);
    }
    return control->WndProc(message, wParam, lParam);
}

LRESULT TControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (original_) return CallWindowProcA(original_, handle_, message, wParam, lParam);
    return DefWindowProcA(handle_, message, wParam, lParam);
}

bool TControl::WantsKey(WORD key) const
{
    return OnKeyDown && key == VK_RETURN;
}

LRESULT TControl::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (Reflect(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_SIZE: {
        LRESULT r = DefaultProc(message, wParam, lParam);
        LayoutChildren();
        return r;
    }
    case WM_KEYDOWN:
        if (OnKeyDown) {
            WORD key = static_cast<WORD>(wParam);
            OnKeyDown(this, key, ShiftState());
            if (key == 0) return 0;
            wParam = key;
        }
        break;
    case WM_GETDLGCODE: {
        LRESULT code = DefaultProc(message, wParam, lParam);
        auto* msg = reinterpret_cast<MSG*>(lParam);
        if (msg && msg->message == WM_KEYDOWN && WantsKey(static_cast<WORD>(msg->wParam))) code |= DLGC_WANTMESSAGE;
        return code;
    }
    default: break;
    }
    return DefaultProc(message, wParam, lParam);
}

bool TControl::Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND: {
        TControl* c = FromHandle(reinterpret_cast<HWND>(lParam));
        if (!c || c == this) return false;
        c->Command(HIWORD(wParam));
        result = 0;
        return true;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        TControl* c = FromHandle(header->hwndFrom);
        if (!c || c == this) return false;
        result = c->Notify(header);
        return true;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        TControl* c = item->CtlType == ODT_MENU ? nullptr : FromHandle(item->hwndItem);
        if (!c) return false;
        c->DrawItem(item);
        result = TRUE;
        return true;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_MENU) return false;
        for (TControl* child : children_)
            if (child->id_ == static_cast<int>(item->CtlID)) {
                child->MeasureItem(item);
                result = TRUE;
                return true;
            }
        return false;
    }
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        TControl* c = FromHandle(reinterpret_cast<HWND>(lParam));
        if (c && c != this) {
            result = reinterpret_cast<LRESULT>(c->CtlColor(dc));
        } else {
            SetBkColor(dc, Color());
            if (fontColor_ != clDefault) SetTextColor(dc, fontColor_);
            result = reinterpret_cast<LRESULT>(BackgroundBrush());
        }
        return true;
    }
    default: return false;
    }
}

void TControl::Command(WORD) {}
LRESULT TControl::Notify(NMHDR*) { return 0; }
void TControl::DrawItem(DRAWITEMSTRUCT*) {}
void TControl::MeasureItem(MEASUREITEMSTRUCT*) {}

HBRUSH TControl::CtlColor(HDC dc)
{
    SetBkColor(dc, Color());
    if (fontColor_ != clDefault) SetTextColor(dc, fontColor_);
    return BackgroundBrush();
}

HBRUSH TControl::BackgroundBrush()
{
    if (color_ != clDefault) return brush_;
    if (!ParentColored()) return GetSysColorBrush(COLOR_WINDOW);
    if (parent_) return parent_->BackgroundBrush();
    return GetSysColorBrush(COLOR_BTNFACE);
}

COLORREF TControl::Color() const
{
    if (color_ != clDefault) return color_;
    if (!ParentColored()) return GetSysColor(COLOR_WINDOW);
    if (parent_) return parent_->Color();
    return GetSysColor(COLOR_BTNFACE);
}

void TControl::SetColor(COLORREF color)
{
    if (brush_) DeleteObject(brush_);
    color_ = color;
    brush_ = color == clDefault ? nullptr : CreateSolidBrush(color);
    Invalidate();
}

void TControl::SetFontColor(COLORREF color)
{
    fontColor_ = color;
    Invalidate();
}

void TControl::SetFont(const char* face, int height, int weight, bool underline)
{
    font_ = SharedFont(face, height, weight, underline);
    if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
}

void TControl::SetHint(const std::string& hint)
{
    SetWindowHint(handle_, hint);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    MoveWindow(handle_, left, top, width, height, TRUE);
    RememberMargins();
}

RECT TControl::BoundsRect() const
{
    RECT r = {};
    GetWindowRect(handle_, &r);
    HWND parent = GetParent(handle_);
    if (parent && (GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD))
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int TControl::Width() const
{
    RECT r = BoundsRect();
    return r.right - r.left;
}

int TControl::Height() const
{
    RECT r = BoundsRect();
    return r.bottom - r.top;
}

void TControl::SetAnchors(unsigned anchors)
{
    anchors_ = anchors;
    RememberMargins();
}

void TControl::RememberMargins()
{
    HWND parent = handle_ ? GetParent(handle_) : nullptr;
    if (!parent || !(GetWindowLongA(handle_, GWL_STYLE) & WS_CHILD)) return;
    RECT client = {}, r = BoundsRect();
    GetClientRect(parent, &client);
    rightMargin_ = client.right - r.right;
    bottomMargin_ = client.bottom - r.bottom;
}

void TControl::ApplyAnchors(int parentWidth, int parentHeight)
{
    if (!(anchors_ & (akRight | akBottom))) return;
    RECT r = BoundsRect();
    int left = r.left, top = r.top, width = r.right - r.left, height = r.bottom - r.top;
    if (anchors_ & akRight) {
        if (anchors_ & akLeft) width = std::max(0, parentWidth - rightMargin_ - left);
        else left = parentWidth - rightMargin_ - width;
    }
    if (anchors_ & akBottom) {
        if (anchors_ & akTop) height = std::max(0, parentHeight - bottomMargin_ - top);
        else top = parentHeight - bottomMargin_ - height;
    }
    MoveWindow(handle_, left, top, width, height, TRUE);
}

void TControl::LayoutChildren()
{
    RECT client = {};
    GetClientRect(handle_, &client);
    for (TControl* child : children_)
        if (child->handle_ && GetParent(child->handle_) == handle_) child->ApplyAnchors(client.right, client.bottom);
}

void TControl::SetEnabled(bool enabled)
{
    EnableWindow(handle_, enabled);
}

bool TControl::Enabled() const
{
    return IsWindowEnabled(handle_) != FALSE;
}

void TControl::SetVisible(bool visible)
{
    ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
}

bool TControl::Visible() const
{
    return (GetWindowLongA(handle_, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string TControl::Text() const
{
    int length = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(handle_, &text[0], length + 1);
    text.resize(static_cast<size_t>(std::max(0, copied)));
    return text;
}

void TControl::SetText(const std::string& text)
{
    SetWindowTextA(handle_, text.c_str());
}

bool TControl::SetFocus()
{
    if (!IsWindowVisible(handle_) || !IsWindowEnabled(handle_)) return false;
    ::SetFocus(handle_);
    return GetFocus() == handle_;
}

bool TControl::Focused() const
{
    return handle_ && GetFocus() == handle_;
}

void TControl::Invalidate()
{
    if (handle_) InvalidateRect(handle_, nullptr, TRUE);
}

void TControl::BringToFront()
{
    SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// TControl: what every wrapped window shares. A control owns one real window
// (a standard or common control, subclassed, or a window of one of our own
// classes), knows its parent control and its children, keeps its anchors and
// moves its anchored children when its client area changes size. Parents
// reflect WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM and
// WM_CTLCOLOR* to the control that owns the child window, which raises its
// own event. Geometry is in pixels of the parent's client area; every control
// gets the font "MS Sans Serif", height -11, unless told otherwise.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

class TControl;
class TForm;

using TNotifyEvent = std::function<void(TControl* sender)>;
// Key: the virtual key, which the handler may set to 0; shift: MK_SHIFT,
// MK_CONTROL and 0x100 for Alt.
using TKeyEvent = std::function<void(TControl* sender, WORD& key, unsigned shift)>;

enum TAnchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

// A colour not set: the control shows its parent's colour.
constexpr COLORREF clDefault = CLR_INVALID;

class TControl {
public:
    TControl() = default;
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;
    virtual ~TControl();

    HWND Handle() const { return handle_; }
    int Id() const { return id_; }
    TControl* Parent() const { return parent_; }
    // The form it sits on: its root, when that is a form (defined with TForm).
    TForm* Form();
    const std::vector<TControl*>& Children() const { return children_; }
    // This control or a descendant with the given identifier.
    TControl* FindById(int id);

    void SetBounds(int left, int top, int width, int height);
    RECT BoundsRect() const;  // in the parent's client area
    int Width() const;
    int Height() const;
    // The distances to the edges named in anchors are kept from now on when
    // the parent's client area changes size.
    void SetAnchors(unsigned anchors);

    void SetEnabled(bool enabled);
    bool Enabled() const;
    void SetVisible(bool visible);
    bool Visible() const;
    std::string Text() const;
    void SetText(const std::string& text);
    // False when the control cannot take the focus (hidden or disabled).
    bool SetFocus();
    bool Focused() const;
    void Invalidate();
    // Above its siblings, where it overlaps them.
    void BringToFront();

    void SetColor(COLORREF color);
    // The colour it paints with: its own, else its parent's, else button face.
    COLORREF Color() const;
    void SetFontColor(COLORREF color);
    COLORREF FontColor() const { return fontColor_; }
    void SetFont(const char* face, int height, int weight = FW_NORMAL, bool underline = false);
    HFONT Font() const { return font_; }
    // A tool tip shown when the mouse rests on the control, with the hints' timing.
    void SetHint(const std::string& hint);

    static TControl* FromHandle(HWND window);

    // Reflected notifications, called by the parent's window procedure.
    virtual void Command(WORD code);
    virtual LRESULT Notify(NMHDR* header);
    virtual void DrawItem(DRAWITEMSTRUCT* item);
    virtual void MeasureItem(MEASUREITEMSTRUCT* item);
    virtual HBRUSH CtlColor(HDC dc);

    TKeyEvent OnKeyDown;

protected:
    // Creates the window as a child of parent (or a top-level window when
    // parent is null). Standard classes are subclassed; windows of our own
    // classes (registered with RegisterOwnClass) reach WndProc directly.
    bool CreateHandle(TControl* parent, int id, const char* className, const std::string& text, DWORD style,
                      DWORD exStyle, int left, int top, int width, int height, HWND owner = nullptr);
    static void RegisterOwnClass(const char* className, UINT classStyle = CS_DBLCLKS, HCURSOR cursor = nullptr);
    // Every message of the window; the default reflects notifications from
    // children, applies anchors on WM_SIZE, raises OnKeyDown and otherwise
    // calls the window's original procedure.
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The brush behind children that have no control object of their own.
    HBRUSH BackgroundBrush();
    void LayoutChildren();
    // Whether the control wants WM_KEYDOWN of this key before the dialog keys (Tab, Enter, Esc).
    virtual bool WantsKey(WORD key) const;
    // False for controls that show the window colour (edits, lists, trees)
    // instead of their parent's colour when none is set.
    virtual bool ParentColored() const { return true; }

    HWND handle_ = nullptr;

private:
    static LRESULT CALLBACK ClassThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Attach(HWND window);
    void Detach();
    bool Reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void RememberMargins();
    void ApplyAnchors(int parentWidth, int parentHeight);
    void RemoveChild(TControl* child);

    int id_ = 0;
    TControl* parent_ = nullptr;
    std::vector<TControl*> children_;
    WNDPROC original_ = nullptr;
    unsigned anchors_ = akLeft | akTop;
    int rightMargin_ = 0;
    int bottomMargin_ = 0;
    COLORREF color_ = clDefault;
    COLORREF fontColor_ = clDefault;
    HBRUSH brush_ = nullptr;
    HFONT font_ = nullptr;
};

// The shared fonts of the forms; they live as long as the process.
HFONT StandardFont();
HFONT SharedFont(const char* face, int height, int weight, bool underline);

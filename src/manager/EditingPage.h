// What the four editing tabs of the profile manager share: the one call
// through which they tell the window that the profile was edited, the help
// box at the foot of each tab, their colours, and the button glyphs.
#pragma once
#include "ImageList.h"
#include "PageControl.h"
#include "StaticText.h"

#include <functional>
#include <string>

// The colours the tabs are painted in.
namespace PageColors {
constexpr COLORREF AccessPanel = RGB(48, 113, 184);  // the folder and file buttons' panels
constexpr COLORREF SkyBlue = RGB(166, 202, 240);     // the drive list and tree panel
constexpr COLORREF Group = RGB(128, 176, 240);       // the rule groups
constexpr COLORREF ListPanel = RGB(133, 182, 235);   // restrictions and programs
constexpr COLORREF List = RGB(217, 236, 255);        // lists and the tree
constexpr COLORREF RuleList = RGB(176, 216, 255);    // the folder rule list
constexpr COLORREF HelpBox = RGB(210, 233, 255);
}  // namespace PageColors

constexpr int HelpPanelHeight = 61;

class TEditingPage {
public:
    // Set by the hosting window: marks its profile as changed.
    std::function<void()> OnProfileEdited;

protected:
    void ProfileEdited()
    {
        if (OnProfileEdited) OnProfileEdited();
    }
    // The panel docked at the foot of sheet with the help box filling it.
    static void CreateHelpBox(TTabSheet& sheet, TPanel& panel, int panelId, TStaticText& box, int boxId,
                              const std::string& text);
};

// The strip of the access, rule and file buttons' glyphs from the program's
// resources, loaded at the first call; empty where the resources lack it.
const TImageList& ButtonGlyphs();

// The glyph cells of ButtonGlyphs.
namespace Glyph {
enum : int {
    FullAccess = 0,
    ReadOnly = 1,
    Hidden = 2,
    NoAccess = 3,
    AddRule = 4,
    DeleteRule = 5,
    ChangeRule = 6,
    EnlargeList = 7,
    AddFile = 8,
    EditFile = 9,
    RemoveFile = 10,
};
}  // namespace Glyph

// The lists' keys: Delete, Insert and Enter run the given commands (any may
// be empty); afterwards, whatever the key, the list takes the focus.
struct TListKeys {
    std::function<void()> Delete, Insert, Enter;
};
void HandleListKey(TControl& list, WORD key, const TListKeys& keys);

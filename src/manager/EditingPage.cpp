#include "EditingPage.h"

void TEditingPage::CreateHelpBox(TTabSheet& sheet, TPanel& panel, int panelId, TStaticText& box, int boxId,
                                 const std::string& text)
{
    RECT client = {};
    GetClientRect(sheet.Handle(), &client);
    panel.Create(&sheet, panelId, 0, client.bottom - HelpPanelHeight, client.right, HelpPanelHeight,
                 TBevel::None);
    panel.SetAnchors(akLeft | akRight | akBottom);
    box.Create(&panel, boxId, text, 0, 0, client.right, HelpPanelHeight);
    box.SetAnchors(akLeft | akTop | akRight | akBottom);
    box.SetColor(PageColors::HelpBox);
    box.SetFontColor(GetSysColor(COLOR_INFOTEXT));
}

const TImageList& ButtonGlyphs()
{
    static TImageList glyphs;
    if (!glyphs.Handle()) {
        glyphs.Create();
        HBITMAP colour = LoadBitmapResource("GLYPHS");
        HBITMAP mask = LoadBitmapResource("GLYPHSMASK");
        glyphs.AddStrip(colour, mask);
        if (colour) DeleteObject(colour);
        if (mask) DeleteObject(mask);
    }
    return glyphs;
}

void HandleListKey(TControl& list, WORD key, const TListKeys& keys)
{
    const std::function<void()>* command = nullptr;
    if (key == VK_DELETE) command = &keys.Delete;
    else if (key == VK_INSERT) command = &keys.Insert;
    else if (key == VK_RETURN) command = &keys.Enter;
    if (command && *command) (*command)();
    list.SetFocus();
}

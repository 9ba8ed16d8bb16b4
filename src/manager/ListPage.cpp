#include "ListPage.h"

void TListPage::Create(TTabSheet& sheet)
{
    RECT client = {};
    GetClientRect(sheet.Handle(), &client);
    const int height = client.bottom - HelpPanelHeight;
    parts_.panel.Create(&sheet, parts_.panelId, 0, 0, client.right, height, TBevel::None);
    parts_.panel.SetAnchors(akLeft | akTop | akRight | akBottom);
    parts_.panel.SetColor(parts_.panelColor);
    CreateContents(client.right, height);
    CreateHelpBox(sheet, parts_.helpPanel, parts_.helpPanelId, parts_.helpBox, parts_.helpBoxId, parts_.help);
}

void TListPage::CreateList(int id, int left, int top, int width, int height, bool multiSelect)
{
    parts_.list.Create(&parts_.panel, id, left, top, width, height, multiSelect);
    parts_.list.SetAnchors(akLeft | akTop | akRight | akBottom);
    parts_.list.SetColor(PageColors::List);
}

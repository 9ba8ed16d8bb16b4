// The shape of the "File protection" and "Disabled programs" tabs: a panel
// in the page's colour above the help box, holding the page's commands and
// its one list, which grows with the tab. The page owns and names its
// controls; this base builds the shared part of them.
#pragma once
#include "EditingPage.h"
#include "ListBox.h"

class TListPage : public TEditingPage {
public:
    // The panel, then what the page puts on it, then the help box.
    void Create(TTabSheet& sheet);

protected:
    struct Parts {
        TPanel& panel;
        int panelId;
        COLORREF panelColor;
        TListBox& list;
        TPanel& helpPanel;
        int helpPanelId;
        TStaticText& helpBox;
        int helpBoxId;
        const char* help;
    };
    explicit TListPage(const Parts& parts) : parts_(parts) {}

    // The page's commands and its list (through CreateList), in Tab order,
    // on the panel of this size.
    virtual void CreateContents(int width, int height) = 0;
    // The list on the panel, anchored on all sides, in the lists' colour.
    void CreateList(int id, int left, int top, int width, int height, bool multiSelect = false);

private:
    Parts parts_;
};

// The "File protection" tab: the profile's file rules, one line each with
// the file type's description, and the "Add file", "Edit" and "Remove"
// commands through the "Add a file" dialog.
#pragma once
#include "ListPage.h"
#include "SpeedButton.h"

class TFilePage : public TListPage {
public:
    TFilePage();

    void Button1Click(TControl* sender);  // "Add file"
    void Button3Click(TControl* sender);  // "Edit"
    void Button2Click(TControl* sender);  // "Remove"
    void ListBox2KeyDown(TControl* sender, WORD& key, unsigned shift);
    // Sorts the profile's file rules and shows them.
    void ShowFileRules();

    TPanel Panel6;
    TListBox ListBox2;
    TPanel Panel8;
    TSpeedButton Button1;
    TSpeedButton Button3;
    TSpeedButton Button2;
    TPanel Panel10;
    TStaticText StaticText2;

protected:
    void CreateContents(int width, int height) override;

private:
    // The name the selected line stands for; false with no line selected.
    bool SelectedName(std::string& name) const;
};

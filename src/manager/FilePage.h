// The "File protection" tab: the profile's file rules, one line each with
// the file type's description, and the "Add file", "Edit" and "Remove"
// commands through the "Add a file" dialog.
#pragma once
#include "ListPage.h"
#include "SpeedButton.h"

class TFilePage : public TListPage {
public:
    TFilePage();

    void OnAddFile(TControl* sender);  // "Add file"
    void OnEditFile(TControl* sender);  // "Edit"
    void OnRemoveFile(TControl* sender);  // "Remove"
    void OnFileListKey(TControl* sender, WORD& key, unsigned shift);
    // Sorts the profile's file rules and shows them.
    void ShowFileRules();

    TPanel FilePanel;
    TListBox FileRuleList;
    TPanel FileButtons;
    TSpeedButton AddFileButton;
    TSpeedButton EditFileButton;
    TSpeedButton RemoveFileButton;
    TPanel FileHelpPanel;
    TStaticText FileHelpBox;

protected:
    void CreateContents(int width, int height) override;

private:
    // The name the selected line stands for; false with no line selected.
    bool SelectedName(std::string& name) const;
};

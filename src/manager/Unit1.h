// TForm1, the profile manager window: the toolbar, the five tabs, the
// owner-drawn main menu with its accelerators, the start and close
// sequences, the protection commands and the Profile options tab. The
// editing tabs and the profile commands are hosted here and built in their
// own files.
#pragma once
#include "Button.h"
#include "CheckBox.h"
#include "Edit.h"
#include "FilePage.h"
#include "FolderPage.h"
#include "Form.h"
#include "GroupBox.h"
#include "ImageList.h"
#include "Label.h"
#include "MainMenu.h"
#include "OpenDialog.h"
#include "PageControl.h"
#include "Panel.h"
#include "ProgramsPage.h"
#include "RadioGroup.h"
#include "RestrictionsPage.h"
#include "SpeedButton.h"

#include <string>

class TForm1 : public TForm {
public:
    // Creates the window and runs FormCreate.
    bool Create();

    // The profile shown was edited since it was created, loaded or saved.
    bool ProfileChanged = false;

    void FormCreate();
    void FormShow();
    void FormCloseQuery(bool& canClose);
    void Startprotection1Click();
    void Stopprotection1Click();
    void Exit1Click();
    void Folderprotection1Click(TMenuItem* sender);
    void ConfirmUnsavedChanges();
    void File1AdvancedDrawItem(TMenuItem* sender, HDC dc, const RECT& rect, UINT state);
    void Newprofile1DrawItem(TMenuItem* sender, HDC dc, const RECT& rect, bool selected);
    void Settings1Click(int initialPage);

    // Profile options
    void RadioGroup1Click();
    void CheckBox1Click();
    void Button4Click();

    // The editing tabs and the profile commands (their own files).
    void InitProfilePages();
    int FillDriveList();
    void ComboBox1Change(TControl* sender);
    bool LoadProfileIntoWindow(const std::string& fileName);
    void Newprofile1Click();
    void Openprofile1Click();
    void Saveprofile1Click();
    void Saveprofileasdefault1Click();
    void BuildProfileTemplate();
    void ShowWizard();

    // Help
    void Help2Click();
    void About1Click();

    TPanel ToolBar;
    TSpeedButton SaveButton;
    TSpeedButton SettingsButton;
    TSpeedButton StartButton;
    TSpeedButton StopButton;
    TPageControl PageControl1;
    TTabSheet TabSheet1;
    TTabSheet TabSheet2;
    TTabSheet TabSheet4;
    TTabSheet TabSheet5;
    TTabSheet TabSheet3;
    TImageList ImageMenu;
    TImageList ImageList1;
    TMainMenu MainMenu1;

    // Profile options
    TPanel OptionsPanel;
    TPanel OptionsFiller;
    TRadioGroup RadioGroup1;
    TEdit Edit1;
    TGroupBox PasswordGroup;
    TLabel PasswordText;
    TCheckBox CheckBox1;
    TLabel Label4;
    TButton Button4;

    // The editing tabs (their own files); destroyed before their sheets.
    TFolderPage FolderPage;
    TFilePage FilePage;
    TRestrictionsPage RestrictionsPage;
    TProgramsPage ProgramsPage;

    // Open profile
    TOpenDialog OpenDialog2;

private:
    void BuildToolBar();
    void BuildPages();
    void BuildMenu();
    void BuildOptionsPage();
    void CreateEditingPages();
    // The start sequence's second step: the editing tabs set up.
    void SetUpProfilePages();
    // Every tab refilled from the profile just loaded or created.
    void RefreshProfilePages();
    void ShowRestrictions();
    void ShowProfileOptions(const std::string& fileName);
    // The save command's whole work; Failed when the administrator asked for it
    // but nothing could be written, so the edits are still unsaved.
    enum class SaveOutcome { Saved, Declined, Failed };
    SaveOutcome SaveShownProfile();
    // Offers to save unsaved edits; false when they are still unsaved.
    bool UnsavedChangesSettled();
};

extern TForm1* Form1;

// Posts a registered message to every top-level window, wParam 0, lParam 0.
void Broadcast(UINT message);

// Creates the manager's forms once, in their order; the first is the main window.
bool CreateManagerForms();
void DestroyManagerForms();
// Manager mode: the forms, then the message loop until the window closes.
int RunProfileManager();

// The profile manager window: the toolbar, the five tabs with the editing
// pages on them, and the start and close sequences. Its menu
// (ManagerMenu.cpp), protection commands (ProtectionCommands.cpp), profile
// commands (ProfileCommands.cpp) and Profile options tab
// (ProfileOptionsTab.cpp) are built in their own files.
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

class TManagerWindow : public TForm {
public:
    // Creates the window and runs OnCreate.
    bool Create();

    // The profile shown was edited since it was created, loaded or saved.
    bool ProfileChanged = false;

    void OnCreate();
    void OnShown();
    void OnCloseAsked(bool& canClose);
    void OnStartProtection();
    void OnStopProtection();
    void OnExit();
    void OnShowTab(TMenuItem* sender);
    void ConfirmUnsavedChanges();
    void DrawMenuBarItem(TMenuItem* sender, HDC dc, const RECT& rect, UINT state);
    void DrawMenuItem(TMenuItem* sender, HDC dc, const RECT& rect, bool selected);
    void ShowSettings(int initialPage);

    // Profile options
    void OnProfileUserChosen();
    void OnOtherPasswordToggled();
    void OnChangeUserPassword();

    // The editing tabs and the profile commands (their own files).
    void InitProfilePages();
    int FillDriveList();
    void RebuildFolderTree();
    bool LoadProfileIntoWindow(const std::string& fileName);
    void OnNewProfile();
    void OnOpenProfile();
    void OnSaveProfile();
    void OnSaveProfileAsDefault();
    void BuildProfileTemplate();
    void ShowWizard();

    // Help
    void OnHelp();
    void OnAbout();

    TPanel ToolBar;
    TSpeedButton SaveButton;
    TSpeedButton SettingsButton;
    TSpeedButton StartButton;
    TSpeedButton StopButton;
    TPageControl Tabs;
    TTabSheet FolderTab;
    TTabSheet FileTab;
    TTabSheet RestrictionsTab;
    TTabSheet ProgramsTab;
    TTabSheet OptionsTab;
    TImageList ImageMenu;
    TImageList FolderImages;
    TMainMenu MenuBar;

    // Profile options
    TPanel OptionsPanel;
    TPanel OptionsFiller;
    TRadioGroup ProfileUserChoice;
    TEdit UserNameEdit;
    TGroupBox PasswordGroup;
    TLabel PasswordText;
    TCheckBox OtherPasswordBox;
    TLabel OtherPasswordLabel;
    TButton ChangePasswordButton;

    // The editing tabs (their own files); destroyed before their sheets.
    TFolderPage FolderPage;
    TFilePage FilePage;
    TRestrictionsPage RestrictionsPage;
    TProgramsPage ProgramsPage;

    // Open profile
    TOpenDialog OpenProfileDialog;

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

extern TManagerWindow* ManagerWindow;

// Creates the manager's forms once, in their order; the first is the main window.
bool CreateManagerForms();
void DestroyManagerForms();
// Manager mode: the forms, then the message loop until the window closes.
int RunProfileManager();

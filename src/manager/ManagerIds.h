// The identifiers of the manager's menu commands and of every control of its
// eight forms. The forms create their controls with them and the tests find
// the controls with them, also from another process. Identifiers are unique
// within one form, nested controls included; the items of a radio group
// follow its own identifier (group + 1 + item index).
#pragma once

// TManagerWindow's menu commands, also named by the accelerator table of the
// resource script (which is why they are plain macros).
#define IDM_FileMenu 1000
#define IDM_NewProfile 1001
#define IDM_OpenProfile 1002
#define IDM_SaveProfile 1003
#define IDM_SaveProfileAsDefault 1004
#define IDM_ProfileWizard 1005
#define IDM_FileSeparator1 1006
#define IDM_Settings 1007
#define IDM_FileSeparator2 1008
#define IDM_Exit 1009
#define IDM_ProtectionMenu 1100
#define IDM_StartProtection 1101
#define IDM_StopProtection 1102
#define IDM_ComponentsMenu 1200
#define IDM_FolderProtection 1201
#define IDM_FileProtection 1202
#define IDM_Restrictions 1203
#define IDM_DisabledPrograms 1204
#define IDM_ProfileOptions 1205
#define IDM_HelpMenu 1300
#define IDM_Help 1301
#define IDM_HelpSeparator1 1302
#define IDM_HomePage 1303
#define IDM_ContactAuthors 1304
#define IDM_HelpSeparator2 1305
#define IDM_About 1306

// The accelerator table of TManagerWindow in the resource script.
#define IDR_MainAccelerators 1

#ifndef RC_INVOKED

// TManagerWindow, the profile manager window; the setup program looks for
// its class name.
constexpr char ManagerWindowClass[] = "TForm1";
namespace ManagerWindowId {
enum : int {
    ToolBar = 100,
    SaveButton = 101,      // "Save profile"
    SettingsButton = 102,  // "Global settings"
    StartButton = 103,     // "Enable protection"
    StopButton = 104,      // "Disable protection"
    Tabs = 110,
    FolderTab = 111,  // "Folder protection"
    FileTab = 112,  // "File protection"
    RestrictionsTab = 113,  // "Restrictions"
    ProgramsTab = 114,  // "Disabled programs"
    OptionsTab = 115,  // "Profile options"

    // Folder protection
    AccessPanel = 200,
    ReadOnlyButton = 201,  // "Read Only"
    HiddenButton = 202,  // "Hidden"
    NoAccessButton = 203,  // "No Access"
    FullAccessButton = 204,  // "Full access"
    TreePanel = 210,
    DriveLabel = 211,  // "Disk drive:"
    DriveBox = 212,
    SpecialFolderButton = 213,  // "Special folder"
    FolderTree = 214,
    RuleGroup = 220,  // "Profile"
    FolderRuleList = 221,
    AddRuleButton = 222,   // "Add rule"
    DeleteRuleButton = 223,  // "Delete rule"
    ChangeRuleButton = 224,  // "Change rule"
    EnlargeButton = 225,  // enlarge or restore the rule list
    FolderHelpPanel = 230,
    FolderHelpBox = 231,
    // SpecialFolderMenu, the "Special folder" menu, in its order
    VantrelFolderItem = 240,
    SpecialFolderSeparator = 241,
    DesktopAllUsersItem = 242,
    DesktopCurrentUserItem = 243,
    ProgramsMenuAllUsersItem = 244,
    ProgramsMenuCurrentUserItem = 245,
    ProgramFilesItem = 246,
    WindowsFolderItem = 247,
    SystemFolderItem = 248,
    StartupFolderItem = 249,

    // File protection
    FilePanel = 300,
    FileRuleList = 301,
    FileButtons = 302,
    AddFileButton = 303,  // "Add file"
    EditFileButton = 304,  // "Edit"
    RemoveFileButton = 305,  // "Remove"
    FileHelpPanel = 310,
    FileHelpBox = 311,

    // Restrictions
    RestrictionsPanel = 400,
    CheckAllButton = 401,  // "Check all"
    UncheckAllButton = 402,  // "Uncheck all"
    GrayAllButton = 403,  // "Gray all"
    RestrictionList = 404,
    RestrictionsHelpPanel = 410,
    RestrictionsHelpBox = 411,

    // Disabled programs
    ProgramsPanel = 500,
    AddProgramButton = 501,  // "Add program"
    DeleteProgramButton = 502,  // "Delete from list"
    ProgramsLabel = 503,
    ProgramList = 504,
    ProgramsHelpPanel = 510,
    ProgramsHelpBox = 511,

    // Profile options
    OptionsPanel = 600,
    ProfileUserChoice = 610,  // items 611 and 612
    UserNameEdit = 620,
    PasswordGroup = 630,  // "Password"
    PasswordText = 631,
    OtherPasswordBox = 632,
    OtherPasswordLabel = 633,   // "Other password:"
    ChangePasswordButton = 634,  // "Change user password"
    OptionsFiller = 640,
};
}  // namespace ManagerWindowId

// The dialogs keep the window class names the tests find them by.

// TAddFileDialog, "Add a file".
constexpr char AddFileDialogClass[] = "TAddFileDlg";
namespace AddFileDialogId {
enum : int {
    FileNameLabel = 100,  // "Filename:"
    FileNameEdit = 101,
    FileTypeCheckBox = 102,  // "All files of the given type"
    BrowseButton = 103,      // "Browse..."
    AccessGroup = 110,       // items 111 to 113
    AddButton = 120,         // "Add"
    CancelButton = 121,      // "Cancel"
};
}  // namespace AddFileDialogId

// TAddFolderDialog, "Add folder".
constexpr char AddFolderDialogClass[] = "TFAddFolder";
namespace AddFolderDialogId {
enum : int {
    PathLabel = 100,  // "Path:"
    PathEdit = 101,
    BrowseButton = 102,  // "Browse..."
    AccessGroup = 110,   // items 111 to 116
    AddButton = 120,     // "Add"
    CancelButton = 121,  // "Cancel"
};
}  // namespace AddFolderDialogId

// TSettingsDialog, "Settings".
constexpr char SettingsDialogClass[] = "TForm3";
namespace SettingsDialogId {
enum : int {
    Pages = 100,
    StartupSheet = 101,
    PasswordsSheet = 102,
    AutoStartCheckBox = 110,    // AutoStart
    UserControlCheckBox = 111,  // UserControl
    UseDefaultCheckBox = 112,   // UseDefault
    AdminPasswordGroup = 120,   // "New administrator's password:"
    AdminPasswordLabel = 121,
    AdminPasswordButton = 122,
    TogglePasswordGroup = 130,  // "New default toggle protection password."
    TogglePasswordLabel = 131,
    TogglePasswordButton = 132,
    OkButton = 140,      // "OK"
    CancelButton = 141,  // "Cancel"
};
}  // namespace SettingsDialogId

// TAdminPasswordPrompt, "Enter administrator's password".
constexpr char AdminPasswordPromptClass[] = "TFQPass";
namespace AdminPasswordPromptId {
enum : int {
    FramePanel = 100,
    LockImage = 101,
    PromptLabel = 102,
    PasswordEdit = 103,
    HideTypingCheckBox = 104,  // "Hide typing"
    OkButton = 105,            // "OK"
    CancelButton = 106,        // "Cancel"
};
}  // namespace AdminPasswordPromptId

// TPasswordChangeDialog, "Change password".
constexpr char PasswordChangeDialogClass[] = "TFQUPass";
namespace PasswordChangeDialogId {
enum : int {
    FramePanel = 100,
    PasswordLabel = 101,  // "Enter new password:"
    PasswordEdit = 102,
    VerificationLabel = 103,  // "Reenter password for verification:"
    VerificationEdit = 104,
    HideTypingCheckBox = 105,  // "Hide typing"
    OkButton = 106,            // "OK"
    CancelButton = 107,        // "Cancel"
};
}  // namespace PasswordChangeDialogId

// TAboutBox, "About Vantrel".
constexpr char AboutBoxClass[] = "TFAbout";
namespace AboutBoxId {
enum : int {
    StripPanel = 100,
    ProgramImage = 101,  // the program picture
    CloseButton = 102,   // "Close"
    LogoPanel = 103,
    LogoImage = 104,        // the logo
    VersionLabel = 105,     // the version
    HomePageLink = 106,     // web address
    SupportMailLink = 107,  // mail address
    AuthorsMailLink = 108,  // mail address
    Notice = 109,
};
}  // namespace AboutBoxId

// TProfileWizard, "Quick start Wizard".
constexpr char ProfileWizardClass[] = "TWizard";
namespace ProfileWizardId {
enum : int {
    Header = 100,
    HeaderTitle = 101,
    Numerals = 102,  // the step numeral, drawn twice
    Pages = 110,
    Page0 = 111,
    Page1 = 112,
    Page2 = 113,
    Page3 = 114,
    Page4 = 115,
    PagePanel0 = 116,  // PagePanelN is 116 + N, the raised panel of page N
    FirstBox = 121,    // box n is 120 + n, n = 1 to 14
    LastBox = 134,
    BackButton = 140,      // "<&Back"
    NextButton = 141,      // "&Next>"
    CancelButton = 142,    // "&Cancel"
    FirstPageLabel = 150,  // the pages' texts and notes, numbered on in page order
};
}  // namespace ProfileWizardId

#endif

// The identifiers of the manager's menu commands and of every control of its
// eight forms. The forms create their controls with them and the tests find
// the controls with them, also from another process. Identifiers are unique
// within one form, nested controls included; the items of a radio group
// follow its own identifier (group + 1 + item index).
#pragma once

// TForm1's menu commands, also named by the accelerator table of the
// resource script (which is why they are plain macros).
#define IDM_File1 1000
#define IDM_Newprofile1 1001
#define IDM_Openprofile1 1002
#define IDM_Saveprofile1 1003
#define IDM_Saveprofileasdefault1 1004
#define IDM_ProfileCreationWizard1 1005
#define IDM_N2 1006
#define IDM_Settings1 1007
#define IDM_N1 1008
#define IDM_Exit1 1009
#define IDM_Driver1 1100
#define IDM_Startprotection1 1101
#define IDM_Stopprotection1 1102
#define IDM_Components1 1200
#define IDM_Folderprotection1 1201
#define IDM_Fileprotection1 1202
#define IDM_Restrictions1 1203
#define IDM_Restrictedprograms1 1204
#define IDM_Profileoptions1 1205
#define IDM_Help1 1300
#define IDM_Help2 1301
#define IDM_N3 1302
#define IDM_VisitVantrelhomepage1 1303
#define IDM_Contactwithauthors1 1304
#define IDM_N4 1305
#define IDM_About1 1306

// The accelerator table of TForm1 in the resource script.
#define IDR_MainAccelerators 1

#ifndef RC_INVOKED

// TForm1, the profile manager window.
namespace Form1Id {
enum : int {
    ToolBar = 100,
    SaveButton = 101,      // "Save profile"
    SettingsButton = 102,  // "Global settings"
    StartButton = 103,     // "Enable protection"
    StopButton = 104,      // "Disable protection"
    PageControl1 = 110,
    TabSheet1 = 111,  // "Folder protection"
    TabSheet2 = 112,  // "File protection"
    TabSheet4 = 113,  // "Restrictions"
    TabSheet5 = 114,  // "Disabled programs"
    TabSheet3 = 115,  // "Profile options"

    // Folder protection
    Panel1 = 200,
    SpeedButton1 = 201,  // "Read Only"
    SpeedButton2 = 202,  // "Hidden"
    SpeedButton3 = 203,  // "No Access"
    SpeedButton4 = 204,  // "Full access"
    Panel2 = 210,
    DriveLabel = 211,  // "Disk drive:"
    ComboBox1 = 212,
    SpeedButton13 = 213,  // "Special folder"
    TreeView1 = 214,
    GroupBox1 = 220,  // "Profile"
    ListBox1 = 221,
    SpeedButton9 = 222,   // "Add rule"
    SpeedButton10 = 223,  // "Delete rule"
    SpeedButton11 = 224,  // "Change rule"
    SpeedButton12 = 225,  // enlarge or restore the rule list
    Panel9 = 230,
    StaticText1 = 231,
    // PopupMenu1, the "Special folder" menu, in its order
    Vantrelfolder1 = 240,
    N5 = 241,
    Desktopallusers1 = 242,
    Desktopcurrentuser1 = 243,
    Programsmenuallusers1 = 244,
    Programsmenucurrentuser1 = 245,
    ProgramFilesfolder1 = 246,
    Windowsfolder1 = 247,
    WindowsSystemfolder1 = 248,
    Startupdirectorycurrentuser1 = 249,

    // File protection
    Panel6 = 300,
    ListBox2 = 301,
    Panel8 = 302,
    Button1 = 303,  // "Add file"
    Button3 = 304,  // "Edit"
    Button2 = 305,  // "Remove"
    Panel10 = 310,
    StaticText2 = 311,

    // Restrictions
    Panel3 = 400,
    Button10 = 401,  // "Check all"
    Button11 = 402,  // "Uncheck all"
    Button12 = 403,  // "Gray all"
    CheckListBox1 = 404,
    Panel11 = 410,
    StaticText3 = 411,

    // Disabled programs
    Panel4 = 500,
    Button13 = 501,  // "Add program"
    Button14 = 502,  // "Delete from list"
    ProgramsLabel = 503,
    ListBox3 = 504,
    Panel12 = 510,
    StaticText4 = 511,

    // Profile options
    OptionsPanel = 600,
    RadioGroup1 = 610,  // items 611 and 612
    Edit1 = 620,
    PasswordGroup = 630,  // "Password"
    PasswordText = 631,
    CheckBox1 = 632,
    Label4 = 633,   // "Other password:"
    Button4 = 634,  // "Change user password"
    OptionsFiller = 640,
};
}  // namespace Form1Id

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

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

// TAddFileDlg, "Add a file".
namespace AddFileDlgId {
enum : int {
    Label1 = 100,  // "Filename:"
    Edit1 = 101,
    CheckBox1 = 102,    // "All files of the given type"
    Button1 = 103,      // "Browse..."
    RadioGroup1 = 110,  // items 111 to 113
    Button2 = 120,      // "Add"
    Button3 = 121,      // "Cancel"
};
}  // namespace AddFileDlgId

// TFAddFolder, "Add folder".
namespace AddFolderId {
enum : int {
    Label1 = 100,  // "Path:"
    Edit1 = 101,
    Button1 = 102,      // "Browse..."
    RadioGroup1 = 110,  // items 111 to 116
    Button2 = 120,      // "Add"
    Button3 = 121,      // "Cancel"
};
}  // namespace AddFolderId

// TForm3, "Settings".
namespace SettingsId {
enum : int {
    PageControl1 = 100,
    StartupSheet = 101,
    PasswordsSheet = 102,
    CheckBox3 = 110,  // AutoStart
    CheckBox2 = 111,  // UserControl
    CheckBox5 = 112,  // UseDefault
    GroupBox1 = 120,  // "New administrator's password:"
    Label1 = 121,
    Button3 = 122,
    GroupBox2 = 130,  // "New default toggle protection password."
    Label2 = 131,
    Button4 = 132,
    Button1 = 140,  // "OK"
    Button2 = 141,  // "Cancel"
};
}  // namespace SettingsId

// TFQPass, "Enter administrator's password".
namespace QPassId {
enum : int {
    Panel1 = 100,
    Image1 = 101,
    Label1 = 102,
    Edit1 = 103,
    CheckBox1 = 104,  // "Hide typing"
    Button1 = 105,    // "OK"
    Button2 = 106,    // "Cancel"
};
}  // namespace QPassId

// TFQUPass, "Change password".
namespace QUPassId {
enum : int {
    Panel1 = 100,
    Label1 = 101,  // "Enter new password:"
    Edit1 = 102,
    Label2 = 103,  // "Reenter password for verification:"
    Edit2 = 104,
    CheckBox1 = 105,  // "Hide typing"
    Button1 = 106,    // "OK"
    Button2 = 107,    // "Cancel"
};
}  // namespace QUPassId

// TFAbout, "About Vantrel".
namespace AboutId {
enum : int {
    StripPanel = 100,
    Image1 = 101,  // the program picture
    Button1 = 102,  // "Close"
    LogoPanel = 103,
    Image2 = 104,  // the logo
    Label1 = 105,  // the version
    Label3 = 106,  // web address
    Label4 = 107,  // mail address
    Label5 = 108,  // mail address
    Notice = 109,
};
}  // namespace AboutId

// TWizard, "Quick start Wizard".
namespace WizardId {
enum : int {
    Header = 100,
    HeaderTitle = 101,
    Numerals = 102,  // the step numeral, drawn twice
    PageControl1 = 110,
    Page0 = 111,
    Page1 = 112,
    Page2 = 113,
    Page3 = 114,
    Page4 = 115,
    PagePanel0 = 116,  // PagePanelN is 116 + N, the raised panel of page N
    CheckBox1 = 121,  // CheckBoxN is 120 + N, N = 1 to 14
    CheckBox14 = 134,
    Button1 = 140,  // "<&Back"
    Button2 = 141,  // "&Next>"
    Button3 = 142,  // "&Cancel"
    FirstPageLabel = 150,  // the pages' texts and notes, numbered on in page order
};
}  // namespace WizardId

#endif

#include "WizardTemplate.h"
#include "FolderRules.h"

namespace {

// What one checked box adds.
struct BoxTemplate {
    int box;  // 1 to 14
    std::vector<const char*> folders;
    std::vector<const char*> files;
    std::vector<int> restrictions;
};

const std::vector<BoxTemplate>& BoxTemplates()
{
    static const std::vector<BoxTemplate> templates = {
        {1, {"%WINDIR%"}, {}, {}},
        {2, {"%PROGRAMFILES%"}, {}, {}},
        {3, {"%DESKTOP%", "%LOCALDESKTOP%"}, {}, {}},
        {4, {"%START%", "%LOCALSTART%"}, {}, {}},
        {5, {"%QLAUNCH%"}, {}, {}},
        {7, {}, {"-.EXE", "-.COM", "-.BAT", "-.PIF", "-.SCR", "-.DLL", "-.OCX", "-.AX"}, {}},
        {6, {}, {"-.SYS", "-.VXD", "-.386"}, {}},
        {8, {}, {"-.TXT", "-.DOC", "-.PDF", "-.RTF", "-.CHM", "-.HLP"}, {}},
        {9, {}, {"-.JPG", "-.JPEG", "-.GIF", "-.PNG", "-.TIF"}, {}},
        {10, {}, {"-.HTM", "-.HTML"}, {}},
        {11,
         {},
         {"-NTLDR", "-AUTOEXEC.BAT", "-BOOTFONT.BIN", "-NTDETECT.COM", "-BOOT.INI", "-BOOTSECT.DOS", "-CONFIG.SYS",
          "-IO.SYS", "-MSDOS.SYS", "-DRVSPACE.BIN", "-COMMAND.COM"},
         {}},
        {13, {}, {}, {0}},
        {12, {}, {}, {1, 2, 3, 4, 5, 6, 8, 10, 11, 12, 13, 29, 30, 31}},
        {14, {}, {}, {15, 21}},
    };
    return templates;
}

}  // namespace

ProfileTemplate MakeProfileTemplate(const WizardBoxes& boxes)
{
    AccessFlags readOnly;
    readOnly.ReadOnly = true;
    ProfileTemplate result;
    for (const BoxTemplate& box : BoxTemplates()) {
        if (!boxes[box.box - 1]) continue;
        for (const char* folder : box.folders) result.FolderRules.push_back({folder, readOnly});
        result.FileRules.insert(result.FileRules.end(), box.files.begin(), box.files.end());
        result.CheckedRestrictions.insert(result.CheckedRestrictions.end(), box.restrictions.begin(),
                                          box.restrictions.end());
    }
    return result;
}

void ApplyProfileTemplate(const ProfileTemplate& profileTemplate, PolicyCheckList& restrictions)
{
    for (const TemplateFolderRule& rule : profileTemplate.FolderRules) SetFolderRule(rule.Path, rule.Flags);
    TextList& files = Profile.Files;
    files.insert(files.end(), profileTemplate.FileRules.begin(), profileTemplate.FileRules.end());
    for (int item : profileTemplate.CheckedRestrictions)
        if (item < restrictions.ItemCount()) restrictions.SetItemState(item, 1);
}

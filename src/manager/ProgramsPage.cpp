#include "ProgramsPage.h"
#include "Form.h"
#include "ManagerIds.h"
#include "ProgramEntry.h"
#include "UProfiles.h"

namespace {

const char* const ProgramsHelp =
    "On this tab you can create the list of programs, which cannot be executed by user, when computer is "
    "protected. ";

constexpr int ListTop = 48;

}  // namespace

TProgramsPage::TProgramsPage()
    : TListPage({Panel4, Form1Id::Panel4, PageColors::ListPanel, ListBox3, Panel12, Form1Id::Panel12, StaticText4,
                 Form1Id::StaticText4, ProgramsHelp})
{
    OpenDialog1.Filter = "Programs (*.exe)|*.exe";
    OpenDialog1.MultiSelect = true;
    OpenDialog1.HideReadOnly = true;
}

void TProgramsPage::CreateContents(int width, int height)
{
    Button13.Create(&Panel4, Form1Id::Button13, "Add program", 4, 4, 105, 23);
    Button13.OnClick = [this](TControl* sender) { Button13Click(sender); };
    Button14.Create(&Panel4, Form1Id::Button14, "Delete from list", 113, 4, 113, 23);
    Button14.OnClick = [this](TControl* sender) { Button14Click(sender); };
    ProgramsLabel.Create(&Panel4, Form1Id::ProgramsLabel, "Disabled programs:", 4, 32, 120, 13, TAlignment::Left,
                         false);
    CreateList(Form1Id::ListBox3, 4, ListTop, width - 8, height - ListTop - 4, true);
    ListBox3.OnKeyDown = [this](TControl* sender, WORD& key, unsigned shift) { ListBox3KeyDown(sender, key, shift); };
}

void TProgramsPage::ShowPrograms()
{
    ListBox3.SetLines(Profile.Tasks);
}

void TProgramsPage::Button13Click(TControl*)
{
    TForm* form = Panel4.Form();
    if (!OpenDialog1.Execute(form ? form->Handle() : nullptr)) return;
    for (const std::string& file : OpenDialog1.Files()) {
        ProfileEdited();
        const std::string entry = ProgramEntry(file);
        ListBox3.Add(entry);
        Profile.Tasks.push_back(entry);
    }
}

void TProgramsPage::Button14Click(TControl*)
{
    for (int line = 0; line < ListBox3.Count();) {
        if (!ListBox3.Selected(line)) {
            ++line;
            continue;
        }
        ListBox3.Delete(line);
        if (static_cast<size_t>(line) < Profile.Tasks.size()) Profile.Tasks.erase(Profile.Tasks.begin() + line);
        ProfileEdited();
    }
}

void TProgramsPage::ListBox3KeyDown(TControl*, WORD& key, unsigned)
{
    HandleListKey(ListBox3, key, {[this] { Button14Click(&Button14); }, [this] { Button13Click(&Button13); }, {}});
}

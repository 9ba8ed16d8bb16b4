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
    : TListPage({ProgramsPanel, ManagerWindowId::ProgramsPanel, PageColors::ListPanel, ProgramList, ProgramsHelpPanel,
                 ManagerWindowId::ProgramsHelpPanel, ProgramsHelpBox, ManagerWindowId::ProgramsHelpBox, ProgramsHelp})
{
    OpenProgramDialog.Filter = "Programs (*.exe)|*.exe";
    OpenProgramDialog.MultiSelect = true;
    OpenProgramDialog.HideReadOnly = true;
}

void TProgramsPage::CreateContents(int width, int height)
{
    AddProgramButton.Create(&ProgramsPanel, ManagerWindowId::AddProgramButton, "Add program", 4, 4, 105, 23);
    AddProgramButton.OnClick = [this](TControl* sender) { OnAddProgram(sender); };
    DeleteProgramButton.Create(&ProgramsPanel, ManagerWindowId::DeleteProgramButton, "Delete from list", 113, 4, 113,
                               23);
    DeleteProgramButton.OnClick = [this](TControl* sender) { OnDeleteProgram(sender); };
    ProgramsLabel.Create(&ProgramsPanel, ManagerWindowId::ProgramsLabel, "Disabled programs:", 4, 32, 120, 13,
                         TAlignment::Left, false);
    CreateList(ManagerWindowId::ProgramList, 4, ListTop, width - 8, height - ListTop - 4, true);
    ProgramList.OnKeyDown = [this](TControl* sender, WORD& key, unsigned shift) {
        OnProgramListKey(sender, key, shift);
    };
}

void TProgramsPage::ShowPrograms()
{
    ProgramList.SetLines(Profile.Tasks);
}

void TProgramsPage::OnAddProgram(TControl*)
{
    TForm* form = ProgramsPanel.Form();
    if (!OpenProgramDialog.Execute(form ? form->Handle() : nullptr)) return;
    for (const std::string& file : OpenProgramDialog.Files()) {
        ProfileEdited();
        const std::string entry = ProgramEntry(file);
        ProgramList.Add(entry);
        Profile.Tasks.push_back(entry);
    }
}

void TProgramsPage::OnDeleteProgram(TControl*)
{
    for (int line = 0; line < ProgramList.Count();) {
        if (!ProgramList.Selected(line)) {
            ++line;
            continue;
        }
        ProgramList.Delete(line);
        if (static_cast<size_t>(line) < Profile.Tasks.size()) Profile.Tasks.erase(Profile.Tasks.begin() + line);
        ProfileEdited();
    }
}

void TProgramsPage::OnProgramListKey(TControl*, WORD& key, unsigned)
{
    HandleListKey(ProgramList, key,
                  {[this] { OnDeleteProgram(&DeleteProgramButton); }, [this] { OnAddProgram(&AddProgramButton); }, {}});
}

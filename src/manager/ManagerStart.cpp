// Manager mode: the eight forms, created once in their order and kept for
// the life of the process, and the application's message loop.
#include "Application.h"
#include "ManagerIds.h"
#include "UAbout.h"
#include "UAddFileDlg.h"
#include "UAddFolder.h"
#include "UQAPass.h"
#include "UQUPass.h"
#include "USettings.h"
#include "UWizard.h"
#include "Unit1.h"

#include <memory>

namespace {

std::unique_ptr<TForm1> Form1Holder;
std::unique_ptr<TAddFileDlg> AddFileDlgHolder;
std::unique_ptr<TForm3> Form3Holder;
std::unique_ptr<TFQPass> FQPassHolder;
std::unique_ptr<TFAbout> FAboutHolder;
std::unique_ptr<TFQUPass> FQUPassHolder;
std::unique_ptr<TFAddFolder> FAddFolderHolder;
std::unique_ptr<TWizard> WizardHolder;

template <class T>
bool CreateOne(std::unique_ptr<T>& holder, T*& global)
{
    holder = std::make_unique<T>();
    global = holder.get();
    return holder->Create();
}

}  // namespace

bool CreateManagerForms()
{
    if (!CreateOne(Form1Holder, Form1)) return false;
    Application.SetMainForm(Form1);
    return CreateOne(AddFileDlgHolder, AddFileDlg) && CreateOne(Form3Holder, Form3) &&
           CreateOne(FQPassHolder, FQPass) && CreateOne(FAboutHolder, FAbout) &&
           CreateOne(FQUPassHolder, FQUPass) && CreateOne(FAddFolderHolder, FAddFolder) &&
           CreateOne(WizardHolder, Wizard);
}

void DestroyManagerForms()
{
    TemplateBuilder = nullptr;
    Application.SetMainForm(nullptr);
    WizardHolder.reset();
    FAddFolderHolder.reset();
    FQUPassHolder.reset();
    FAboutHolder.reset();
    FQPassHolder.reset();
    Form3Holder.reset();
    AddFileDlgHolder.reset();
    Form1Holder.reset();
    Wizard = nullptr;
    FAddFolder = nullptr;
    FQUPass = nullptr;
    FAbout = nullptr;
    FQPass = nullptr;
    Form3 = nullptr;
    AddFileDlg = nullptr;
    Form1 = nullptr;
}

int RunProfileManager()
{
    Application.Initialize();
    Application.SetTitle("Vantrel");
    if (CreateManagerForms()) {
        HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MainAccelerators));
        Form1->Show();
        Application.Run(accelerators);
    }
    DestroyManagerForms();
    return 0;
}

// TProfileWizard, the profile creation wizard: five pages whose fourteen check
// boxes name the most common protections. Modeless and always on top; it opens
// where it was left and its boxes keep their states for the whole run.
// Finish calls TemplateBuilder, which the manager window fills, so the
// wizard knows nothing of the window it serves.
#pragma once
#include "Button.h"
#include "CheckBox.h"
#include "Form.h"
#include "Label.h"
#include "PageControl.h"
#include "Panel.h"
#include "StepNumerals.h"
#include "WizardTemplate.h"

#include <array>
#include <functional>
#include <memory>
#include <vector>

// Set by the manager window; Finish calls it when it is set.
extern std::function<void()> TemplateBuilder;

constexpr int WizardPageCount = 5;

class TProfileWizard : public TForm {
public:
    bool Create();

    void OnBack();
    void OnNext();  // Finish on the last page
    void OnCancel();
    // The numerals and the header title of page.
    void Headers(int page);

    int PageIndex() const { return Pages.ActivePageIndex(); }
    // Box n of the pages, n from 1.
    TCheckBox& Box(int n) { return CheckBoxes.at(static_cast<size_t>(n - 1)); }
    WizardBoxes Boxes() const;

    TPanel Header;
    TLabel HeaderTitle;
    TStepNumerals Numerals;
    TPageControl Pages;
    std::array<TTabSheet, WizardPageCount> Sheets;
    std::array<TPanel, WizardPageCount> PagePanels;
    std::array<TCheckBox, 14> CheckBoxes;
    TButton BackButton;
    TButton NextButton;
    TButton CancelButton;

private:
    void BuildHeader();
    bool BuildPages();
    void FillPage(int page);
    void BuildButtons();
    void MoveToPage(int page);

    std::vector<std::unique_ptr<TLabel>> labels_;
};

extern TProfileWizard* ProfileWizard;

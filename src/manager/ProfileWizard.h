// TWizard, the profile creation wizard: five pages whose fourteen check boxes
// name the most common protections. Modeless and always on top; it opens
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

class TWizard : public TForm {
public:
    bool Create();

    void Button1Click();  // Back
    void Button2Click();  // Next, and Finish on the last page
    void Button3Click();  // Cancel
    // The numerals and the header title of page.
    void Headers(int page);

    int PageIndex() const { return PageControl1.ActivePageIndex(); }
    // CheckBox<n> of the pages.
    TCheckBox& CheckBox(int n) { return CheckBoxes.at(static_cast<size_t>(n - 1)); }
    WizardBoxes Boxes() const;

    TPanel Header;
    TLabel HeaderTitle;
    TStepNumerals Numerals;
    TPageControl PageControl1;
    std::array<TTabSheet, WizardPageCount> Pages;
    std::array<TPanel, WizardPageCount> PagePanels;
    std::array<TCheckBox, 14> CheckBoxes;
    TButton Button1;
    TButton Button2;
    TButton Button3;

private:
    void BuildHeader();
    bool BuildPages();
    void FillPage(int page);
    void BuildButtons();
    void MoveToPage(int page);

    std::vector<std::unique_ptr<TLabel>> labels_;
};

extern TWizard* Wizard;

// TWizard, the profile creation wizard: modeless, always on top. For now
// only its window and the slot of the template builder.
#pragma once
#include "Form.h"

#include <functional>

// Set by the manager window; the wizard's Finish calls it.
extern std::function<void()> TemplateBuilder;

class TWizard : public TForm {
public:
    bool Create() { return CreateForm("TWizard", "Quick start Wizard", 474, 326, TBorderStyle::Dialog, true); }
};

extern TWizard* Wizard;

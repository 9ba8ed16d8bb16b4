#include "UWizard.h"

std::function<void()> TemplateBuilder;
TWizard* Wizard = nullptr;

#include "USettings.h"

TForm3* Form3 = nullptr;

int ExecuteSettingsDialog(bool&, bool&, bool&, std::string&, std::string&, int)
{
    return mrCancel;
}

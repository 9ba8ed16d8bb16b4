#include "UQAPass.h"

TFQPass* FQPass = nullptr;

std::string QueryAdministratorPassword()
{
    return std::string();
}

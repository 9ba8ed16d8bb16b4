#include "UQUPass.h"

TFQUPass* FQUPass = nullptr;

std::string QueryNewPassword()
{
    return std::string();
}

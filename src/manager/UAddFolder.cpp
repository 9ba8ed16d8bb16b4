#include "UAddFolder.h"

TFAddFolder* FAddFolder = nullptr;

#include "UProfiles.h"

TProfile Profile;

const char* const TaskMarker = "      //";

void CreateProfileLists()
{
    Profile = TProfile();
}

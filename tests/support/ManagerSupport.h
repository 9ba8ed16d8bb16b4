// Helpers of the manager's tests: the passwords it looks at, its quit
// request, and the listener's messages up to a marker.
#pragma once
#include "VtTest.h"
#include <vector>

// Stores or removes the administrator and default toggle passwords.
void SetPasswords(const char* administrator, const char* toggle);
// True (and removed from the queue) when this thread's program asked to end.
bool QuitRequested();
// Broadcasts a last message that the listener must hear: whatever was posted
// before it has then been heard too. Needs the registered messages.
std::vector<HeardMessage> HeardUpToMarker(MessageListener& listener);

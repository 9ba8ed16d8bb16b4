// Helpers of the manager's tests: the passwords it looks at, its quit
// request, its dialogs cancelled with their close box, and the listener's
// messages up to a marker.
#pragma once
#include "VtTest.h"

#include <vector>

// Stores or removes the administrator and default toggle passwords.
void SetPasswords(const char* administrator, const char* toggle);

// True (and removed from the queue) when this thread's program asked to end.
bool QuitRequested();

// While it lives, presses the close box of any shown window of the given
// class of this process, as a user who cancels a dialog.
class CloseWhenShown {
public:
    explicit CloseWhenShown(const char* className);
    ~CloseWhenShown();
    CloseWhenShown(const CloseWhenShown&) = delete;
    CloseWhenShown& operator=(const CloseWhenShown&) = delete;
    int Closed() const;  // how many times it pressed it
};

// Posts a last message that the listener must hear: whatever was posted
// before it has then been heard too. Needs the registered messages.
std::vector<HeardMessage> HeardUpToMarker(MessageListener& listener);

// Controls that the manager's dialogs build alike: the OK and Cancel pair
// and the password fields.
#pragma once
#include "Button.h"
#include "CheckBox.h"
#include "Edit.h"

// "OK" (the default button, Enter) at left and "Cancel" (the cancel button,
// Esc) 80 pixels to its right, both 75 x 25.
void CreateOkCancel(TControl* parent, TButton& ok, int okId, TButton& cancel, int cancelId, int left, int top,
                    TNotifyEvent onOk, TNotifyEvent onCancel);
// A field masked with "*" that takes no more characters than the toggle
// dialog does, so every password set here can be typed there.
void CreatePasswordField(TControl* parent, TEdit& field, int id, int left, int top, int width);
// "Hide typing", checked.
void CreateHideTyping(TControl* parent, TCheckBox& box, int id, int left, int top, TNotifyEvent onClick);

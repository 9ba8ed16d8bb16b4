#include "DialogControls.h"
#include "vrcmd.h"

void CreateOkCancel(TControl* parent, TButton& ok, int okId, TButton& cancel, int cancelId, int left, int top,
                    TNotifyEvent onOk, TNotifyEvent onCancel)
{
    ok.Create(parent, okId, "OK", left, top, 75, 25);
    ok.SetDefault();
    ok.OnClick = std::move(onOk);
    cancel.Create(parent, cancelId, "Cancel", left + 80, top, 75, 25);
    cancel.SetCancel();
    cancel.OnClick = std::move(onCancel);
}

void CreatePasswordField(TControl* parent, TEdit& field, int id, int left, int top, int width)
{
    field.Create(parent, id, "", left, top, width);
    field.SetPasswordChar('*');
    field.SetMaxLength(VRCMD_TYPED_PASSWORD_MAX);
}

void CreateHideTyping(TControl* parent, TCheckBox& box, int id, int left, int top, TNotifyEvent onClick)
{
    box.Create(parent, id, "Hide typing", left, top, 97, 17);
    box.SetChecked(true);
    box.OnClick = std::move(onClick);
}

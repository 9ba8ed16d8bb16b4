// The profile manager answers a person: real keys and clicks from the X
// server (xdotool) reach it and do what its menu and toolbar promise.
#include "../manager/InstalledManager.h"
// Each input and the message it broadcasts; F1 asks for the help file.
TEST_F(InstalledManager, ShortcutKeysAndTheToolbarReachTheManager) {
    Start();
    HWND window = Wait("TForm1");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitSettled(window) && XFocus(window));
    const struct { const char *keys, *heard; } inputs[] = {  // keys null: a click on "Disable protection"
        {"F6", "Vantrel.Start"}, {"ctrl+F6", "Vantrel.Stop"}, {nullptr, "Vantrel.Stop"}};
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.keys ? input.keys : "click");
        MessageListener listener;  // after the start's own "Vantrel.Stop"
        HWND button = FindControl(window, ManagerWindowId::StopButton);
        RECT r = {};
        GetClientRect(button, &r);
        POINT middle = {r.right / 2, r.bottom / 2};
        ClientToScreen(button, &middle);
        ASSERT_TRUE(input.keys ? XKeys(input.keys) : XClick(middle.x, middle.y));
        // xdotool may end before the manager has read the input: the message
        // is waited for, then the marker shows that no other came.
        ASSERT_EQ(listener.WaitHeard(1).size(), 1u);
        std::vector<HeardMessage> heard = HeardUpToMarker(listener);
        ASSERT_EQ(heard.size(), 1u);
        EXPECT_EQ(heard[0].name, input.heard);
    }
    BoxAnswerer answerer;  // no help file beside the installed copy
    ASSERT_TRUE(XKeys("F1"));
    EXPECT_EQ(answerer.WaitSeen(1).size(), 1u) << "F1 reached the manager";
}

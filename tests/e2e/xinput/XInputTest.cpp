// The profile manager answers a person: real keys and clicks from the X
// server (xdotool) reach it and do what its menu and toolbar promise.
#include "../manager/InstalledManager.h"

// Each input and what it gives: a broadcast message, or a box "caption|text".
TEST_F(InstalledManager, ShortcutKeysAndTheToolbarReachTheManager)
{
    Start();
    HWND window = Wait("TForm1");
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(WaitSettled(window) && XFocus(window));
    const struct { const char *keys, *heard, *box; } inputs[] = {  // keys null: a click on "Disable protection"
        {"F6", "Vantrel.Start", nullptr},
        {"ctrl+F6", "Vantrel.Stop", nullptr},
        {nullptr, "Vantrel.Stop", nullptr},
        {"F1", nullptr, "Help|Help file not found"},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.keys ? input.keys : "click");
        MessageListener listener;  // after the start's own "Vantrel.Stop"
        BoxAnswerer answerer("ok");
        if (input.keys) {
            ASSERT_TRUE(XKeys(input.keys));
        } else {
            HWND button = FindControl(window, Form1Id::StopButton);
            RECT r = {};
            GetClientRect(button, &r);
            POINT middle = {r.right / 2, r.bottom / 2};
            ClientToScreen(button, &middle);
            ASSERT_TRUE(XClick(middle.x, middle.y));
        }
        // xdotool may end before the manager has read the input: the outcome
        // is waited for, then the marker shows that nothing else came.
        if (input.box) {
            std::vector<SeenBox> seen = answerer.WaitSeen(1);
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].caption + "|" + seen[0].text, input.box);
            ASSERT_TRUE(WaitSettled(window));
        } else {
            ASSERT_EQ(listener.WaitHeard(1).size(), 1u);
        }
        std::vector<HeardMessage> heard = HeardUpToMarker(listener);
        ASSERT_EQ(heard.size(), input.heard ? 1u : 0u);
        if (input.heard) {
            EXPECT_EQ(heard[0].name, input.heard);
        }
    }
}

#include <gtest/gtest.h>

#include <vector>

#include "support/headless_form.h"

namespace brindlock {
namespace {

std::vector<int32_t> TableIds(const TForm1& form) {
    std::vector<int32_t> ids;
    for (int32_t i = 0; i < form.HotkeyCount; ++i) ids.push_back(form.Hotkeys[i].HotkeyId);
    return ids;
}

TEST(Hotkeys, TheFourDefaultsAreRegisteredForTheWindowAtCreation) {
    test::HeadlessForm env;
    TForm1& form = env.Create();

    const auto& calls = env.integration.hotkeys.Calls;
    ASSERT_EQ(calls.size(), 4u);
    const struct {
        int32_t id;
        uint32_t key;
    } expected[] = {{1, 0x79}, {2, 0x7A}, {3, 0x7B}, {4, 0x76}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(calls[i].registering);
        EXPECT_EQ(calls[i].id, expected[i].id);
        EXPECT_EQ(calls[i].modifiers, 6u);
        EXPECT_EQ(calls[i].key, expected[i].key);
    }
    EXPECT_EQ(form.HotkeyCount, 4);
    EXPECT_EQ(TableIds(form), (std::vector<int32_t>{1, 2, 3, 4}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(form.Hotkeys[i].HotkeyTag, 0);
}

TEST(Hotkeys, ACombinationHeldElsewhereIsMissingAndTheOthersMoveUp) {
    test::HeadlessForm env;
    env.integration.hotkeys.TakenElsewhere = {{6, 0x79}};  // Ctrl+Shift+F10
    TForm1& form = env.Create();

    EXPECT_EQ(form.HotkeyCount, 3);
    EXPECT_EQ(TableIds(form), (std::vector<int32_t>{2, 3, 4}));

    // Only what Windows holds for the window is given back at the end.
    env.integration.hotkeys.Calls.clear();
    env.form.reset();
    std::vector<int32_t> unregistered;
    for (const auto& call : env.integration.hotkeys.Calls) {
        EXPECT_FALSE(call.registering);
        EXPECT_TRUE(call.result);
        unregistered.push_back(call.id);
    }
    EXPECT_EQ(unregistered, (std::vector<int32_t>{2, 3, 4}));
    EXPECT_TRUE(env.integration.hotkeys.Held.empty());
}

TEST(Hotkeys, AFullTableTakesNoMoreAndDoesNotAskWindows) {
    test::HeadlessForm env;
    TForm1& form = env.Create();
    const char* extra[] = {"Alt+F1", "Alt+F2", "Alt+F3", "Alt+F4"};
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(form.AddHotkey(7, 5 + i, extra[i])) << extra[i];
    ASSERT_EQ(form.HotkeyCount, TForm1::MaxHotkeys);
    EXPECT_EQ(form.Hotkeys[7].HotkeyId, 8);
    EXPECT_EQ(form.Hotkeys[7].HotkeyTag, 7);

    const size_t callsBefore = env.integration.hotkeys.Calls.size();
    EXPECT_FALSE(form.AddHotkey(0, 9, "Alt+F5"));
    EXPECT_EQ(env.integration.hotkeys.Calls.size(), callsBefore);
    EXPECT_EQ(form.HotkeyCount, TForm1::MaxHotkeys);
}

TEST(Hotkeys, TextsWithoutAKeyRegisterNothing) {
    test::HeadlessForm env;
    TForm1& form = env.Create();
    const size_t callsBefore = env.integration.hotkeys.Calls.size();
    for (const char* text : {"", "Ctrl+Shift", "Ctrl+PgUp"}) EXPECT_FALSE(form.AddHotkey(0, 5, text)) << text;
    EXPECT_EQ(env.integration.hotkeys.Calls.size(), callsBefore);
    EXPECT_EQ(form.HotkeyCount, 4);
}

TEST(Hotkeys, UnregisteringEmptiesTheTable) {
    test::HeadlessForm env;
    TForm1& form = env.Create();
    form.UnregisterHotkeys();
    EXPECT_EQ(form.HotkeyCount, 0);
    EXPECT_TRUE(env.integration.hotkeys.Held.empty());
    // A second time finds nothing to give back.
    const size_t callsBefore = env.integration.hotkeys.Calls.size();
    form.UnregisterHotkeys();
    EXPECT_EQ(env.integration.hotkeys.Calls.size(), callsBefore);
}

// Terminate ends the program by destroying the window. Windows would free a
// dead window's hotkeys by itself, so only here can one see that the window
// gives back exactly what it holds.
TEST(Hotkeys, DestroyingTheWindowGivesBackWhatItHolds) {
    test::HeadlessForm env;
    env.integration.hotkeys.TakenElsewhere = {{6, 0x7A}};  // Ctrl+Shift+F11
    env.Create();
    const auto& calls = env.integration.hotkeys.Calls;
    const size_t registrations = calls.size();

    env.form.reset();

    std::vector<int32_t> given;
    for (size_t i = registrations; i < calls.size(); ++i) {
        EXPECT_FALSE(calls[i].registering);
        EXPECT_TRUE(calls[i].result) << calls[i].id;
        given.push_back(calls[i].id);
    }
    EXPECT_EQ(given, (std::vector<int32_t>{1, 3, 4}));
    EXPECT_TRUE(env.integration.hotkeys.Held.empty());
}

}  // namespace
}  // namespace brindlock

// Owned top-level windows: kept above their owner (its transient), shown
// with it, and the frame's maximised state as the window manager left it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <vector>

#include "platform/controls.h"
#include "platform/input_synth.h"
#include "platform/keys.h"
#include "platform/window.h"
#include "platform/window_impl.h"

namespace {
bool Mapped(const plat::Window& w) { return w.impl() && w.impl()->widget && w.impl()->widget->isVisible(); }
}  // namespace

TEST(OwnedWindow, IsATransientOfItsOwnerAndAppearsOnlyWithIt) {
    plat::Window frame, owned, child;
    frame.Create("frame", plat::WS_OVERLAPPEDWINDOW, {0, 0, 800, 600}, nullptr, 0);
    owned.Create("Radio Window", plat::WS_POPUP | plat::WS_CAPTION, {100, 100, 400, 300}, &frame, 1213);
    child.Create("panel", plat::WS_CHILD, {10, 10, 50, 50}, &frame, 7);
    // Shown before its owner (as start-up does): it waits for the owner, so
    // the window manager knows whom it belongs to.
    owned.ShowWindow(plat::SW_SHOW);
    EXPECT_TRUE(owned.IsWindowVisible());
    EXPECT_FALSE(Mapped(owned));
    frame.ShowWindow(plat::SW_SHOWMAXIMIZED);
    EXPECT_TRUE(Mapped(owned));
    EXPECT_EQ(plat::OwnerOf(&owned), &frame);
    EXPECT_EQ(plat::OwnerOf(&frame), nullptr);
    EXPECT_EQ(plat::OwnerOf(&child), nullptr);
    // Hidden and shown again it keeps its owner.
    owned.ShowWindow(plat::SW_HIDE);
    owned.ShowWindow(plat::SW_SHOW);
    EXPECT_TRUE(Mapped(owned));
    EXPECT_EQ(plat::OwnerOf(&owned), &frame);
}

TEST(OwnedWindow, TheFramesMaximisedStateIsWhatTheWindowManagerLeft) {
    plat::Window frame;
    frame.Create("frame", plat::WS_OVERLAPPEDWINDOW, {0, 0, 800, 600}, nullptr, 0);
    frame.ShowWindow(plat::SW_SHOWMAXIMIZED);
    EXPECT_TRUE(frame.IsZoomed());
    // The operator un-maximises it through the window manager.
    frame.impl()->widget->showNormal();
    EXPECT_FALSE(frame.IsZoomed());
    frame.ShowWindow(plat::SW_HIDE);
    EXPECT_FALSE(frame.IsZoomed());
    frame.ShowWindow(plat::SW_SHOWMAXIMIZED);
    frame.ShowWindow(plat::SW_HIDE);
    EXPECT_TRUE(frame.IsZoomed());
}

TEST(OwnedWindow, AReadoutThatTakesNoKeyboardStaysOutOfTheFocus) {
    plat::Window frame;
    frame.Create("frame", plat::WS_OVERLAPPEDWINDOW, {0, 0, 400, 300}, nullptr, 0);
    plat::Edit digit, field;
    digit.CreateControl("1", {10, 10, 40, 40}, &frame, 5155);
    digit.SetKeyboardFocus(false);
    field.CreateControl("", {50, 10, 150, 40}, &frame, 100);
    frame.ShowWindow(plat::SW_SHOW);
    frame.impl()->widget->activateWindow();
    QApplication::processEvents();
    frame.SetFocus();
    plat::synth::Click(&digit, plat::synth::Button::Left, {5, 5});
    QApplication::processEvents();
    EXPECT_EQ(plat::FocusedWindow(), &frame);
    EXPECT_FALSE(digit.impl()->widget->hasFocus());
    // Tab walks past it too.
    plat::synth::Key(&frame, plat::VK_TAB);
    QApplication::processEvents();
    EXPECT_FALSE(digit.impl()->widget->hasFocus());
    plat::synth::Click(&field, plat::synth::Button::Left, {5, 5});
    QApplication::processEvents();
    EXPECT_TRUE(field.impl()->widget->hasFocus());
}

TEST(OwnedWindow, APanelThatLeavesTheKeyboardPassesKeysToItsOwner) {
    struct Frame : plat::Window {
        std::vector<unsigned> keys;
        void OnKeyDown(unsigned key, unsigned) override { keys.push_back(key); }
    } frame;
    struct Panel : plat::Window {
        int keys = 0;
        void OnKeyDown(unsigned, unsigned) override { ++keys; }
    } panel, dialog;
    frame.Create("frame", plat::WS_OVERLAPPEDWINDOW, {0, 0, 400, 300}, nullptr, 0);
    panel.SetClickFocus(false);
    panel.Create("SP Memory", plat::WS_POPUP, {10, 10, 100, 100}, &frame, 6133);
    dialog.Create("Station Memories", plat::WS_POPUP | plat::WS_CAPTION, {10, 10, 100, 100}, &frame, 1400);
    frame.ShowWindow(plat::SW_SHOW);
    panel.ShowWindow(plat::SW_SHOW);
    dialog.ShowWindow(plat::SW_SHOW);
    plat::synth::Key(&panel, plat::VK_RIGHT);
    EXPECT_EQ(frame.keys, std::vector<unsigned>{plat::VK_RIGHT});
    EXPECT_EQ(panel.keys, 0);
    // A window that takes the keyboard keeps its keys.
    plat::synth::Key(&dialog, plat::VK_RIGHT);
    EXPECT_EQ(dialog.keys, 1);
    EXPECT_EQ(frame.keys.size(), 1u);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// What the windowing system lets the program do with its own windows: X11 lets it place and activate
// them; Wayland places top-level windows itself, refuses activation requests, and places a window
// relative to its parent only when it is a popup surface.
#pragma once

#include <Qt>

class QWidget;

// GUI thread only.
namespace WindowPlatform {

// False on Wayland, where the compositor decides where a top-level window goes and which one is active.
bool placesOwnWindows();

// The flags of a window shown beside or above a button of the view (a bar's popup, the menu, a panel):
// `wanted` where the program places its own windows. On Wayland a tool-tip window instead, which Qt
// makes an xdg_popup at its place relative to its parent window, as a tool window has on X11; the
// grabbing kind of popup would be closed by the compositor as soon as any dialog of ours opened.
Qt::WindowFlags besideButton(Qt::WindowFlags wanted);

// Shows the window in front and gives it the keyboard where the windowing system allows a program to.
void showInFront(QWidget* window);

// Hides the window to the desktop's task bar; the one who shows it again brings it back full screen.
void showMinimized(QWidget* window);

// Full screen through the windowing system's own request (EWMH on X11, xdg_toplevel on Wayland), and
// in front with the keyboard where a program may ask for that.
void showFullScreen(QWidget* window);

}  // namespace WindowPlatform

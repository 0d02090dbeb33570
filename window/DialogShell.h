// The windows of QuilConfig: the main dialog's procedure, the page procedure of the three settings
// pages, page switching, and the replaced window procedures of the tab control and of the two
// combo boxes' edit fields. The behaviour behind them is the portable core's (app/MainDialog.h);
// these procedures route the messages to it and paint.
#pragma once

#include "core/App.h"
#include "files/win32/Win32.h"
#include "window/ShellPorts.h"

namespace quil {

// What the window procedures share for the one run of the dialog.
struct ShellContext {
  HINSTANCE instance = nullptr;
  App* app = nullptr;
  ShellControls* controls = nullptr;
  Win32Shell* shell = nullptr;
  // The fonts of the Colors page's column headers "B" (bold, underlined) and "I" (also italic).
  HFONT boldHeaderFont = nullptr;
  HFONT italicHeaderFont = nullptr;
};

// Makes `context` the one the window procedures use; it must outlive the dialog.
void UseShellContext(ShellContext& context);

// Runs the main dialog (template 101) modally, without an owner window, until it is closed.
void RunMainDialog();

INT_PTR CALLBACK MainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK TabEraseProc(HWND tab, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK ProfileEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SchemeEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

// Hides the three pages and shows the page of tab `index` (0 General, 1 Colors, 2 Plugins), with
// the keyboard focus on its first control.
void PageSwitch(int index);

// Replaces the window procedure of the profile box's edit field with ProfileEditProc, once.
void InstallProfileEditProc();

}  // namespace quil

#pragma once

// The host's main window: the owner of the plug-in's windows, with the requested menu items
// as its menu bar and a line of status text. Windows only.

#include <windows.h>

#include <string>

class TestHost;

class HostMainWindow {
public:
    // Creates and shows the window. With `quitOnClose`, closing it ends the thread's
    // message loop (the program); tests leave it off. Throws std::runtime_error on failure.
    HostMainWindow(TestHost& host, const std::wstring& title, bool quitOnClose);
    // Destroys the window and with it every window it owns.
    ~HostMainWindow();
    HostMainWindow(const HostMainWindow&) = delete;
    HostMainWindow& operator=(const HostMainWindow&) = delete;

    HWND handle() const { return window_; }
    // Rebuilds the menu bar from the host's menu items.
    void refreshMenu();
    void setStatus(const std::wstring& text);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT respond(UINT message, WPARAM wParam, LPARAM lParam);

    TestHost& host_;
    bool quitOnClose_;
    HWND window_ = nullptr;
    HWND status_ = nullptr;
};

// Runs the thread's message loop until WM_QUIT and returns its exit code. Keyboard input for
// a modeless dialog (the plug-in's windows) goes through IsDialogMessage, as in any host.
int RunMessageLoop();

// The host window: one SDL window with its OpenGL context, its placement and display
// modes, the event queue seen by the frame, message boxes and file dialogs.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qrv::platform {

// Opaque host objects; only the platform layer knows what they are.
struct HostWindow;
struct HostContext;

// Brings up the host's video and event services once per process. False when there is
// no display to talk to.
bool InitVideo();
// Asks SDL for the GL the runtime draws with, before a window is made: a GL 2.1
// compatibility context on the desktop; OpenGL ES 2 (WebGL) in the browser, where the
// fixed-function calls are emulated.
void RequestGlVersion();

// A hidden window of the given client size with a double-buffered pixel format (depth 24,
// stencil 8) and, when samples > 0, that many samples per pixel. A side of 0 takes the
// display's usable size. Null when the host offers no such format.
HostWindow* CreateHostWindow(const char* title, int32_t width, int32_t height, int32_t samples);
void DestroyHostWindow(HostWindow* window);
// A compatibility OpenGL 2.1 context for the window, made current. Null on failure.
HostContext* CreateContext(HostWindow* window);
// Makes the context current on the window; a null window detaches it. False on failure.
bool MakeCurrent(HostWindow* window, HostContext* context);
void DeleteContext(HostContext* context);
// Entry point of the current context's driver, looked up by name; null when missing.
void* GlProcAddress(const char* name);
void SwapBuffers(HostWindow* window);

// Title as an 8-bit text (Latin-1 unless it is valid UTF-8 already).
void SetWindowTitle(HostWindow* window, const char* title);
std::string WindowTitle(HostWindow* window);
// Client size, and the window's position on the screen.
void SetWindowSize(HostWindow* window, int32_t width, int32_t height);
void WindowSize(HostWindow* window, int32_t* width, int32_t* height);
void WindowPosition(HostWindow* window, int32_t* x, int32_t* y);
// The usable area (without panels) of the display that holds the window.
void WorkArea(HostWindow* window, int32_t* x, int32_t* y, int32_t* width, int32_t* height);
void PlaceWindow(HostWindow* window, int32_t x, int32_t y);
void ShowWindow(HostWindow* window);
void HideWindow(HostWindow* window);
void RaiseWindow(HostWindow* window);
// Whether the program has shown the window (and not hidden it since); a window the player
// has minimised or put behind another tab still counts as shown.
bool WindowShown(HostWindow* window);
// The window system's id of the window (the X11 window, the Windows HWND), for outside
// tools; 0 when the host has none.
uint64_t WindowSystemId(HostWindow* window);

// Bits per pixel of the desktop display mode.
int32_t DesktopDepth();
// Switches the window to an exclusive display mode of exactly width x height (and depth
// when depth > 0). False when the display has no such mode.
bool EnterDisplayMode(HostWindow* window, int32_t width, int32_t height, int32_t depth);
// Back to the desktop's mode and a normal window.
void LeaveDisplayMode(HostWindow* window);

// --- Events -----------------------------------------------------------------------------

// What the frame's window procedure cares about; everything else is Other.
enum class HostEventKind { Other, FocusGained, FocusLost, CloseRequested };

// Reads the host's queue into the pending list.
void PumpEvents();
// Whether an event is waiting (it stays waiting).
bool EventPending();
// Takes the next waiting event; false when there is none. Every event taken is first
// handed to the listeners (the input subsystem reads keys, wheel and text this way).
bool TakeEvent(HostEventKind* kind);
// A listener receives each event taken, as the host's own event record.
using EventListener = void (*)(const void* hostEvent);
void AddEventListener(EventListener listener);

// An 8-bit text of the runtime as UTF-8 for the host: kept when it is valid UTF-8
// already, else read as Latin-1.
std::string HostText(const char* text);

// --- Dialogs ----------------------------------------------------------------------------

// A warning box with one OK button; blocks until it is closed. False when no box could be
// shown, with the host's reason in why.
bool ShowWarningBox(const char* title, const char* text, std::string& why);
// The host's open- or save-file dialog (the system's own; on X11 zenity or kdialog when
// installed). The filter is description/pattern pairs ("*.bmp;*.png"). Empty when
// cancelled or when there is no dialog.
std::string FileDialog(bool open, const std::vector<std::pair<std::string, std::string>>& filter,
                       const std::string& folder);

}  // namespace qrv::platform

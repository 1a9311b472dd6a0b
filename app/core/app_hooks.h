#pragma once
// Where the demo core and its host meet. The host (the desktop shell, the web page) knows nothing of
// effects: it calls the core's hooks in their place in the start-up sequence and in every frame, and
// skips empty ones. The core knows no platform: what it needs from one comes in as THostServices.

#include <functional>
#include <string>

namespace lumidor {

/// The main window's sizes for the frame being drawn, in pixels.
struct TFrameView {
    int ClientWidth = 0;  ///< drawing surface width (viewport width)
    int ClientHeight = 0; ///< drawing surface height (viewport height)
    int OuterWidth = 0;   ///< window width with its frame; equals ClientWidth when borderless
};

/// The keys the core acts on, whatever the platform calls them.
enum class TAppKey {
    Space,      ///< pauses or runs the effect
    RightArrow, ///< runs the effect one step
    Home,       ///< returns the camera to the classic view
};

/// The hooks; each may be left empty.
struct TAppHooks {
    /// Last start-up step, with the context current and the GL table filled. Throw a std::exception to
    /// report a failure: its text is shown, the rest of start-up is skipped and the program goes on.
    std::function<void()> EffectsStartup;
    /// Every frame after the clear and the camera (the translation (0, 0, -5) unless the view was turned
    /// or zoomed), before the UI; FrameTime holds this frame's seconds. Whatever GL state it leaves carries
    /// into the next frame.
    std::function<void(const TFrameView&)> EffectPass;
    /// Every frame inside a Dear ImGui frame, after the effect pass: menus and windows go here.
    std::function<void(const TFrameView&)> Ui;
    /// A file dropped on the window, between frames with the context current.
    std::function<void(const std::string& file)> FileDropped;
    /// A key pressed on the drawing surface, between frames; the host leaves out keys its UI takes
    /// (a focused window, a text field), and auto-repeats of Space.
    std::function<void(TAppKey key)> KeyPressed;
    /// Every frame after the buffer swap, with the milliseconds from the frame's timer tick to then.
    std::function<void(double frameMs)> FrameDone;
    /// Once when the program ends, with the context still current.
    std::function<void()> Shutdown;
    /// After the UI of a frame: true once after the user asked to end the program (the menu's "Exit");
    /// the host then ends its frames after this one, as closing its window does.
    std::function<bool()> TakeCloseRequest;
    /// After a frame: true once when the frame did work that is not the effect's time (a seek, a
    /// prewarm, a reload, a resume from pause); the host then starts its frame clock again, so the next
    /// frame's time does not count that work.
    std::function<bool()> TakeClockRestart;
    /// What the caption adds after the frame rate (" - " and the text): the effect's name, and such as
    /// "Seeking 12.5 s of 60 s" while timeline work goes on; empty: the caption is the frame rate alone.
    std::function<std::string()> CaptionStatus;
};

/// What the host brings to the core besides the GL table and the message handler.
struct THostServices {
    /// Milliseconds on the host's monotonic high-resolution clock (any origin), for the statistics'
    /// timings; std::chrono's steady clock when empty.
    std::function<double()> ClockMs;
};

} // namespace lumidor

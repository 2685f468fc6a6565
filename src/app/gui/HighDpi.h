// The DPI-awareness decision taken before the application object exists, and what it means for
// Qt's high-DPI scaling.
//
// The decision rule (ShouldBeDpiAware) needs the primary screen's size in device pixels and its
// effective DPI. Qt only knows the screens once an application object is connected to the
// display, and its scaling mode can only be chosen before that object is created, so the screen
// is read by a short-lived probe application that is gone before the real one is built.
//
// Mapping:
//   DPI-aware    the window is drawn one pixel per device pixel: Qt's high-DPI scaling is off
//                (QT_ENABLE_HIGHDPI_SCALING=0), so a 1300 x 788 window stays 1300 x 788 device
//                pixels on a small or very dense screen.
//   DPI-unaware  the desktop's own scale applies, fractions included (rounding policy
//                PassThrough): the window grows with the scale like a scaled bitmap, but sharp.
// A scaling choice the user made in the environment (QT_ENABLE_HIGHDPI_SCALING, QT_SCALE_FACTOR,
// QT_SCREEN_SCALE_FACTORS) is left as it is.
#pragma once

namespace cursorial {

struct ScreenFacts {
    bool found = false;     // a primary screen was there to be read
    int width = 0;          // device pixels
    int height = 0;         // device pixels
    int effectiveDpi = 96;  // the desktop's scale as dots per inch (96 = 100 %)
};

// Reads the primary screen through a probe application built from a copy of the arguments.
// Without a screen the facts say so (found false, 96 DPI).
ScreenFacts ProbePrimaryScreen(int argc, char** argv);

enum class HighDpiMode {
    kUnscaled,  // DPI-aware
    kScaled,    // DPI-unaware
};

constexpr HighDpiMode HighDpiModeFor(bool dpiAware) {
    return dpiAware ? HighDpiMode::kUnscaled : HighDpiMode::kScaled;
}

// Decides from the facts (a missing screen counts as DPI-unaware).
HighDpiMode DecideHighDpiMode(const ScreenFacts& screen);

// Sets the mode up for the application object that is about to be created. Call it before
// that object exists; call ForgetHighDpiEnvironment() once it does.
void ApplyHighDpiMode(HighDpiMode mode);
// Takes back what ApplyHighDpiMode put into the environment, so programs started from here (the
// browser, the settings tool) do not inherit our scaling choice.
void ForgetHighDpiEnvironment();

}  // namespace cursorial

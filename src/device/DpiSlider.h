// The performance page's DPI slider scale and the normalisation of a typed DPI, per sensor.
// The slider's scale is not the wire code: it follows the code scale for most sensors but has
// its own steps around the sensor's change of resolution.
#pragma once

namespace cursorial {

// Slider position for DPI d (integer divisions truncating toward zero).
int SliderPositionFromDpi(int sensor, int dpi);

// DPI for the value the slider reports (its position plus its minimum), capped at the sensor's
// slider maximum (24000 for sensor 17, 32000 for sensor 150, ...).
int DpiFromSliderValue(int sensor, int value);

// A DPI typed into the stage edit (0 when the text is not a number) brought onto the sensor's
// grid and into its range: for example multiples of 50 within 50..24000 for sensor 17.
int NormaliseTypedDpi(int sensor, int typed);

}  // namespace cursorial

// Offscreen pictures of windows and controls, for tests, documentation and screenshots.
#pragma once

#include <QImage>

#include <filesystem>

namespace DUI {

class MWindow;
class MControl;

// Renders the window (hidden or shown) or the control with its visible children into an image
// of its size times `scale` (device pixels; the image carries `scale` as its pixel ratio, so
// vector skins and text come out sharp). A null image when there is nothing to render.
QImage RenderToImage(const MWindow& window, double scale = 1.0);
QImage RenderToImage(const MControl& control, double scale = 1.0);

// The same written as a PNG file. False when there is nothing to render or the file cannot be
// written.
bool RenderToPng(const MWindow& window, const std::filesystem::path& path, double scale = 1.0);
bool RenderToPng(const MControl& control, const std::filesystem::path& path, double scale = 1.0);

}  // namespace DUI

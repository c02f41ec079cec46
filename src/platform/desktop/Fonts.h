#pragma once

#include <QFont>

namespace velmor {

// Registers the shipped Lora faces with the application once; a missing or unreadable face is
// logged and an italic serif of the system stands in.
void loadBundledFonts();

// "Lora-Regular" at `pixelSize` device-independent pixels (the interface font of the window).
QFont loraRegular(int pixelSize);

// "Lora-Italic" at `pixelSize` device-independent pixels (the font of prompts and attributions).
QFont loraItalic(int pixelSize);

} // namespace velmor

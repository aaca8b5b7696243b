// Text for the skinned-window module's drawing: the module composes frames
// itself, but glyphs come from the framework's text rasteriser, which a
// backend with a font engine registers (framework/text_rasteriser.h; the
// Qt backend does, over QPainter). The module uses it under its own names.
#pragma once

#include "framework/text_rasteriser.h"

namespace skin {

using TextStyle = fw::TextStyle;
using TextRun = fw::TextRun;
using TextRasteriser = fw::TextRasteriser;
using fw::CurrentTextRasteriser;
using fw::SetTextRasteriser;

}  // namespace skin

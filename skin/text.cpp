#include "skin/text.h"

namespace skin {

namespace {
TextRasteriser* g_rasteriser = nullptr;
}

void SetTextRasteriser(TextRasteriser* rasteriser) {
  g_rasteriser = rasteriser;
}

TextRasteriser* CurrentTextRasteriser() {
  return g_rasteriser;
}

}  // namespace skin

#include "framework/text_rasteriser.h"

namespace fw {

namespace {
TextRasteriser* g_rasteriser = nullptr;
}

void SetTextRasteriser(TextRasteriser* rasteriser) {
  g_rasteriser = rasteriser;
}

TextRasteriser* CurrentTextRasteriser() {
  return g_rasteriser;
}

}  // namespace fw

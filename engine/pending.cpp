#include "engine/pending.h"

void RenderDescriptionSp() {}
void RenderDescriptionPt() {}
void LoadHeaderFieldsSp() {}
void LoadHeaderFieldsPt() {}
void LoadMasteryLevels() {}

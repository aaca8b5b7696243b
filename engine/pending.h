// Steps of the read that are not built yet: the description of the shown
// level and the loaders of the header fields and the mastery levels. Until
// they are, each does nothing: no grid row is appended, no control changes,
// and in particular none of them holds the skill ("释放数据").
#pragma once

void RenderDescriptionSp();
void RenderDescriptionPt();
void LoadHeaderFieldsSp();
void LoadHeaderFieldsPt();
void LoadMasteryLevels();

#include "app/feedback.h"

#include "app/pictures.h"
#include "platform/gbk.h"

namespace app {

std::span<const std::uint8_t> SaveDoneSound() {
  return PromptSound();
}

void ShowWriteDone(fw::Ref<fw::Button> button, std::string_view restCaptionUtf8) {
  button->Disable();
  button->SetText(platform::Gbk("√√√"));
  fw::PlaySound(SaveDoneSound());
  fw::DelayHoldingInput(1000);
  button->SetText(platform::Gbk(restCaptionUtf8));
  button->Enable();
}

}  // namespace app

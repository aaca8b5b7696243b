#include "app/pictures.h"

#include <string_view>

#include "resources/media.h"

namespace app {

namespace {

fw::Image Picture(std::string_view fileName) {
  return fw::Image{fileName, EmbeddedPicture(fileName)};
}

// The pictures "<stem>_normal.jpg", "_hot", "_pressed" and, when there is
// one, "_disabled".
fw::ImageSet ButtonPictures(std::string_view normal, std::string_view hot, std::string_view pressed,
                            std::string_view disabled = {}) {
  fw::ImageSet set;
  set.normal = Picture(normal);
  set.hot = Picture(hot);
  set.pressed = Picture(pressed);
  if (!disabled.empty()) set.disabled = Picture(disabled);
  return set;
}

}  // namespace

fw::ImageSet MinimizeButtonImages() {
  return ButtonPictures("minimise_normal.jpg", "minimise_hot.jpg", "minimise_pressed.jpg",
                        "minimise_disabled.jpg");
}

fw::ImageSet CloseButtonImages() {
  return ButtonPictures("close_normal.jpg", "close_hot.jpg", "close_pressed.jpg");
}

fw::ImageSet LoadButtonImages() {
  return ButtonPictures("load_normal.jpg", "load_hot.jpg", "load_pressed.jpg", "load_disabled.jpg");
}

fw::ImageSet ParamWindowButtonImages(bool windowShown) {
  if (windowShown) {
    return ButtonPictures("param_shown_normal.jpg", "param_shown_hot.jpg",
                          "param_shown_pressed.jpg", "param_shown_disabled.jpg");
  }
  return ButtonPictures("param_hidden_normal.jpg", "param_hidden_hot.jpg",
                        "param_hidden_pressed.jpg", "param_hidden_disabled.jpg");
}

fw::ImageSet MasteryWindowButtonImages(bool windowShown) {
  if (windowShown) {
    return ButtonPictures("mastery_shown_normal.jpg", "mastery_shown_hot.jpg",
                          "mastery_shown_pressed.jpg", "mastery_shown_disabled.jpg");
  }
  return ButtonPictures("mastery_hidden_normal.jpg", "mastery_hidden_hot.jpg",
                        "mastery_hidden_pressed.jpg", "mastery_hidden_disabled.jpg");
}

fw::ImageSet PromptOkButtonImages() {
  return ButtonPictures("prompt_ok_normal.jpg", "prompt_ok_hot.jpg", "prompt_ok_pressed.jpg",
                        "prompt_ok_disabled.jpg");
}

fw::ImageSet PromptCancelButtonImages() {
  return ButtonPictures("prompt_cancel_normal.jpg", "prompt_cancel_hot.jpg",
                        "prompt_cancel_pressed.jpg", "prompt_cancel_disabled.jpg");
}

fw::Image PromptDecorationImage() {
  return Picture("prompt_decoration.png");
}

std::span<const std::uint8_t> PromptSound() {
  return EmbeddedPromptSound();
}

}  // namespace app

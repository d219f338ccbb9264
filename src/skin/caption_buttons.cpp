#include "skin/caption_buttons.h"

namespace skin {

const CaptionButton* FindCaptionButton(UINT id) {
  for (const CaptionButton& button : kCaptionButtons) {
    if (button.id == id) return &button;
  }
  return nullptr;
}

}  // namespace skin

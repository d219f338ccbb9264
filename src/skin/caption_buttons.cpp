#include "skin/caption_buttons.h"

namespace skin {

namespace {

constexpr int kButtonWidth = 20;
constexpr int kButtonTop = 8;
constexpr int kButtonBottom = 30;
constexpr int kCreationButtonRightInset = 15;
constexpr int kCreationButtonTop = 5;
constexpr int kCreationButtonBottom = 25;

}  // namespace

const CaptionButton* FindCaptionButton(UINT id) {
  for (const CaptionButton& button : kCaptionButtons) {
    if (button.id == id) return &button;
  }
  return nullptr;
}

CRect CreationButtonRect(int windowWidth) {
  const int right = windowWidth - kCreationButtonRightInset;
  return CRect(right - kButtonWidth, kCreationButtonTop, right, kCreationButtonBottom);
}

CRect PlacedButtonRect(const CaptionButton& button, int windowWidth) {
  const int right = windowWidth - button.rightInset;
  return CRect(right - kButtonWidth, kButtonTop, right, kButtonBottom);
}

}  // namespace skin

#pragma once

#include <vector>

#include "platform/translatable.h"
#include "platform/win_types.h"

namespace platform {

// A button a window draws on its own caption, as assistive technologies see it.
struct AccessibleCaptionButton {
  UINT id;
  TranslatableText name;
  // In window coordinates, where it is painted.
  RECT rect;
  bool enabled;
};

// Implemented by a window that draws its own caption: the buttons on it, for
// assistive technologies, which may also press them.
class IAccessibleCaption {
 public:
  virtual std::vector<AccessibleCaptionButton> AccessibleCaptionButtons() const = 0;
  // Does what a click on the button does. Called from the event loop, never from
  // inside an assistive technology's request: it may close the window.
  virtual void PressCaptionButton(UINT id) = 0;

 protected:
  ~IAccessibleCaption() = default;
};

}  // namespace platform
